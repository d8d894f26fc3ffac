// The layout manager's first frame over 100 layouts of 200 widgets each, next to the same grid in which
// every widget is a plain rectangle at the widget's place. Medians of a few runs.
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{
constexpr int kLayouts = 100;
constexpr int kWidgetsPerLayout = 200;
constexpr int kRuns = 5;
const char* const kTypes[] = {"zrnet_fader", "zrnet_button", "zrnet_meter", "zrnet_rotary", "zrnet_led",
                              "text",        "rect",         "image",       "zrnet_text",   "zrnet_grmeter"};

// The floor: the manager's grid of thumbnails, each holding one plain rectangle per widget.
const char* const kPlainGrid = R"(
import QtQuick 2.12
Rectangle {
    color: "#333333"
    readonly property real layoutWidth: (width - 20) / 4 - 20
    Flickable {
        anchors.fill: parent
        anchors.topMargin: 34
        clip: true
        contentHeight: grid.height + 40
        Grid {
            id: grid
            x: 20; y: 20; columns: 4; spacing: 20
            Repeater {
                model: _application.currentConfig.layouts
                Rectangle {
                    readonly property QtObject layout: model.qtObject
                    width: layoutWidth; height: 0.75 * layoutWidth
                    border.width: 2; border.color: "black"
                    Rectangle {
                        id: view
                        anchors.centerIn: parent
                        width: parent.width - 4; height: parent.height - 4
                        Repeater {
                            model: layout.widgets
                            Rectangle {
                                x: model.qtObject.xFraction * view.width
                                y: model.qtObject.yFraction * view.height
                                width: model.qtObject.widthFraction * view.width
                                height: model.qtObject.heightFraction * view.height
                                color: "#808080"
                            }
                        }
                    }
                }
            }
        }
    }
}
)";

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One layout built through the editing calls, then repeated with fresh widget ids and read as a whole
// document: adding widgets one by one to a document of many layouts costs far more than reading them.
void FillConfig(cConfig& config)
{
    config.deleteLayout(config.Layouts().At(0));
    config.createNewLayout(false, QStringLiteral("user"), true, true, true, 0, true, QString(), false, 4, 3,
                           QStringLiteral("Layout"));
    cLayout* layout = config.Layouts().At(0);
    for (int w = 0; w < kWidgetsPerLayout; ++w)
    {
        const QString type = QString::fromLatin1(kTypes[w % (sizeof kTypes / sizeof *kTypes)]);
        layout->createAndAddWidget(type, nullptr, -1, (w % 20) / 20.0f, (w / 20) / 10.0f, 0.05f, 0.1f);
    }
    const QString pattern = config.GetLayoutXml(layout);
    static const QRegularExpression widgetId(QStringLiteral("<Widget id=\"[0-9]+\""));
    QString document = QStringLiteral("<KelvariConfig version=\"1.0.0\"><Layouts>");
    int id = 0;
    for (int l = 0; l < kLayouts; ++l)
    {
        QString copy = pattern;
        copy.replace(QStringLiteral("users=\"user\""), QStringLiteral("users=\"user%1\"").arg(l));
        int from = 0;
        for (QRegularExpressionMatch match = widgetId.match(copy); match.hasMatch();
             match = widgetId.match(copy, from))
        {
            const QString fresh = QStringLiteral("<Widget id=\"%1\"").arg(id++);
            copy.replace(match.capturedStart(), match.capturedLength(), fresh);
            from = match.capturedStart() + fresh.size();
        }
        document += copy;
    }
    document += QStringLiteral("</Layouts></KelvariConfig>");
    if (!config.ReadXml(document.toUtf8()) || config.Layouts().count() != kLayouts)
    {
        std::fprintf(stderr, "the generated config did not load whole: %s\n", qPrintable(config.LoadFailureText()));
        std::exit(1);
    }
}

// Milliseconds from making the page to the window's first frame with it.
double FirstFrame(QQmlEngine& engine, QQuickWindow& window, QQmlComponent& component)
{
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QObject> object(component.beginCreate(engine.rootContext()));
    auto* page = qobject_cast<QQuickItem*>(object.get());
    if (!page)
    {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        std::exit(1);
    }
    page->setParentItem(window.contentItem());
    page->setSize(window.size());
    component.completeCreate();
    QEventLoop loop;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    window.update();
    loop.exec();
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    object.reset();
    // Let deferred deletions and the next frame settle before the next run.
    QEventLoop settle;
    QTimer::singleShot(200, &settle, &QEventLoop::quit);
    settle.exec();
    return milliseconds;
}
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    auto application = std::make_unique<cApplication>();
    QElapsedTimer fill;
    fill.start();
    FillConfig(*application->currentConfig());
    std::printf("config: %d layouts of %d widgets, made in %.0f ms\n", kLayouts, kWidgetsPerLayout,
                fill.nsecsElapsed() / 1e6);

    auto engine = std::make_unique<QQmlEngine>();
    engine->rootContext()->setContextProperty(QStringLiteral("_application"), application.get());
    engine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*application));
    QQuickWindow window;
    window.resize(1280, 800);
    window.show();

    QQmlComponent plain(engine.get());
    plain.setData(kPlainGrid, QUrl());
    QQmlComponent manager(engine.get(), QUrl(QStringLiteral("qrc:/LayoutManagerPage.qml")));
    std::vector<double> floors;
    std::vector<double> pages;
    for (int run = 0; run < kRuns; ++run)
    {
        floors.push_back(FirstFrame(*engine, window, plain));
        pages.push_back(FirstFrame(*engine, window, manager));
    }
    const double floor = Median(floors);
    const double page = Median(pages);
    std::printf("plain rectangles (floor) %8.0f ms (median of %d)\n", floor, kRuns);
    std::printf("layout manager page      %8.0f ms   page / floor %.2f\n", page, page / floor);
    window.close();
    engine.reset();
    return 0;
}
