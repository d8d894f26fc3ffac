#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// Image files for import tests, written into a folder of their own that goes
// with the object: a picture of the given size in the format its name ends
// with (png, jpg, jpeg), or a small drawing for a name ending in svg.
class cTestImageFiles : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The file's URL, or an empty URL when it could not be written.
    Q_INVOKABLE QUrl write(const QString& name, int width, int height);

private:
    QTemporaryDir mFolder;
};
