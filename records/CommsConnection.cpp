#include "records/CommsConnection.h"

#include <utility>

CommsConnection::CommsConnection(win::TickSource ticks)
    : usage_(CommsUsageWindowTicks, std::move(ticks))
{
}

bool CommsConnection::IsConnected() const
{
    return win::IsValidHandle(first_) && win::IsValidHandle(second_);
}

double CommsConnection::GetCurrentUsage()
{
    usage_.AddSampleNow(0.0);
    return usage_.GetResult();
}

void CommsConnection::SetHandles(win::HANDLE first, win::HANDLE second)
{
    first_ = first;
    second_ = second;
}
