#include "records/DatabaseComms.h"

#include "records/CommsTexts.h"
#include "records/EmptyText.h"

#include <utility>

DatabaseComms& DatabaseComms::GetInstance()
{
    static DatabaseComms instance;
    return instance;
}

DatabaseComms::DatabaseComms(win::TickSource ticks, win::DWORD lockTimeoutMs)
    : ticks_(ticks)
    , lockTimeoutMs_(lockTimeoutMs)
    , usage_(CommsUsageWindowTicks, std::move(ticks))
{
}

DatabaseComms::~DatabaseComms()
{
    StopThread();
}

std::string DatabaseComms::DescribeCode(int code)
{
    const bool known = code >= 0 && static_cast<std::size_t>(code) < CommsResultCount;
    return IntToText(code) + " : "
        + (known ? CommsResultText[static_cast<std::size_t>(code)] : std::string());
}

template <typename Read>
auto DatabaseComms::ReadQueue(ComputerId id, Read read) -> decltype(read(CommsQueue {}))
{
    win::SingleLock lock(lock_);
    if (!lock.Lock(lockTimeoutMs_))
        return {};
    const auto found = computerQueues_.find(id);
    if (found == computerQueues_.end())
        return {};
    return read(found->second);
}

uint8_t DatabaseComms::GetQueueFlag(ComputerId id)
{
    return ReadQueue(id, [](const CommsQueue& queue) { return queue.flag; });
}

int DatabaseComms::GetQueueLength(ComputerId id)
{
    return ReadQueue(id, [](const CommsQueue& queue) { return static_cast<int>(queue.entries.size()); });
}

std::string DatabaseComms::GetComputerText(ComputerId id) const
{
    const auto found = computerTexts_.find(id);
    return found == computerTexts_.end() ? EmptyText() : found->second;
}

void DatabaseComms::ListConnected(std::vector<ComputerId>& ids) const
{
    for (const auto& [id, connection] : connections_)
        if (connection && connection->IsConnected())
            ids.push_back(id);
}

bool DatabaseComms::IsConnected(ComputerId id) const
{
    const auto found = connections_.find(id);
    return found != connections_.end() && found->second && found->second->IsConnected();
}

double DatabaseComms::GetTotalUsage() const
{
    double total = 0.0;
    for (const auto& [id, connection] : connections_)
        if (connection)
            total += connection->GetUsage();
    return total;
}

double DatabaseComms::GetTotalCurrentUsage()
{
    double total = 0.0;
    for (const auto& [id, connection] : connections_)
        if (connection)
            total += connection->GetCurrentUsage();
    return total;
}

void DatabaseComms::StopThread()
{
    win::DWORD exitCode = 0;
    if (!worker_.IsNull() && worker_.GetExitCode(exitCode) && exitCode == win::STILL_ACTIVE) {
        stopFlag_ = 1;
        const win::DWORD start = ticks_();
        while (stopFlag_ != 0 && ticks_() - start < StopWaitTicks)
            win::Sleep(1);
    }
    // A worker that has not stopped is given up on (its exit code becomes 1), but it still uses
    // this manager's flag and queues: it is waited for, so that nothing goes before it ends.
    if (stopFlag_ != 0) {
        worker_.Terminate(1);
        worker_.Join();
    }
    if (worker_.IsValid()) {
        worker_.Close();
        worker_ = win::ThreadHandle();
    }
}

std::stringstream DatabaseComms::NewDispatchStream()
{
    return std::stringstream(std::ios::in | std::ios::out | std::ios::binary);
}

void DatabaseComms::SetConnection(ComputerId id, std::shared_ptr<CommsConnection> connection)
{
    connections_[id] = std::move(connection);
}

void DatabaseComms::SetComputerQueue(ComputerId id, CommsQueue queue)
{
    win::SingleLock lock(lock_, true);
    computerQueues_[id] = std::move(queue);
}

void DatabaseComms::SetComputerText(ComputerId id, std::string text)
{
    computerTexts_[id] = std::move(text);
}
