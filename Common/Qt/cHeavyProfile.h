#pragma once

#include <QString>

#include <atomic>

class QThread;

// Process-wide profiler. Its recording and printing operations are switched off in this
// build (they do nothing and give the neutral results noted below); only the main-thread
// record works.
class cHeavyProfile
{
public:
    static cHeavyProfile* Instance();
    // Deletes the singleton; the next Instance() creates a fresh one. No other thread may
    // still be using the old one.
    static void DeleteInstance();

    // Records the calling thread, the first time only.
    void SetMainThread();
    bool IsMainThread() const;

    // Returns false.
    bool Start(const QString& name);
    void End(const QString& name);
    void Print(const QString& name);
    void Reset(const QString& name);
    void LogPrecisionEntry(const QString& name, long long value);
    void PrintPrecisionEntry(const QString& name, bool, bool);
    void ResetPrecisionEntry(const QString& name);
    void PrintAllPrecisionEntry(bool, bool, bool);
    // Returns the name it was given.
    QString RecordConstructor(const QString& name);
    void RecordDestructor(const QString& name);
    void PrintAllUnevenCalls(bool);
    void RegisterCurrentThread(const QString& description);
    void RegisterThread(QThread* thread, const QString& description);
    // Return false.
    bool IsThreadRegistered(QThread* thread) const;
    bool IsCurrentThreadRegistered() const;
    // Return an empty string.
    QString GetThreadDescription(QThread* thread) const;
    QString GetCurrentThreadDescription() const;

private:
    cHeavyProfile() = default;
    ~cHeavyProfile() = default;
    cHeavyProfile(const cHeavyProfile&) = delete;
    cHeavyProfile& operator=(const cHeavyProfile&) = delete;

    std::atomic<QThread*> mMainThread{nullptr};
};
