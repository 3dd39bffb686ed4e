#include "platform/win/ThreadHandle.h"

#include <atomic>

namespace win {

// Shared by the handle and the thread, so that either may go first.
struct ThreadHandle::Shared {
    std::atomic<bool> finished { false };
    std::atomic<DWORD> exitCode { STILL_ACTIVE };
    std::atomic<bool> terminated { false };
    std::atomic<DWORD> terminatedCode { 0 };
};

ThreadHandle ThreadHandle::Invalid()
{
    ThreadHandle handle;
    handle.state_ = State::invalid;
    return handle;
}

ThreadHandle ThreadHandle::Start(std::function<DWORD()> body)
{
    ThreadHandle handle;
    handle.shared_ = std::make_shared<Shared>();
    handle.thread_ = std::thread([shared = handle.shared_, body = std::move(body)] {
        shared->exitCode = body();
        shared->finished = true;
    });
    handle.state_ = State::valid;
    return handle;
}

ThreadHandle::ThreadHandle(ThreadHandle&& other) noexcept
    : state_(other.state_)
    , shared_(std::move(other.shared_))
    , thread_(std::move(other.thread_))
{
    other.state_ = State::null;
}

ThreadHandle& ThreadHandle::operator=(ThreadHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        state_ = other.state_;
        shared_ = std::move(other.shared_);
        thread_ = std::move(other.thread_);
        other.state_ = State::null;
    }
    return *this;
}

ThreadHandle::~ThreadHandle()
{
    Close();
}

bool ThreadHandle::GetExitCode(DWORD& code) const
{
    if (!IsValid())
        return false;
    if (shared_->terminated)
        code = shared_->terminatedCode;
    else if (shared_->finished)
        code = shared_->exitCode;
    else
        code = STILL_ACTIVE;
    return true;
}

bool ThreadHandle::Terminate(DWORD exitCode)
{
    if (!IsValid())
        return false;
    if (!shared_->finished && !shared_->terminated) {
        shared_->terminatedCode = exitCode;
        shared_->terminated = true;
    }
    return true;
}

bool ThreadHandle::Close()
{
    if (!IsValid())
        return false;
    if (thread_.joinable()) {
        if (shared_->finished)
            thread_.join();
        else
            thread_.detach();
    }
    shared_.reset();
    state_ = State::null;
    return true;
}

bool ThreadHandle::Join()
{
    if (!IsValid())
        return false;
    if (thread_.joinable())
        thread_.join();
    return true;
}

} // namespace win
