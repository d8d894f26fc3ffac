#include "cDiscoveryDatagram.h"

#include "ZRNet/Core/ZRNetProtocol.h"

#include <QVector>
#include <QtEndian>

#include <algorithm>
#include <iterator>
#include <limits>

namespace
{
QByteArray Header(UBYTE kind)
{
    QByteArray header(kDiscoveryMagic, sizeof(kDiscoveryMagic));
    header.append(static_cast<char>(kDiscoveryVersion));
    header.append(static_cast<char>(kind));
    return header;
}

bool HasHeader(const QByteArray& datagram, UBYTE kind)
{
    return datagram.size() >= kDiscoveryProbeSize && datagram.startsWith(Header(kind));
}

// UTF-8 of text in at most maxBytes, never splitting a character.
QByteArray CutUtf8(const QString& text, int maxBytes)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= maxBytes)
        return bytes;
    int end = maxBytes;
    while (end > 0 && (static_cast<UBYTE>(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return bytes;
}

// Reads a text of the given length at pos and moves pos past it; false when it would overrun.
bool ReadText(const QByteArray& datagram, int& pos, int length, QString& text)
{
    if (length > datagram.size() - pos)
        return false;
    text = QString::fromUtf8(datagram.constData() + pos, length);
    pos += length;
    return true;
}

struct sCodePointRange
{
    uint mFirst;
    uint mLast;
};

// Unicode's Default_Ignorable_Code_Point: what a renderer may show as nothing. It holds code points not
// yet assigned (U+2065 among them), which no category test can tell apart.
constexpr sCodePointRange kDefaultIgnorable[] = {
    {0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x061C, 0x061C}, {0x115F, 0x1160}, {0x17B4, 0x17B5},
    {0x180B, 0x180F}, {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x206F}, {0x3164, 0x3164},
    {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3},
    {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF}};

bool DefaultIgnorable(uint c)
{
    return std::any_of(std::begin(kDefaultIgnorable), std::end(kDefaultIgnorable),
                       [c](const sCodePointRange& range) { return c >= range.mFirst && c <= range.mLast; });
}

// Nothing but Unicode's white space and the blank braille pattern, which draws as a space.
bool Blank(const QString& text)
{
    const QVector<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(),
                       [](uint c) { return QChar::isSpace(c) || c == 0x2800; });
}

// Characters that change how text is shown without being seen themselves, judged per code point so
// that none outside the basic plane slips through as a surrogate pair; at most maxLength are kept.
QString Plain(const QString& text, bool keepLineBreaks, int maxLength = std::numeric_limits<int>::max())
{
    const QVector<uint> codePoints = text.toUcs4();
    QVector<uint> plain;
    plain.reserve(qMin(codePoints.size(), maxLength));
    for (const uint c : codePoints)
    {
        if (plain.size() == maxLength)
            break;
        const QChar::Category category = QChar::category(c);
        const bool kept = keepLineBreaks && (c == '\n' || c == '\t');
        if (!kept && (category == QChar::Other_Control || category == QChar::Other_Format ||
                      category == QChar::Separator_Line || category == QChar::Separator_Paragraph ||
                      DefaultIgnorable(c)))
            continue;
        plain.append(c);
    }
    return QString::fromUcs4(plain.constData(), plain.size());
}

bool ReadByte(const QByteArray& datagram, int& pos, int& value)
{
    if (pos >= datagram.size())
        return false;
    value = static_cast<UBYTE>(datagram.at(pos++));
    return true;
}
}

QByteArray cDiscoveryDatagram::Probe()
{
    return Header(kDiscoveryKindProbe);
}

bool cDiscoveryDatagram::IsProbe(const QByteArray& datagram)
{
    return datagram.size() == kDiscoveryProbeSize && HasHeader(datagram, kDiscoveryKindProbe);
}

QByteArray cDiscoveryDatagram::Announcement(const sUnit& unit)
{
    const QByteArray name = CutUtf8(unit.mUnitName, 255);
    const QByteArray findName = CutUtf8(unit.mFindName, 255);
    const QByteArray information = CutUtf8(unit.mInformation, 65535);

    QByteArray datagram = Header(kDiscoveryKindAnnouncement);
    datagram.append(static_cast<char>(unit.mUnitType));
    datagram.append(static_cast<char>(name.size()));
    datagram.append(name);
    datagram.append(static_cast<char>(findName.size()));
    datagram.append(findName);
    UWORD informationLength = 0;
    qToBigEndian(static_cast<UWORD>(information.size()), &informationLength);
    datagram.append(reinterpret_cast<const char*>(&informationLength), sizeof(informationLength));
    datagram.append(information);
    return datagram;
}

bool cDiscoveryDatagram::ReadAnnouncement(const QByteArray& datagram, sUnit& unit)
{
    if (datagram.size() < kDiscoveryAnnouncementMinimumSize || !HasHeader(datagram, kDiscoveryKindAnnouncement))
        return false;

    int pos = kDiscoveryProbeSize;
    int type = 0;
    int nameLength = 0;
    int findNameLength = 0;
    int high = 0;
    int low = 0;
    sUnit read;
    if (!ReadByte(datagram, pos, type) || type >= kUnitTypeCount)
        return false;
    if (!ReadByte(datagram, pos, nameLength) || nameLength == 0 ||
        !ReadText(datagram, pos, nameLength, read.mUnitName))
        return false;
    if (!ReadByte(datagram, pos, findNameLength) || !ReadText(datagram, pos, findNameLength, read.mFindName))
        return false;
    if (!ReadByte(datagram, pos, high) || !ReadByte(datagram, pos, low) ||
        !ReadText(datagram, pos, (high << 8) | low, read.mInformation))
        return false;
    if (pos != datagram.size())
        return false;
    read.mUnitName = Plain(read.mUnitName, false);
    read.mFindName = Plain(read.mFindName, false);
    read.mInformation = Plain(read.mInformation, true, kDiscoveryMaxInformationLength);
    // A name that shows as nothing or as blank space names no unit.
    if (Blank(read.mUnitName))
        return false;

    read.mUnitType = static_cast<eUnitType>(type);
    read.mIpAddress = unit.mIpAddress;
    unit = read;
    return true;
}
