#pragma once

#include "cWindowGeometry.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <string>

class cActionTickDriver;
class cConnectionInterface;
class cSyscallThread;

// The part of the editor's root object that does not depend on the config
// document: the connection interface (discovering units from construction
// on), the ZRNet layer's start and stop, the main window's geometry, the
// program version, the font codes and the hashing of names and passwords.
class cApplicationBase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(cConnectionInterface* connectionInterface READ connectionInterface CONSTANT)
    Q_PROPERTY(QString version READ version CONSTANT)
    Q_PROPERTY(QString fullVersion READ fullVersion CONSTANT)
    Q_PROPERTY(QStringList fontCodes READ fontCodes CONSTANT)

public:
    explicit cApplicationBase(bool demoMode);
    ~cApplicationBase() override;

    // Only from main, on the main thread: once after the main page loaded,
    // and (stopping) from the destructor. Stopping a layer that never
    // started does nothing.
    void StartZRNet();
    void StopZRNet();

    static void RegisterMetaTypes();

    cConnectionInterface* connectionInterface() const { return mConnectionInterface; }
    static QString version();
    static QString fullVersion();
    QStringList fontCodes() const { return mFontCodes; }
    Q_INVOKABLE QString fontCodeToName(const QString& FontCode) const;

    // Keccak-512 (not SHA3-512) of the text's local 8-bit bytes up to the first NUL, in Base64.
    static std::string GetHashedString(const QString& text);
    // The stored and sent form of a password; empty for an empty password.
    static std::string GetHashedPassword(const QString& password);

    void LoadWindowGeometry();
    void StoreWindowGeometry() const;
    void ReSizeWindowToFitScreen(int& x, int& y, int& width, int& height) const;
    const cWindowGeometry& MainWindowGeometry() const { return *mMainWindowGeometry; }

public slots:
    // The main window calls this when it has become visible.
    virtual void applicationWindowReady();

protected slots:
    virtual void ApplicationSetWindowStateSlot() = 0;

protected:
    cWindowGeometry& MainWindowTracker() { return *mMainWindowGeometry; }

private:
    cConnectionInterface* mConnectionInterface = nullptr;
    cActionTickDriver* mTickDriver = nullptr;
    cSyscallThread* mPollThread = nullptr;
    cWindowGeometry* mMainWindowGeometry;
    QStringList mFontCodes;
};
