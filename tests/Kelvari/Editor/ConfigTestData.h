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

inline QByteArray Document(const QByteArray& body, const QByteArray& root = "version=\"1.0.0\"")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KelvariConfig " + root + ">" + body + "</KelvariConfig>";
}

// A Widget element with the attributes given, around the elements given.
inline QByteArray WidgetXml(const QByteArray& attributes, const QByteArray& inside = QByteArray())
{
    return "<Widget " + attributes + ">" + inside + "</Widget>";
}

inline QByteArray RectXml(int id)
{
    return WidgetXml("id=\"" + QByteArray::number(id) + "\" type=\"rect\" width=\"0.1\" height=\"0.1\"");
}

// A tab container with the attributes given besides its type, and one Tab element for each text, holding that text.
inline QByteArray TabsXml(const QByteArray& attributes, const QList<QByteArray>& tabs)
{
    QByteArray inside;
    for (const QByteArray& tab : tabs)
        inside += "<Tab>" + tab + "</Tab>";
    return WidgetXml("type=\"tab_container\" " + attributes, inside);
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

// A small real PNG whose header, checksum included, is the given one: a picture of another size, as a
// decompression bomb looks to a reader that trusts the header.
inline QByteArray PngWithHeader(const char* hex)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
    return png.replace(16, 17, QByteArray::fromHex(hex));
}
}
