#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

// Lets the first few traces of a kind through in each second and counts the rest, so that a peer that
// repeats a fault cannot fill the log. A second begins with the first trace after the last one ended; what
// it held back is handed back with the trace that begins the next one, or at the end. Not locked: one
// thread uses it.
class cTraceRateLimit
{
public:
    using tClock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr size_t kTracesPerSecond = 10;

    struct sTurn
    {
        // Whether this trace is written.
        bool mTrace = false;
        // How many the second that has just ended held back, to be told before this trace; 0 for none.
        size_t mHeldBack = 0;
    };

    explicit cTraceRateLimit(tClock clock = &std::chrono::steady_clock::now);

    // For each trace of the kind, as it comes.
    sTurn Next();
    // How many were held back since they were last handed back; counting starts again from 0.
    size_t TakeHeldBack();

private:
    const tClock mClock;
    std::chrono::steady_clock::time_point mSecondStart;
    size_t mTraced = 0;
    size_t mHeldBack = 0;
};
