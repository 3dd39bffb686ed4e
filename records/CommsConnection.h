// The exchange's connection to one remote computer: two handles and its usage statistics. The
// connection is connected when both handles are valid.
#pragma once

#include "platform/win/Handle.h"
#include "platform/win/Ticks.h"
#include "records/Stats.h"

#include <cstdint>
#include <deque>
#include <string>

// The time the usage statistics of the exchange cover: ten minutes of millisecond ticks.
inline constexpr uint32_t CommsUsageWindowTicks = 600000;

class CommsConnection {
public:
    explicit CommsConnection(win::TickSource ticks = win::GetTickCount);

    bool IsConnected() const;
    double GetUsage() const { return usage_.GetResult(); }
    // The usage after a sample of 0 at the current tick.
    double GetCurrentUsage();

    void SetHandles(win::HANDLE first, win::HANDLE second);
    StatsSysUsage& Usage() { return usage_; }

private:
    win::HANDLE first_ = win::NULL_HANDLE;
    win::HANDLE second_ = win::NULL_HANDLE;
    StatsSysUsage usage_;
};

// One remote computer's queue of record messages, with a flag byte.
struct CommsQueue {
    uint8_t flag = 0;
    std::deque<std::string> entries;
};
