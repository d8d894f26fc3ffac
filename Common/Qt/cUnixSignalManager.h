#pragma once

#include <QObject>

class QSocketNotifier;

// Relays SIGHUP, SIGINT, SIGQUIT and SIGTERM into a quit of the application's event loop.
// The handler only writes the signal number into a process-wide socket pair; the relay
// reads it back on the Qt side and quits there. SIGUSR1 is caught and swallowed.
class cUnixSignalManager : public QObject
{
    Q_OBJECT

public:
    explicit cUnixSignalManager(QObject* parent = nullptr);

    // Installs the handler for the five signals. 0 on success, else 1 after an error trace.
    static int SetUpUnixHandler();
    static void UnixSignalHandler(int signalNumber);

public slots:
    void HandleSigInt();

private:
    // Null when the socket pair could not be created.
    QSocketNotifier* mNotifier = nullptr;
};
