#pragma once

#include "Common/Qt/sUnit.h"

#include <QHostAddress>
#include <QObject>

class QUdpSocket;

// The discovery side of a simulated unit: listens for probes and answers each
// with an announcement of its unit, sent back to the probe's source.
class cDiscoveryResponder : public QObject
{
public:
    explicit cDiscoveryResponder(const sUnit& unit, QObject* parent = nullptr);

    // A UDP port on loopback that nothing holds at the moment of asking.
    static quint16 FreeUdpPort();
    // Port 0 picks a free port; false when the port cannot be bound (another
    // responder holding it counts).
    bool Listen(const QHostAddress& address, quint16 port);
    quint16 Port() const;
    QString ErrorString() const;
    void SetUnit(const sUnit& unit) { mUnit = unit; }
    int ProbesAnswered() const { return mProbesAnswered; }

private:
    void ReadProbes();

    sUnit mUnit;
    QUdpSocket* mSocket = nullptr;
    int mProbesAnswered = 0;
};
