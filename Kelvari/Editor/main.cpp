#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Editor/cApplication.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QQmlApplicationEngine>
#include <QQmlContext>

#include <memory>

int main(int argc, char* argv[])
{
    // A QApplication (not only a QGuiApplication) gives Qt.labs.platform its widget fallback.
    QApplication guiApplication(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));

    QFontDatabase::addApplicationFont(QStringLiteral("://lato"));
    if (QFontDatabase::addApplicationFont(QStringLiteral("://lato-bold")) == -1)
        ZR_ERROR("Could not load font");
    const QFont font(QStringLiteral("Lato"), 10);
    QGuiApplication::setFont(font);

    auto engine = std::make_unique<QQmlApplicationEngine>();
    cApplication application;
    guiApplication.installEventFilter(&application);
    auto* imageProvider = new cImageProvider(application);
    engine->rootContext()->setContextProperty(QStringLiteral("_application"), &application);
    engine->addImageProvider(QStringLiteral("imageProvider"), imageProvider);
    engine->load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine->rootObjects().isEmpty())
        return -1;

    application.StartZRNet();
    const int result = guiApplication.exec();

    engine->removeImageProvider(QStringLiteral("imageProvider"));
    // The pages and their bindings go before the objects they show: deleting
    // the config under live items would leave them bound to freed objects.
    engine.reset();
    return result;
}
