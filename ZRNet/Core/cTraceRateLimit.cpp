#include "cTraceRateLimit.h"

#include <utility>

cTraceRateLimit::cTraceRateLimit(tClock clock) : mClock(std::move(clock))
{
}

cTraceRateLimit::sTurn cTraceRateLimit::Next()
{
    const std::chrono::steady_clock::time_point now = mClock();
    sTurn turn;
    if (mTraced == 0 || now - mSecondStart >= std::chrono::seconds(1))
    {
        turn.mHeldBack = TakeHeldBack();
        mSecondStart = now;
        mTraced = 0;
    }
    turn.mTrace = mTraced < kTracesPerSecond;
    if (turn.mTrace)
        ++mTraced;
    else
        ++mHeldBack;
    return turn;
}

size_t cTraceRateLimit::TakeHeldBack()
{
    return std::exchange(mHeldBack, 0);
}
