#include "cImageResource.h"

#include "cStringProperty.h"

#include <QBuffer>
#include <QImageReader>
#include <atomic>
#include <cmath>

namespace
{
std::atomic<quint64> sLastPictureSerial{0};
}

cImageResource::cImageResource(QObject* parent, const QString& id, const QString& name, const QImage& image,
                               const QByteArray& data, const QString& subtype, const cConfigBase* config)
    : cResource(parent, id, name, subtype + QStringLiteral(" image"), config)
    , mSubtype(subtype)
    , mImage(image)
    , mData(data)
    , mPictureSerial(++sLastPictureSerial)
{
    const QString sourceSize = QStringLiteral("%1 x %2").arg(mImage.width()).arg(mImage.height());
    auto* sourceSizeProperty = new cStringProperty(QStringLiteral("Source size"), sourceSize, this, false);
    // A drawing has no pixel size of its own to show.
    if (mSubtype == QLatin1String("svg"))
        sourceSizeProperty->setVisible(false);
    InsertBeforeLayouts(sourceSizeProperty);
    InsertBeforeLayouts(
        new cStringProperty(QStringLiteral("Size in config"), SizeInConfigText(mData.size()), this, false));
}

QString cImageResource::SizeInConfigText(qint64 byteCount)
{
    const qint64 base64Length = static_cast<qint64>(std::ceil(byteCount / 3.0) * 4);
    if (base64Length >= 1048577)
        return QString::number(base64Length / 1048576.0, 'f', 1) + QStringLiteral(" MB");
    if (base64Length >= 1025)
        return QString::number(base64Length / 1024.0, 'f', 1) + QStringLiteral(" KB");
    return QString::number(base64Length) + QStringLiteral(" B");
}

QSize cImageResource::DeclaredSize(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.canRead() ? reader.size() : QSize();
}

QImage cImageResource::Decode(const QByteArray& bytes, const QSize& maxSize)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return QImage();
    const QSize size = reader.size();
    if (size.isEmpty() || size.width() > maxSize.width() || size.height() > maxSize.height())
        return QImage();
    QImage image = reader.read();
    // A reader that declared one size and decoded another is not trusted either.
    if (image.width() > maxSize.width() || image.height() > maxSize.height())
        return QImage();
    return image;
}
