#include "cHeavyProfileEntry.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QDateTime>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>

bool cHeavyProfileEntry::Start()
{
    QThread* thread = QThread::currentThread();
    QMutexLocker locker(&mMutex);
    ++mThreadStartCounts[thread];
    ++mStartCount;
    const bool alone = mOpenThreads.isEmpty();
    if (!alone)
        ++mOverlapCount;
    // A second start on the same thread replaces its open start, so one end still closes it.
    if (!mOpenStarts.contains(thread))
        mOpenThreads.append(thread);
    mOpenStarts.insert(thread, QDateTime::currentMSecsSinceEpoch());
    return alone;
}

void cHeavyProfileEntry::End(qint64 now)
{
    QThread* thread = QThread::currentThread();
    QMutexLocker locker(&mMutex);
    const auto open = mOpenStarts.constFind(thread);
    if (open == mOpenStarts.constEnd())
    {
        ZR_ERROR("End called before start");
        return;
    }
    const qint64 duration = now - open.value();
    mMinimumDuration = std::min(mMinimumDuration, duration);
    mMaximumDuration = std::max(mMaximumDuration, duration);
    mTotalDuration += duration;
    mLastDuration = duration;
    mOpenThreads.removeOne(thread);
    mOpenStarts.erase(open);
}

void cHeavyProfileEntry::Print()
{
    // Printing is switched off in this build; the lock is still taken so a call waits for any operation in progress.
    QMutexLocker locker(&mMutex);
}

qint64 cHeavyProfileEntry::GetOverlapCount() const
{
    QMutexLocker locker(&mMutex);
    return mOverlapCount;
}

qint64 cHeavyProfileEntry::GetStartCount() const
{
    QMutexLocker locker(&mMutex);
    return mStartCount;
}

qint64 cHeavyProfileEntry::GetThreadStartCount(QThread* thread) const
{
    QMutexLocker locker(&mMutex);
    return mThreadStartCounts.value(thread, 0);
}

QList<QThread*> cHeavyProfileEntry::GetOpenThreads() const
{
    QMutexLocker locker(&mMutex);
    return mOpenThreads;
}

qint64 cHeavyProfileEntry::GetMinimumDuration() const
{
    QMutexLocker locker(&mMutex);
    return mMinimumDuration;
}

qint64 cHeavyProfileEntry::GetMaximumDuration() const
{
    QMutexLocker locker(&mMutex);
    return mMaximumDuration;
}

qint64 cHeavyProfileEntry::GetTotalDuration() const
{
    QMutexLocker locker(&mMutex);
    return mTotalDuration;
}

qint64 cHeavyProfileEntry::GetLastDuration() const
{
    QMutexLocker locker(&mMutex);
    return mLastDuration;
}
