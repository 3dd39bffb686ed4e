// The replacement operator new and delete behind AllocationProbe, and the probe itself. Include
// this in exactly one source file of a test program.
#pragma once

#include "win/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> probing { false };
std::atomic<std::size_t> largestRequest { 0 };

void Note(std::size_t size)
{
    if (!probing.load(std::memory_order_relaxed))
        return;
    std::size_t largest = largestRequest.load(std::memory_order_relaxed);
    while (size > largest && !largestRequest.compare_exchange_weak(largest, size)) { }
}
} // namespace

AllocationProbe::AllocationProbe()
{
    largestRequest = 0;
    probing = true;
}

AllocationProbe::~AllocationProbe()
{
    probing = false;
}

std::size_t AllocationProbe::Largest() const
{
    return largestRequest;
}

void* operator new(std::size_t size)
{
    Note(size);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
