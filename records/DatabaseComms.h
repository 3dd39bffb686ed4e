// The record-exchange manager: one per process. It keeps, per remote computer (a 16-bit id), a
// connection, a queue of record messages and a text, two queues of its own, the handle of a
// worker thread with its stop flag, the usage of the last ten minutes and the mutex that guards
// the computer queues. The exchange between computers itself lies outside this program; record
// readers only make sure the manager exists.
#pragma once

#include "platform/win/Mutex.h"
#include "platform/win/ThreadHandle.h"
#include "platform/win/Ticks.h"
#include "platform/win/Types.h"
#include "records/CommsConnection.h"
#include "records/Stats.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class DatabaseComms {
public:
    using ComputerId = int16_t;

    static constexpr int MaxQueueLength = 500;
    static constexpr win::DWORD LockTimeoutMs = 10000;
    static constexpr win::DWORD StopWaitTicks = 10000;

    // The program's manager, built on the first call and destroyed at exit.
    static DatabaseComms& GetInstance();

    // For tests and for the exchange: a manager of its own, with its own tick source and
    // time limit for the queue lock.
    explicit DatabaseComms(
        win::TickSource ticks = win::GetTickCount, win::DWORD lockTimeoutMs = LockTimeoutMs);
    ~DatabaseComms();
    DatabaseComms(const DatabaseComms&) = delete;
    DatabaseComms& operator=(const DatabaseComms&) = delete;

    // "code : text" for result codes 0 to 14; any other code gives the number, " : " and no text.
    static std::string DescribeCode(int code);

    // Under the lock (waiting at most the time limit): the flag and the length of a computer's
    // queue; 0 for a computer without a queue, or when the lock could not be taken.
    uint8_t GetQueueFlag(ComputerId id);
    int GetQueueLength(ComputerId id);
    int GetQueueSpace(ComputerId id) { return MaxQueueLength - GetQueueLength(id); }
    std::string GetComputerText(ComputerId id) const;

    // Appends the ids of the connected computers in ascending order.
    void ListConnected(std::vector<ComputerId>& ids) const;
    bool IsConnected(ComputerId id) const;
    double GetTotalUsage() const;
    // As GetTotalUsage, after giving each connection a sample of 0 at the current tick.
    double GetTotalCurrentUsage();

    // Asks the worker to stop (it clears the stop flag when it does) and waits up to
    // StopWaitTicks; a worker that does not stop is terminated with exit code 1 (see
    // win::ThreadHandle for what that means here) and then waited for until it ends, since it
    // uses this manager's flag and queues. Then the handle is closed.
    void StopThread();

    // A new, empty in-memory binary stream for a record message.
    static std::stringstream NewDispatchStream();

    // What the exchange fills in.
    void SetConnection(ComputerId id, std::shared_ptr<CommsConnection> connection);
    void SetComputerQueue(ComputerId id, CommsQueue queue);
    void SetComputerText(ComputerId id, std::string text);
    void SetWorker(win::ThreadHandle worker) { worker_ = std::move(worker); }
    const win::ThreadHandle& Worker() const { return worker_; }
    std::atomic<uint8_t>& StopFlag() { return stopFlag_; }
    StatsSysUsage& Usage() { return usage_; }
    // Guards the computer queues.
    win::Mutex& QueueLock() { return lock_; }

private:
    template <typename Read> auto ReadQueue(ComputerId id, Read read) -> decltype(read(CommsQueue {}));

    win::TickSource ticks_;
    win::DWORD lockTimeoutMs_;
    // In this order so that they are released in the reverse order at exit. The two plain queues
    // belong to the exchange and are not read here.
    std::map<ComputerId, std::shared_ptr<CommsConnection>> connections_;
    std::deque<std::string> firstQueue_;
    std::map<ComputerId, CommsQueue> computerQueues_;
    std::map<ComputerId, std::string> computerTexts_;
    win::ThreadHandle worker_;
    std::deque<std::string> secondQueue_;
    std::atomic<uint8_t> stopFlag_ { 0 };
    StatsSysUsage usage_;
    win::Mutex lock_;
};
