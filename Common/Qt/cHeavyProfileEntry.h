#pragma once

#include <QHash>
#include <QList>
#include <QMutex>

#include <limits>

class QThread;

// One named timing entry. Any thread may start and end it; each thread's end is matched
// with that thread's own start, and a start made while another is open counts as an overlap.
class cHeavyProfileEntry
{
public:
    // False when some thread already has an open start.
    bool Start();
    // Closes the calling thread's open start, taking the given time (ms since the epoch) as its end.
    void End(qint64 now);
    void Print();

    qint64 GetOverlapCount() const;
    qint64 GetStartCount() const;
    qint64 GetThreadStartCount(QThread* thread) const;
    // Threads with an open start, in the order they started.
    QList<QThread*> GetOpenThreads() const;
    // The largest 64-bit value until the first end.
    qint64 GetMinimumDuration() const;
    qint64 GetMaximumDuration() const;
    qint64 GetTotalDuration() const;
    qint64 GetLastDuration() const;

private:
    mutable QMutex mMutex;
    qint64 mOverlapCount = 0;
    qint64 mStartCount = 0;
    QHash<QThread*, qint64> mThreadStartCounts;
    QHash<QThread*, qint64> mOpenStarts;
    QList<QThread*> mOpenThreads;
    qint64 mMinimumDuration = std::numeric_limits<qint64>::max();
    qint64 mMaximumDuration = 0;
    qint64 mTotalDuration = 0;
    qint64 mLastDuration = 0;
};
