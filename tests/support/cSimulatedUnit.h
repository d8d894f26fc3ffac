#pragma once

#include <QProcess>
#include <QStringList>

// Runs the simulated unit program on free ports of 127.0.0.1 for one test and
// stops it by its process id. Its "SIM ..." lines report what it received.
// Arguments given here override the free ports.
class cSimulatedUnit
{
public:
    // Extra program arguments, such as "--busy" or "--drop-after-chunk", "1".
    explicit cSimulatedUnit(const QStringList& arguments = {});
    ~cSimulatedUnit();
    cSimulatedUnit(const cSimulatedUnit&) = delete;
    cSimulatedUnit& operator=(const cSimulatedUnit&) = delete;

    // Starts the program and waits until it listens; false when it does not.
    bool Start();
    void Stop();
    quint16 TcpPort() const { return mTcpPort; }
    // Where it answers discovery probes; 0 when it answers none.
    quint16 DiscoveryPort() const { return mDiscoveryPort; }

    // The "SIM ..." lines printed so far, without the prefix.
    QStringList Reports();
    bool WaitForReport(const QString& text, int timeoutMs = 5000);

private:
    QStringList mArguments;
    QProcess mProcess;
    QStringList mReports;
    quint16 mTcpPort = 0;
    quint16 mDiscoveryPort = 0;
};
