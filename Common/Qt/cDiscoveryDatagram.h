#pragma once

#include "Common/Qt/sUnit.h"

#include <QByteArray>

// Builds and reads the datagrams of unit discovery. Reading never trusts the
// lengths inside a datagram: anything malformed is simply not a probe or not
// an announcement.
class cDiscoveryDatagram
{
public:
    static QByteArray Probe();
    static bool IsProbe(const QByteArray& datagram);

    // Texts too long for their length field are cut (at a character boundary).
    static QByteArray Announcement(const sUnit& unit);
    // Fills everything but the address, with the texts made plain and the
    // information cut to its limit; false leaves unit untouched.
    static bool ReadAnnouncement(const QByteArray& datagram, sUnit& unit);
};
