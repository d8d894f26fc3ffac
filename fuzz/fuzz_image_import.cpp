// Feeds arbitrary bytes to image import: the file check and decoding of an imported picture, the
// decoding of a picture read from a config file, and the image provider drawing a user's SVG.
#include "QuietQtApplication.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cCurrentConfigSource.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Editor/cImageFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
class cOneConfig : public cCurrentConfigSource
{
public:
    const cConfigBase* CurrentConfig() const override { return &mConfig; }
    cConfigBase mConfig{nullptr};
};

bool Fits(const QSize& size, const QSize& bound)
{
    return size.width() <= bound.width() && size.height() <= bound.height();
}
}

// Fontconfig keeps its cache for the process's lifetime once a drawing's text has loaded a font.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return StartQuietQtApplication(argc, argv);
}

// The first byte picks the file's extension; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir* const folder = new QTemporaryDir;
    static cOneConfig* const source = new cOneConfig;
    static cImageProvider* const provider = new cImageProvider(*source);
    if (size < 1)
        return 0;
    static const char* const extensions[] = {"png", "jpg", "gif", "bmp", "svg"};
    const QString extension = extensions[data[0] % 5];
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), int(size - 1));
    const QSize bound(cImageFile::MaximumWidth, cImageFile::MaximumHeight);

    // Imported from a file: a picture is decoded only within the limits.
    const QString path = folder->filePath("picture." + extension);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        abort();
    file.close();
    cImageFile imported;
    const bool loaded = imported.Load(QUrl::fromLocalFile(path));
    if (loaded != imported.FailureText().isEmpty() || (loaded && imported.Data() != bytes))
        abort();
    if (loaded && extension != "svg" && (imported.Image().isNull() || !Fits(imported.Image().size(), bound)))
        abort();

    // Read from a config file.
    const QImage decoded = cImageResource::Decode(bytes, cImageResource::MaxDecodedSize());
    if (!Fits(decoded.size(), cImageResource::MaxDecodedSize()))
        abort();
    cImageResource::DeclaredSize(bytes);

    // Drawn by the provider at a small size, fitted and not: never larger than asked.
    if (extension == "svg")
    {
        cConfigBase& config = source->mConfig;
        auto* resource = new cImageResource(&config, "0", "picture.svg", QImage(), bytes, "svg", &config);
        config.InsertNewResource(resource);
        for (const char* options : {"", ":preserveAspectFit"})
        {
            QSize reported;
            const QImage image = provider->requestImage(QStringLiteral("0") + options, &reported, QSize(64, 48));
            if (reported != image.size() || !Fits(image.size(), QSize(64, 48)))
                abort();
        }
        config.RemoveResource(resource);
        delete resource;
    }
    return 0;
}
