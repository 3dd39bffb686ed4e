#include "records/DatabaseComms.h"
#include "records/CommsTexts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

TEST(DatabaseComms, OneInstance)
{
    DatabaseComms& first = DatabaseComms::GetInstance();
    DatabaseComms& second = DatabaseComms::GetInstance();
    EXPECT_EQ(&first, &second);
}

TEST(DatabaseComms, DescribeCode)
{
    struct Case {
        int code;
        std::string text;
    };
    for (const auto& c : std::vector<Case> {
             { 0, "0 : " },
             { 7, "7 : Database Comms: contention timeout" },
             { 14, "14 : Database Comms: recovery queue full" },
             { 15, "15 : " },
             { -1, "-1 : " },
             { 1000000, "1000000 : " },
         })
        EXPECT_EQ(DatabaseComms::DescribeCode(c.code), c.text);
    EXPECT_EQ(SpecialCommandText[16], "Command for or from Kestrune");
}

// Ten minutes of millisecond ticks, for the manager and for each connection.
TEST(DatabaseComms, UsageCoversTenMinutes)
{
    DatabaseComms comms;
    EXPECT_EQ(comms.Usage().Window(), 600000u);
    CommsConnection connection;
    EXPECT_EQ(connection.Usage().Window(), 600000u);
}

TEST(DatabaseComms, IntToText)
{
    EXPECT_EQ(IntToText(42, 5), "00042");
    EXPECT_EQ(IntToText(42, 0), "42");
    EXPECT_EQ(IntToText(-5, 3), "0-5");
}

TEST(DatabaseComms, QueueLookups)
{
    DatabaseComms comms;
    EXPECT_EQ(comms.GetQueueSpace(3), 500);
    EXPECT_EQ(comms.GetQueueFlag(3), 0);

    CommsQueue queue;
    queue.flag = 9;
    queue.entries = { "a", "b", "c" };
    comms.SetComputerQueue(3, queue);
    EXPECT_EQ(comms.GetQueueLength(3), 3);
    EXPECT_EQ(comms.GetQueueSpace(3), 497);
    EXPECT_EQ(comms.GetQueueFlag(3), 9);
    EXPECT_EQ(comms.GetQueueSpace(-3), 500);

    comms.SetComputerText(3, "Studio PC");
    EXPECT_EQ(comms.GetComputerText(3), "Studio PC");
    EXPECT_EQ(comms.GetComputerText(4), "");
}

// While another thread holds the lock, a lookup gives up after its time limit and answers 0.
TEST(DatabaseComms, LookupTimesOutWhileLockIsHeld)
{
    DatabaseComms comms(win::GetTickCount, 20);
    CommsQueue queue;
    queue.flag = 1;
    queue.entries = { "x" };
    comms.SetComputerQueue(1, queue);

    std::mutex m;
    std::condition_variable cv;
    bool locked = false, release = false;
    std::thread holder([&] {
        win::SingleLock lock(comms.QueueLock(), true);
        std::unique_lock<std::mutex> lk(m);
        locked = true;
        cv.notify_all();
        cv.wait(lk, [&] { return release; });
    });
    {
        std::unique_lock<std::mutex> lk(m);
        cv.wait(lk, [&] { return locked; });
    }
    EXPECT_EQ(comms.GetQueueLength(1), 0);
    EXPECT_EQ(comms.GetQueueFlag(1), 0);
    {
        std::lock_guard<std::mutex> lk(m);
        release = true;
    }
    cv.notify_all();
    holder.join();
    EXPECT_EQ(comms.GetQueueLength(1), 1) << "the lock is free again";
}

