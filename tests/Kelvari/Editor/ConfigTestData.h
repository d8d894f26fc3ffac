#pragma once

#include "Kelvari/Editor/cConfig.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QUrl>

// Shared by the config document's tests: the real pictures in tests/data and
// small readers of the document's state.
namespace ConfigTestData
{
inline QString ImagePath(const QString& name) { return QStringLiteral(TEST_DATA_DIR "/images/") + name; }
inline QUrl ImageUrl(const QString& name) { return QUrl::fromLocalFile(ImagePath(name)); }

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

inline void AddLayout(cConfig& config, const QString& name)
{
    config.createNewLayout(true, QString(), true, false, false, 0, true, QString(), false, 4, 3, name);
}

inline QStringList LayoutNames(const cConfig& config)
{
    QStringList names;
    for (const cLayout* layout : config.Layouts().Items())
        names << layout->name();
    return names;
}

inline QStringList ResourceNames(const cConfig& config)
{
    QStringList names;
    for (const cResource* resource : config.Resources().Items())
        names << resource->Name();
    return names;
}

// A small real PNG whose header claims the given size: what a decompression
// bomb looks like to a reader that trusts the header.
inline QByteArray PngDeclaringSize(quint32 width, quint32 height)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
    const auto put = [&png](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char(value >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    // The header chunk's CRC-32, so that readers accept it.
    quint32 crc = 0xFFFFFFFF;
    for (int i = 12; i < 29; ++i)
    {
        crc ^= quint8(png.at(i));
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    put(29, ~crc);
    return png;
}
}
