// Feeds arbitrary bytes, as a datagram from anyone on the network, to unit discovery's reader.
#include "Common/Qt/cDiscoveryDatagram.h"
#include "ZRNet/Core/ZRNetProtocol.h"

#include <QVector>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
void Check(bool holds)
{
    if (!holds)
        abort();
}

// Nothing that is drawn as nothing, moves text about or breaks a line; tabs and line breaks only where allowed.
bool Plain(const QString& text, bool lineBreaksAllowed)
{
    const QVector<uint> codePoints = text.toUcs4();
    for (const uint c : codePoints)
    {
        if (lineBreaksAllowed && (c == '\n' || c == '\t'))
            continue;
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph ||
            category == QChar::Other_Surrogate || (c >= 0x2060 && c <= 0x206F) || (c >= 0xE0000 && c <= 0xE0FFF))
            return false;
    }
    return true;
}

bool Blank(const QString& text)
{
    const QVector<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint c) { return QChar::isSpace(c) || c == 0x2800; });
}

sUnit Untouched()
{
    sUnit unit;
    unit.mIpAddress = "192.0.2.7";
    unit.mUnitName = "untouched";
    unit.mFindName = "untouched find";
    unit.mInformation = "untouched information";
    unit.mUnitType = HalvorDorvel;
    return unit;
}

bool Same(const sUnit& a, const sUnit& b)
{
    return a.mIpAddress == b.mIpAddress && a.mUnitName == b.mUnitName && a.mFindName == b.mFindName &&
           a.mInformation == b.mInformation && a.mUnitType == b.mUnitType;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray datagram = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    Check(cDiscoveryDatagram::IsProbe(datagram) == (datagram == cDiscoveryDatagram::Probe()));

    sUnit unit = Untouched();
    if (!cDiscoveryDatagram::ReadAnnouncement(datagram, unit))
    {
        Check(Same(unit, Untouched()));
        return 0;
    }
    // A unit read is listed as it is: one of ours, named by something visible, with its texts plain and bounded.
    Check(unit.mIpAddress == Untouched().mIpAddress && unit.mUnitType >= 0 && unit.mUnitType < kUnitTypeCount);
    Check(!Blank(unit.mUnitName) && Plain(unit.mUnitName, false) && Plain(unit.mFindName, false) &&
          Plain(unit.mInformation, true));
    Check(unit.mInformation.toUcs4().size() <= kDiscoveryMaxInformationLength);

    // Announced again, the unit reads back the same, its texts cut only where they no longer fit their fields.
    sUnit again;
    again.mIpAddress = unit.mIpAddress;
    Check(cDiscoveryDatagram::ReadAnnouncement(cDiscoveryDatagram::Announcement(unit), again));
    Check(again.mUnitType == unit.mUnitType && again.mInformation == unit.mInformation);
    Check(unit.mUnitName.startsWith(again.mUnitName) && unit.mFindName.startsWith(again.mFindName));
    Check(unit.mUnitName.toUtf8().size() > 255 || again.mUnitName == unit.mUnitName);
    Check(unit.mFindName.toUtf8().size() > 255 || again.mFindName == unit.mFindName);
    return 0;
}
