#include "cUnitFinderWorker.h"

#include "Common/Qt/cDiscoveryDatagram.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTimer>
#include <QUdpSocket>

namespace
{
QList<QHostAddress> BroadcastAddresses()
{
    QList<QHostAddress> addresses;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& netInterface : interfaces)
    {
        const auto flags = netInterface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            !(flags & QNetworkInterface::CanBroadcast))
            continue;
        const auto entries = netInterface.addressEntries();
        for (const QNetworkAddressEntry& entry : entries)
        {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.broadcast().isNull())
                addresses.append(entry.broadcast());
        }
    }
    return addresses;
}
}

cUnitFinderWorker::cUnitFinderWorker(QObject* parent)
    : QObject(parent)
{
}

void cUnitFinderWorker::Start(const sUnitFinderSettings& settings)
{
    delete mTimer;
    delete mSocket;
    mSocket = nullptr;
    mSettings = settings;
    mTimer = new QTimer(this);
    connect(mTimer, &QTimer::timeout, this, &cUnitFinderWorker::SendProbes);
    mTimer->start(mSettings.mProbeIntervalMs);
    SendProbes();
}

// The port may be taken for a while (another finder, a previous run); every probe tries again.
bool cUnitFinderWorker::EnsureBound()
{
    if (mSocket)
        return true;
    auto* socket = new QUdpSocket(this);
    if (!socket->bind(QHostAddress::AnyIPv4, mSettings.mAnnouncementPort, QUdpSocket::ShareAddress))
    {
        if (!mBindFailureTraced)
            ZR_ERROR("Unit discovery cannot listen on UDP port %u: %s", unsigned(mSettings.mAnnouncementPort),
                     qPrintable(socket->errorString()));
        mBindFailureTraced = true;
        delete socket;
        return false;
    }
    mBindFailureTraced = false;
    mSocket = socket;
    connect(mSocket, &QUdpSocket::readyRead, this, &cUnitFinderWorker::ReadAnnouncements);
    return true;
}

void cUnitFinderWorker::SendProbes()
{
    if (!EnsureBound())
        return;
    const QByteArray probe = cDiscoveryDatagram::Probe();
    const QList<QHostAddress> targets =
        mSettings.mFixedTargets.isEmpty() ? BroadcastAddresses() : mSettings.mFixedTargets;
    for (const QHostAddress& target : targets)
        mSocket->writeDatagram(probe, target, mSettings.mProbePort);
}

void cUnitFinderWorker::ReadAnnouncements()
{
    while (mSocket && mSocket->hasPendingDatagrams())
    {
        const QNetworkDatagram datagram = mSocket->receiveDatagram();
        sUnit unit;
        unit.mIpAddress = datagram.senderAddress().toString();
        if (datagram.isValid() && cDiscoveryDatagram::ReadAnnouncement(datagram.data(), unit))
            emit UnitAnnounced(unit);
    }
}
