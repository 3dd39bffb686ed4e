// Statistics over a sliding window of timed samples. Ticks are unsigned 32-bit milliseconds; a
// sample older than the newest by the window or more is dropped, and a tick count that goes
// backwards starts the statistic afresh.
#pragma once

#include "platform/win/Ticks.h"

#include <cstdint>
#include <deque>

class StatsCalc {
public:
    struct Sample {
        uint32_t ticks = 0;
        double value = 0.0;
    };

    virtual ~StatsCalc() = default;
    virtual double GetResult() const = 0;
    virtual void AddSample(uint32_t ticks, double value);
    virtual void Reset();
    virtual void Trim() = 0;

    // Newest first.
    const std::deque<Sample>& Samples() const { return samples_; }
    uint32_t TickSum() const { return tickSum_; }
    double ValueSum() const { return valueSum_; }

protected:
    StatsCalc() = default;
    void DropOldest();
    // Ticks of the newest minus ticks of the oldest sample, wrapping; 0 when empty.
    uint32_t Span() const;

private:
    std::deque<Sample> samples_;
    uint32_t tickSum_ = 0;
    double valueSum_ = 0.0;
};

// The mean value of the samples in the window.
class StatsRollingAverage : public StatsCalc {
public:
    explicit StatsRollingAverage(uint32_t window)
        : window_(window)
    {
    }
    double GetResult() const override;
    void Trim() override;
    uint32_t Window() const { return window_; }

private:
    uint32_t window_;
};

// The busy share, in percent, of the time the samples cover, when the values are busy times in
// ticks. Samples taken "now" read the tick source.
class StatsSysUsage : public StatsRollingAverage {
public:
    explicit StatsSysUsage(uint32_t window, win::TickSource ticks = win::GetTickCount);
    double GetResult() const override;
    virtual void AddSampleNow(double value);

private:
    win::TickSource ticks_;
};
