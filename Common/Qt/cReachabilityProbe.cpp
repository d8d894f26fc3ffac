#include "cReachabilityProbe.h"

#include <QTcpSocket>

cReachabilityProbe::cReachabilityProbe(QObject* parent)
    : QObject(parent)
{
    mTimer.setSingleShot(true);
    connect(&mTimer, &QTimer::timeout, this, &cReachabilityProbe::TimedOut);
}

void cReachabilityProbe::Start(const QHostAddress& address, quint16 port, int timeoutMs)
{
    Cancel();
    mAddress = address;
    mTimeoutMs = timeoutMs;
    mSocket = new QTcpSocket(this);
    connect(mSocket, &QTcpSocket::connected, this, &cReachabilityProbe::Connected);
    connect(mSocket, &QTcpSocket::errorOccurred, this, &cReachabilityProbe::Failed);
    mTimer.start(timeoutMs);
    // Connecting from the event loop: some failures are reported inside connectToHost,
    // and the caller must never hear of the outcome before Start has returned.
    QTcpSocket* socket = mSocket;
    QTimer::singleShot(0, socket, [this, socket, address, port] {
        if (mSocket == socket)
            socket->connectToHost(address, port);
    });
}

void cReachabilityProbe::Cancel()
{
    mTimer.stop();
    if (!mSocket)
        return;
    // Deleted later: Cancel may run from inside one of the socket's own signals.
    mSocket->disconnect(this);
    mSocket->abort();
    mSocket->deleteLater();
    mSocket = nullptr;
}

bool cReachabilityProbe::Running() const
{
    return mSocket != nullptr;
}

void cReachabilityProbe::Connected()
{
    Cancel();
    emit Reachable();
}

void cReachabilityProbe::Failed()
{
    const QAbstractSocket::SocketError error = mSocket->error();
    const QString detail = mSocket->errorString();
    Cancel();
    switch (error)
    {
    case QAbstractSocket::ConnectionRefusedError:
        emit Unreachable(tr("The unit at %1 refused the connection").arg(mAddress.toString()));
        break;
    case QAbstractSocket::NetworkError:
        emit Unreachable(tr("The network to the unit at %1 cannot be reached").arg(mAddress.toString()));
        break;
    default:
        emit Unreachable(tr("Could not reach the unit at %1: %2").arg(mAddress.toString(), detail));
        break;
    }
}

void cReachabilityProbe::TimedOut()
{
    Cancel();
    emit Unreachable(tr("The unit at %1 did not answer within %2 seconds")
                         .arg(mAddress.toString())
                         .arg(mTimeoutMs / 1000.0));
}
