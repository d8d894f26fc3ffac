#include "cBundleLocator.h"

#include <QCoreApplication>
#include <QDir>

QString cBundleLocator::BundlePath()
{
#ifdef Q_OS_MACOS
    // The executable lies in <bundle>.app/Contents/MacOS.
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../..")).absolutePath();
#else
    return QCoreApplication::applicationDirPath();
#endif
}

QString cBundleLocator::HelpDocumentPath()
{
    return QDir(BundlePath()).filePath(QStringLiteral("Contents/Resources/Help/Help.pdf"));
}
