#include <QApplication>
#include <QQmlApplicationEngine>

int main(int argc, char* argv[])
{
    // A QApplication (not only a QGuiApplication) gives Qt.labs.platform its widget fallback.
    QApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return -1;
    return app.exec();
}
