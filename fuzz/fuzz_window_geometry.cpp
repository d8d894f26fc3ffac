// Feeds arbitrary bytes, as a window's geometry record found in the user's settings, to the editor's reading
// of it at start.
#include "QuietQtApplication.h"
#include "Kelvari/Editor/cUserSettings.h"
#include "Kelvari/Editor/cWindowGeometry.h"

#include <QCoreApplication>
#include <QScreen>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    return StartQuietQtApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray record(reinterpret_cast<const char*>(data), int(size));
    cUserSettings::Write(cUserSettings::eMainWindowGeometry, record);
    cWindowGeometry geometry(cUserSettings::eMainWindowGeometry, nullptr);
    geometry.Load();
    // The window read is a real one, never minimised, with a top corner on a screen.
    const QRect applied = geometry.Applied();
    if (applied.width() < 1 || applied.height() < 1 || (geometry.WindowState() & Qt::WindowMinimized))
        abort();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (!screen.contains(applied.topLeft()) && !screen.contains(QPoint(applied.x() + applied.width(), applied.y())))
        abort();
    return 0;
}
