#include "cDiscoveryResponder.h"

#include "Common/Qt/cDiscoveryDatagram.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

cDiscoveryResponder::cDiscoveryResponder(const sUnit& unit, QObject* parent)
    : QObject(parent)
    , mUnit(unit)
    , mSocket(new QUdpSocket(this))
{
    connect(mSocket, &QUdpSocket::readyRead, this, &cDiscoveryResponder::ReadProbes);
}

bool cDiscoveryResponder::Listen(const QHostAddress& address, quint16 port)
{
    return mSocket->bind(address, port, QUdpSocket::DontShareAddress);
}

quint16 cDiscoveryResponder::Port() const
{
    return mSocket->localPort();
}

QString cDiscoveryResponder::ErrorString() const
{
    return mSocket->errorString();
}

void cDiscoveryResponder::ReadProbes()
{
    while (mSocket->hasPendingDatagrams())
    {
        const QNetworkDatagram probe = mSocket->receiveDatagram();
        if (!probe.isValid() || !cDiscoveryDatagram::IsProbe(probe.data()))
            continue;
        mSocket->writeDatagram(cDiscoveryDatagram::Announcement(mUnit), probe.senderAddress(), probe.senderPort());
        ++mProbesAnswered;
    }
}

quint16 cDiscoveryResponder::FreeUdpPort()
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return socket.localPort();
}
