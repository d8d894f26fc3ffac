#include "cHeavyProfile.h"

#include <QMutex>
#include <QMutexLocker>
#include <QThread>

namespace
{
// A function-local static so that it exists even when Instance() runs during static initialisation.
QMutex& InstanceMutex()
{
    static QMutex mutex;
    return mutex;
}

// Atomic so that the unlocked first check of Instance() never reads a half-published object.
std::atomic<cHeavyProfile*> instance{nullptr};
}

cHeavyProfile* cHeavyProfile::Instance()
{
    cHeavyProfile* profile = instance.load(std::memory_order_acquire);
    if (profile)
        return profile;
    QMutexLocker locker(&InstanceMutex());
    profile = instance.load(std::memory_order_relaxed);
    if (!profile)
    {
        profile = new cHeavyProfile;
        instance.store(profile, std::memory_order_release);
    }
    return profile;
}

void cHeavyProfile::DeleteInstance()
{
    QMutexLocker locker(&InstanceMutex());
    delete instance.exchange(nullptr, std::memory_order_acq_rel);
}

void cHeavyProfile::SetMainThread()
{
    QThread* expected = nullptr;
    mMainThread.compare_exchange_strong(expected, QThread::currentThread());
}

bool cHeavyProfile::IsMainThread() const
{
    return mMainThread.load() == QThread::currentThread();
}

bool cHeavyProfile::Start(const QString&)
{
    return false;
}

void cHeavyProfile::End(const QString&)
{
}

void cHeavyProfile::Print(const QString&)
{
}

void cHeavyProfile::Reset(const QString&)
{
}

void cHeavyProfile::LogPrecisionEntry(const QString&, long long)
{
}

void cHeavyProfile::PrintPrecisionEntry(const QString&, bool, bool)
{
}

void cHeavyProfile::ResetPrecisionEntry(const QString&)
{
}

void cHeavyProfile::PrintAllPrecisionEntry(bool, bool, bool)
{
}

QString cHeavyProfile::RecordConstructor(const QString& name)
{
    return name;
}

void cHeavyProfile::RecordDestructor(const QString&)
{
}

void cHeavyProfile::PrintAllUnevenCalls(bool)
{
}

void cHeavyProfile::RegisterCurrentThread(const QString&)
{
}

void cHeavyProfile::RegisterThread(QThread*, const QString&)
{
}

bool cHeavyProfile::IsThreadRegistered(QThread*) const
{
    return false;
}

bool cHeavyProfile::IsCurrentThreadRegistered() const
{
    return false;
}

QString cHeavyProfile::GetThreadDescription(QThread*) const
{
    return QString();
}

QString cHeavyProfile::GetCurrentThreadDescription() const
{
    return QString();
}
