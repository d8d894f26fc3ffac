#pragma once

#include "ZRNet/Core/ZRNetProtocol.h"

#include <QHostAddress>
#include <QList>
#include <QMetaType>

// Where the unit finder listens and probes. Without fixed targets it probes the
// broadcast address of every IPv4 interface that is up and can broadcast.
struct sUnitFinderSettings
{
    UWORD mProbePort = kDiscoveryProbePort;
    UWORD mAnnouncementPort = kDiscoveryAnnouncementPort;
    QList<QHostAddress> mFixedTargets;
    int mProbeIntervalMs = 2000;
};

Q_DECLARE_METATYPE(sUnitFinderSettings)
