#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>

class QIODevice;

// One image file read for import and checked against the import limits. The
// file's size and the picture size its header declares are checked before the
// body is read, so an oversized file costs neither memory nor time.
class cImageFile
{
public:
    static constexpr int MaximumWidth = 2048;
    static constexpr int MaximumHeight = 1080;
    // Above any picture within the pixel limits, also at 16 bits per channel.
    static constexpr qint64 MaximumFileSize = 32 << 20;

    // False with the reason in FailureText() when the file cannot be imported.
    bool Load(const QUrl& fileUrl);

    // The part of the URL after its last "/".
    const QString& FileName() const { return mFileName; }
    // The lower-cased extension, "jpeg" given as "jpg".
    const QString& Subtype() const { return mSubtype; }
    // Null for a drawing, which is neither decoded nor checked for size.
    const QImage& Image() const { return mImage; }
    const QByteArray& Data() const { return mData; }
    const QString& FailureText() const { return mFailureText; }

private:
    bool Fail(const QString& text);
    bool CheckDeclaredSize(QIODevice& file);

    QString mFileName;
    QString mSubtype;
    QImage mImage;
    QByteArray mData;
    QString mFailureText;
};
