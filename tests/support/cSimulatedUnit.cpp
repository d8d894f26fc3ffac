#include "cSimulatedUnit.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <csignal>

cSimulatedUnit::cSimulatedUnit(const QStringList& arguments)
    : mArguments(arguments)
{
    mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

cSimulatedUnit::~cSimulatedUnit()
{
    Stop();
}

// Trace lines may come before the one that says where the unit listens.
bool cSimulatedUnit::Start()
{
    mProcess.start(QStringLiteral(SIMUNIT_PROGRAM), QStringList{"--tcp-port", "0", "--discovery-port", "0"} + mArguments);
    const QRegularExpression ready("^READY tcp=(\\d+) udp=(\\d+)$");
    QElapsedTimer timer;
    timer.start();
    while (mProcess.state() != QProcess::NotRunning && timer.elapsed() < 10000)
    {
        if (!mProcess.canReadLine() && !mProcess.waitForReadyRead(100))
            continue;
        const QRegularExpressionMatch match = ready.match(QString::fromUtf8(mProcess.readLine()).trimmed());
        if (match.hasMatch())
        {
            mTcpPort = static_cast<quint16>(match.captured(1).toUInt());
            mDiscoveryPort = static_cast<quint16>(match.captured(2).toUInt());
            return true;
        }
    }
    return false;
}

void cSimulatedUnit::Stop()
{
    if (mProcess.state() == QProcess::NotRunning)
        return;
    ::kill(static_cast<pid_t>(mProcess.processId()), SIGTERM);
    if (!mProcess.waitForFinished(5000))
    {
        ::kill(static_cast<pid_t>(mProcess.processId()), SIGKILL);
        mProcess.waitForFinished(5000);
    }
}

QStringList cSimulatedUnit::Reports()
{
    mProcess.waitForReadyRead(20);
    while (mProcess.canReadLine())
    {
        const QString line = QString::fromUtf8(mProcess.readLine()).trimmed();
        if (line.startsWith(QLatin1String("SIM ")))
            mReports.append(line.mid(4));
    }
    return mReports;
}

bool cSimulatedUnit::WaitForReport(const QString& text, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs)
    {
        if (!Reports().filter(text).isEmpty())
            return true;
    }
    return false;
}
