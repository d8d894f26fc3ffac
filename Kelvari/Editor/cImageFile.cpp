#include "cImageFile.h"

#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cXmlText.h"

#include <QFile>
#include <QImageReader>

bool cImageFile::Load(const QUrl& fileUrl)
{
    QFile file(fileUrl.toLocalFile());
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("Could not open file %1").arg(fileUrl.fileName(QUrl::FullyDecoded)));
    const QString path = fileUrl.path(QUrl::FullyDecoded);
    mFileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    mSubtype = cXmlText::Legal(mFileName.mid(mFileName.lastIndexOf(QLatin1Char('.')) + 1).toLower(),
                               QStringLiteral("image subtype"));
    if (mSubtype == QLatin1String("jpeg"))
        mSubtype = QStringLiteral("jpg");
    const bool drawing = mSubtype == QLatin1String("svg");
    const QString tooLarge =
        QStringLiteral("Image %1 is too large.\nMax file size is %2 MB").arg(mFileName).arg(MaximumFileSize >> 20);
    if (file.size() > MaximumFileSize)
        return Fail(tooLarge);
    if (!drawing && !CheckDeclaredSize(file))
        return false;
    file.seek(0);
    // Bounded also for a file that does not know its size.
    mData = file.read(MaximumFileSize + 1);
    if (mData.size() > MaximumFileSize)
        return Fail(tooLarge);
    if (!drawing)
    {
        mImage = cImageResource::Decode(mData, QSize(MaximumWidth, MaximumHeight));
        if (mImage.isNull())
            return Fail(QStringLiteral("Invalid image data\n%1").arg(mFileName));
    }
    mFailureText.clear();
    return true;
}

bool cImageFile::Fail(const QString& text)
{
    mImage = QImage();
    mData.clear();
    mFailureText = text;
    return false;
}

bool cImageFile::CheckDeclaredSize(QIODevice& file)
{
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.canRead() ? reader.size() : QSize();
    if (!declared.isValid())
        return true;
    const QString limits = QStringLiteral("%1x%2").arg(MaximumWidth).arg(MaximumHeight);
    if (declared.width() > MaximumWidth)
        return Fail(QStringLiteral("Image %1 is too wide.\nMax size is %2").arg(mFileName, limits));
    if (declared.height() > MaximumHeight)
        return Fail(QStringLiteral("Image %1 is too tall.\nMax size is %2").arg(mFileName, limits));
    return true;
}
