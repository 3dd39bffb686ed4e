#include "records/Stats.h"

#include <utility>

void StatsCalc::AddSample(uint32_t ticks, double value)
{
    if (!samples_.empty() && ticks < samples_.front().ticks)
        Reset();
    samples_.push_front({ ticks, value });
    tickSum_ += ticks;
    valueSum_ += value;
    Trim();
}

void StatsCalc::Reset()
{
    samples_.clear();
    tickSum_ = 0;
    valueSum_ = 0.0;
}

void StatsCalc::DropOldest()
{
    const Sample& oldest = samples_.back();
    tickSum_ -= oldest.ticks;
    valueSum_ -= oldest.value;
    samples_.pop_back();
}

uint32_t StatsCalc::Span() const
{
    return samples_.empty() ? 0 : samples_.front().ticks - samples_.back().ticks;
}

double StatsRollingAverage::GetResult() const
{
    return Samples().empty() ? 0.0 : ValueSum() / static_cast<double>(Samples().size());
}

void StatsRollingAverage::Trim()
{
    while (!Samples().empty() && Span() >= window_)
        DropOldest();
}

StatsSysUsage::StatsSysUsage(uint32_t window, win::TickSource ticks)
    : StatsRollingAverage(window)
    , ticks_(std::move(ticks))
{
}

double StatsSysUsage::GetResult() const
{
    const uint32_t span = Span();
    return span == 0 ? 0.0 : ValueSum() / span * 100.0;
}

void StatsSysUsage::AddSampleNow(double value)
{
    AddSample(ticks_(), value);
}