TEST(DatabaseComms, ConnectionsAndUsage)
{
    uint32_t now = 1000;
    const win::TickSource ticks = [&] { return now; };
    DatabaseComms comms(ticks);
    EXPECT_EQ(comms.GetTotalUsage(), 0.0);

    auto connected = std::make_shared<CommsConnection>(ticks);
    connected->SetHandles(10, 11);
    auto halfOpen = std::make_shared<CommsConnection>(ticks);
    halfOpen->SetHandles(10, win::INVALID_HANDLE_VALUE);
    auto another = std::make_shared<CommsConnection>(ticks);
    another->SetHandles(12, 13);
    comms.SetConnection(9, another);
    comms.SetConnection(2, connected);
    comms.SetConnection(5, halfOpen);

    std::vector<DatabaseComms::ComputerId> ids = { -1 };
    comms.ListConnected(ids);
    EXPECT_EQ(ids, (std::vector<DatabaseComms::ComputerId> { -1, 2, 9 }));
    EXPECT_TRUE(comms.IsConnected(2));
    EXPECT_FALSE(comms.IsConnected(5));
    EXPECT_FALSE(comms.IsConnected(6));

    connected->Usage().AddSample(0, 0.0);
    connected->Usage().AddSample(1000, 100.0);
    another->Usage().AddSample(0, 0.0);
    another->Usage().AddSample(1000, 500.0);
    EXPECT_DOUBLE_EQ(comms.GetTotalUsage(), 60.0);
    now = 2000; // a sample of 0 at the current tick halves each share
    EXPECT_DOUBLE_EQ(comms.GetTotalCurrentUsage(), 30.0);
}

TEST(DatabaseComms, StopThreadWithoutWorkerChangesNothing)
{
    DatabaseComms comms;
    comms.StopThread();
    EXPECT_TRUE(comms.Worker().IsNull());
    EXPECT_EQ(comms.StopFlag().load(), 0);
}

TEST(DatabaseComms, StopThreadAsksTheWorkerToStop)
{
    DatabaseComms comms;
    comms.SetWorker(win::ThreadHandle::Start([&comms] {
        while (comms.StopFlag() == 0)
            win::Sleep(1);
        comms.StopFlag() = 0; // the worker clears the flag when it stops
        return win::DWORD { 0 };
    }));
    comms.StopThread();
    EXPECT_TRUE(comms.Worker().IsNull());
    EXPECT_EQ(comms.StopFlag().load(), 0);
}

// A worker that ignores the flag is given up on after the wait (ticks injected, so no real wait),
// but StopThread returns only once the worker has ended: until then it goes on reading the
// manager's flag, and the manager may go as soon as StopThread returns.
TEST(DatabaseComms, StopThreadGivesUpOnAWorkerThatDoesNotStopAndWaitsForIt)
{
    std::atomic<bool> givenUp = false;
    uint32_t now = 0;
    auto comms = std::make_unique<DatabaseComms>([&] {
        now += 2500;
        givenUp = givenUp || now > DatabaseComms::StopWaitTicks;
        return now;
    });
    constexpr int lastingSteps = 20;
    std::atomic<int> stepsAfter = 0;
    auto handle = win::ThreadHandle::Start([&, manager = comms.get()] {
        while (!givenUp)
            win::Sleep(1);
        for (; stepsAfter < lastingSteps; ++stepsAfter) {
            if (manager->StopFlag() == 0)
                return win::DWORD { 2 };
            win::Sleep(1);
        }
        return win::DWORD { 0 };
    });
    win::DWORD code = 0;
    ASSERT_TRUE(handle.GetExitCode(code));
    EXPECT_EQ(code, win::STILL_ACTIVE);
    comms->SetWorker(std::move(handle));
    comms->StopThread();
    EXPECT_TRUE(givenUp);
    EXPECT_EQ(stepsAfter, lastingSteps) << "StopThread returned before the worker ended";
    EXPECT_TRUE(comms->Worker().IsNull());
    EXPECT_EQ(comms->StopFlag().load(), 1) << "nobody cleared it";
    comms.reset();
}

TEST(DatabaseComms, NewDispatchStreamIsEmptyAndBinary)
{
    auto stream = DatabaseComms::NewDispatchStream();
    stream.write("\r\n\0", 3);
    EXPECT_EQ(stream.str(), std::string("\r\n\0", 3));
}

} // namespace
