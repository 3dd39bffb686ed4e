// Measures the largest single request made through operator new while a probe is alive, so that
// a test can show that a length taken from input never drives an allocation ahead of the bytes
// that are actually there. The replacement operator new lives in AllocationProbeNew.h, which one
// source file of each test program includes.
#pragma once

#include <cstddef>

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // The largest request since the probe was made.
    std::size_t Largest() const;
};
