#pragma once

#include "Common/Qt/sUnit.h"
#include "Common/Qt/sUnitFinderSettings.h"

#include <QObject>

class QTimer;
class QUdpSocket;

// The socket side of the unit finder, living on the finder's thread: it
// probes at every interval and reports each valid announcement it receives.
class cUnitFinderWorker : public QObject
{
    Q_OBJECT

public:
    explicit cUnitFinderWorker(QObject* parent = nullptr);

public slots:
    void Start(const sUnitFinderSettings& settings);

signals:
    void UnitAnnounced(const sUnit& unit);

private:
    void SendProbes();
    void ReadAnnouncements();
    bool EnsureBound();

    sUnitFinderSettings mSettings;
    QTimer* mTimer = nullptr;
    QUdpSocket* mSocket = nullptr;
    bool mBindFailureTraced = false;
};
