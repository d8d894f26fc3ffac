#pragma once

#include <QFile>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>

// Image files for import tests, written into a folder that goes with the object: a picture of the given size
// in the format its name ends with (png, jpg, jpeg), or a small drawing for a name ending in svg.
class cTestImageFiles : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The file's URL, or an empty URL when it could not be written.
    Q_INVOKABLE QUrl write(const QString& name, int width, int height)
    {
        const QString path = mFolder.filePath(name);
        const QString format = name.section('.', -1).toUpper();
        if (format == "SVG") {
            QFile file(path);
            const QByteArray drawing = QString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                                               "<circle cx=\"%3\" cy=\"%4\" r=\"%5\" fill=\"#E8A33D\"/></svg>")
                                           .arg(width).arg(height).arg(width / 2).arg(height / 2)
                                           .arg(qMin(width, height) / 2).toUtf8();
            const bool written = file.open(QIODevice::WriteOnly) && file.write(drawing) == drawing.size();
            return written ? QUrl::fromLocalFile(path) : QUrl();
        }
        QImage image(width, height, QImage::Format_RGB32);
        // Each file its own colour, with a diagonal so that stretching shows.
        image.fill(QColor::fromHsv(static_cast<int>(qHash(name) % 360), 160, 200));
        QPainter painter(&image);
        painter.setPen(QPen(Qt::white, qMax(1, qMin(width, height) / 20)));
        painter.drawLine(0, 0, width, height);
        painter.end();
        return image.save(path, format == "JPG" ? "JPEG" : qPrintable(format)) ? QUrl::fromLocalFile(path) : QUrl();
    }

private:
    QTemporaryDir mFolder;
};
