#include "records/Stopwatch.h"

#include <utility>

Stopwatch::Stopwatch(win::TickSource ticks)
    : ticks_(std::move(ticks))
    , start_(ticks_())
{
}

void Stopwatch::Stop()
{
    stopped_ = ticks_() - start_;
}

uint32_t Stopwatch::Elapsed() const
{
    return stopped_ != 0 ? stopped_ : ticks_() - start_;
}
