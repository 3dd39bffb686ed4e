// The one lock of the process that keeps two pictures from being encoded at once. Acquiring waits
// until it is free and takes it in one atomic step. Hold it through a Scoped guard, so that it is
// given back on every path, a failed encoding included.
#pragma once

class EncoderLock {
public:
    // Waits (without limit) until the lock is free, then takes it.
    static void Acquire();
    // Takes the lock when it is free; false, without waiting, when it is held.
    static bool TryAcquire();
    // Gives the lock back and wakes one waiter.
    static void Release();

    // Holds the lock for its own lifetime.
    class Scoped {
    public:
        Scoped() { Acquire(); }
        ~Scoped() { Release(); }
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;
    };
};
