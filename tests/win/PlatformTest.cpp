#include "platform/win/FileFind.h"
#include "platform/win/LastError.h"
#include "platform/win/Mutex.h"
#include "platform/win/ThreadHandle.h"
#include "platform/win/Ticks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

TEST(LastError, CapturedPerThreadWithSystemText)
{
    win::SetLastError(0);
    errno = ENOENT;
    win::CaptureLastError();
    errno = 0;
    EXPECT_EQ(win::GetLastError(), static_cast<win::DWORD>(ENOENT));
    EXPECT_EQ(win::SystemErrorText(ENOENT), "No such file or directory");

    win::DWORD seenByOther = 1;
    std::thread([&] { seenByOther = win::GetLastError(); }).join();
    EXPECT_EQ(seenByOther, 0u);

    EXPECT_FALSE(win::SystemErrorText(0));
    EXPECT_FALSE(win::SystemErrorText(123456));
    EXPECT_FALSE(win::SystemErrorText(0xFFFFFFFF));
    win::SetLastError(0);
}

TEST(FileFind, WildcardMatch)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    for (const auto& c : std::vector<Case> {
             { "*", "", true },
             { "*", "anything", true },
             { "*.jpg", "a.jpg", true },
             { "*.jpg", "a.jpg.png", false },
             { "a*b*c", "aXbYc", true },
             { "a*b*c", "aXbY", false },
             { "a*bc", "abcbc", true },
             { "?", "", false },
             { "??", "ab", true },
             { "proof-??.jpg", "proof-1.jpg", false },
             { "[ab]", "a", false }, // brackets are plain characters
             { "[ab]", "[ab]", true },
             { "ABC", "abc", false },
         })
        EXPECT_EQ(win::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

TEST(FileFind, MissingPathSetsLastError)
{
    win::SetLastError(0);
    EXPECT_FALSE(win::FindFile("/nonexistent-orvanel/file.txt"));
    EXPECT_EQ(win::GetLastError(), static_cast<win::DWORD>(ENOENT));
    EXPECT_TRUE(win::FindFile("/"));
    EXPECT_FALSE(win::FindFile(""));
}

TEST(Ticks, CountMilliseconds)
{
    const win::DWORD start = win::GetTickCount();
    win::Sleep(15);
    EXPECT_GE(win::GetTickCount() - start, 15u);
}

TEST(Mutex, ReentrantAndTimedAgainstOtherThreads)
{
    win::Mutex mutex;
    {
        win::SingleLock outer(mutex, true);
        win::SingleLock inner(mutex);
        EXPECT_TRUE(inner.Lock(0)) << "the owning thread may take it again";
        EXPECT_TRUE(outer.IsLocked());

        bool otherGotIt = true;
        std::thread([&] {
            win::SingleLock other(mutex);
            otherGotIt = other.Lock(10);
        }).join();
        EXPECT_FALSE(otherGotIt);
    }
    // Both helpers released the mutex on leaving scope.
    bool otherGotIt = false;
    std::thread([&] {
        win::SingleLock other(mutex);
        otherGotIt = other.Lock(10);
        EXPECT_TRUE(other.Unlock());
        EXPECT_FALSE(other.Unlock());
    }).join();
    EXPECT_TRUE(otherGotIt);
}

TEST(ThreadHandle, NullInvalidAndValid)
{
    win::ThreadHandle null;
    win::ThreadHandle invalid = win::ThreadHandle::Invalid();
    win::DWORD code = 5;
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(null.IsValid());
    EXPECT_FALSE(invalid.IsNull());
    EXPECT_FALSE(invalid.IsValid());
    for (win::ThreadHandle* handle : { &null, &invalid }) {
        EXPECT_FALSE(handle->GetExitCode(code));
        EXPECT_FALSE(handle->Terminate(1));
        EXPECT_FALSE(handle->Close());
        EXPECT_FALSE(handle->Join());
    }
    EXPECT_EQ(code, 5u);
}

TEST(ThreadHandle, ExitCodeIsStillActiveUntilTheBodyReturns)
{
    std::atomic<bool> release = false;
    win::ThreadHandle handle = win::ThreadHandle::Start([&] {
        while (!release)
            win::Sleep(1);
        return win::DWORD { 42 };
    });
    win::DWORD code = 0;
    ASSERT_TRUE(handle.GetExitCode(code));
    EXPECT_EQ(code, win::STILL_ACTIVE);
    release = true;
    while (handle.GetExitCode(code) && code == win::STILL_ACTIVE)
        win::Sleep(1);
    EXPECT_EQ(code, 42u);
    EXPECT_TRUE(handle.Close());
    EXPECT_TRUE(handle.IsNull());
}

TEST(ThreadHandle, TerminateFixesTheExitCodeAndLetsGo)
{
    auto release = std::make_shared<std::atomic<bool>>(false);
    win::ThreadHandle handle = win::ThreadHandle::Start([release] {
        while (!*release)
            win::Sleep(1);
        return win::DWORD { 0 };
    });
    EXPECT_TRUE(handle.Terminate(1));
    win::DWORD code = 0;
    ASSERT_TRUE(handle.GetExitCode(code));
    EXPECT_EQ(code, 1u);
    EXPECT_TRUE(handle.Close()) << "closing does not wait for a thread that still runs";
    *release = true;
}

TEST(ThreadHandle, JoinWaitsForATerminatedBody)
{
    std::atomic<int> steps = 0;
    win::ThreadHandle handle = win::ThreadHandle::Start([&] {
        for (; steps < 20; ++steps)
            win::Sleep(1);
        return win::DWORD { 0 };
    });
    EXPECT_TRUE(handle.Terminate(1));
    EXPECT_TRUE(handle.Join());
    EXPECT_EQ(steps, 20);
    win::DWORD code = 0;
    ASSERT_TRUE(handle.GetExitCode(code));
    EXPECT_EQ(code, 1u) << "the forced exit code stays";
    EXPECT_TRUE(handle.Close());
}

} // namespace
