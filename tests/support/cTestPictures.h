#pragma once

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

// Where a test puts the pictures it takes of its windows: a folder of its own that goes with the object,
// or the folder that KELVARI_TEST_PICTURES names, where they are kept for a person to look at.
class cTestPictures
{
public:
    // False when the picture could not be written.
    bool Save(const QImage& image, const QString& name) const
    {
        const QString kept = qEnvironmentVariable("KELVARI_TEST_PICTURES");
        return mFolder.isValid() && image.save(QDir(kept.isEmpty() ? mFolder.path() : kept).filePath(name));
    }

private:
    QTemporaryDir mFolder;
};
