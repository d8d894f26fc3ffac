#pragma once

#include "cResource.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

// A user's picture: the bytes of the imported file (written into the config
// file), the decoded image (null for an SVG file, which is drawn from its
// bytes) and the file kind "png", "jpg" or "svg". Replacing a picture makes a
// new resource, so everything here but the base's state is fixed.
class cImageResource : public cResource
{
    Q_OBJECT
    Q_PROPERTY(int originalWidth READ originalWidth NOTIFY originalWidthChanged)
    Q_PROPERTY(int originalHeight READ originalHeight NOTIFY originalHeightChanged)

public:
    cImageResource(QObject* parent, const QString& id, const QString& name, const QImage& image,
                   const QByteArray& data, const QString& subtype, const cConfigBase* config);

    int originalWidth() const { return mImage.width(); }
    int originalHeight() const { return mImage.height(); }
    QString Subtype() const { return mSubtype; }
    const QImage& Image() const { return mImage; }
    const QByteArray& Data() const { return mData; }
    // Different for every picture resource of this run, so with the id it names the picture.
    quint64 PictureSerial() const { return mPictureSerial; }

    // Pictures come from files and config files, so their bytes are untrusted:
    // the size the bytes declare is read without decoding, and nothing larger
    // than the bound is ever decoded.
    // The size the bytes declare, with the format guessed from the bytes;
    // invalid when they declare none.
    static QSize DeclaredSize(const QByteArray& bytes);
    // The picture, or a null image when the bytes are no picture, declare no
    // size before decoding, or are wider or taller than maxSize.
    static QImage Decode(const QByteArray& bytes, const QSize& maxSize);
    // The bound for pictures read from a config file: the import limits, so
    // nothing this program could have stored is refused.
    static QSize MaxDecodedSize() { return QSize(2048, 1080); }

    // "Size in config": the length of the bytes in Base64, in B, KB or MB.
    static QString SizeInConfigText(qint64 byteCount);

signals:
    void originalWidthChanged();
    void originalHeightChanged();

private:
    const QString mSubtype;
    const QImage mImage;
    const QByteArray mData;
    const quint64 mPictureSerial;
};
