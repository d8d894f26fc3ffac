// The layout editor page under a real display: the first frame of a page of 1,000 widgets next to the
// first frame of 1,000 bare Labels in the same window, and the frame time while 200 selected widgets
// are dragged. Medians of a few runs.
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutSelectionManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontDatabase>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int kWidgets = 1000;
constexpr int kDragged = 200;
constexpr int kRuns = 7;
const char* const kTypes[] = {"text", "rect", "zrnet_fader", "image"};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from the call to the next frame the window shows.
template <typename tFunction>
double UntilNextFrame(QQuickWindow& window, tFunction function)
{
    QEventLoop loop;
    QElapsedTimer timer;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    timer.start();
    function();
    window.update();
    loop.exec();
    return timer.nsecsElapsed() / 1e6;
}

// A page of kWidgets widgets: the four kinds in turn on a grid, and one tab container holding some,
// added as a file adds them (without restacking after each).
void Fill(cConfig& config, cLayout& layout)
{
    auto make = [&](const char* type, float x, float y, float width, float height) {
        cWidget* widget = cEditorWidgetFactory::CreateWidget(QString::fromLatin1(type), config.GetNextId(), config,
                                                             &layout);
        widget->setXFraction(x);
        widget->setYFraction(y);
        widget->setWidthFraction(width);
        widget->setHeightFraction(height);
        return widget;
    };
    auto* tabs = qobject_cast<cContainer*>(make("tab_container", 0.7f, 0.7f, 0.29f, 0.29f));
    layout.AddWidget(tabs);
    for (int i = 1; i < kWidgets; ++i)
    {
        if (i % 20 == 0)
        {
            cWidget* child = make(kTypes[i % 4], 0.1f, 0.1f, 0.2f, 0.2f);
            tabs->AddContainerChild(child, i % 4);
            layout.LinkPropertiesToUndoManager(child);
        }
        else
        {
            layout.AddWidget(make(kTypes[i % 4], float(i % 40) / 40.0f, float(i / 40) / 26.0f, 0.024f, 0.036f));
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // For profiling the page's build alone.
    const bool firstFrameOnly = application.arguments().contains(QStringLiteral("--first-frame-only"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QFontDatabase::addApplicationFont(QStringLiteral("://lato"));
    QGuiApplication::setFont(QFont(QStringLiteral("Lato"), 10));

    cApplication editor;
    cConfig* config = editor.currentConfig();
    editor.createNewConfig();
    cLayout* layout = config->Layouts().At(0);
    Fill(*config, *layout);

    QQuickView view;
    view.engine()->rootContext()->setContextProperty(QStringLiteral("_application"), &editor);
    view.engine()->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(editor));
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(1920, 1080);
    view.setSource(QUrl(QStringLiteral("qrc:/LayoutEditorPage.qml")));
    if (!view.rootObject())
        return 1;
    view.show();
    QTest::qWaitForWindowExposed(&view);
    QQuickItem* page = view.rootObject();

    // The floor: the same number of bare Labels made into the same window.
    QQmlComponent labels(view.engine());
    labels.setData("import QtQuick 2.12\nimport QtQuick.Controls 2.12\n"
                   "Item { anchors.fill: parent; property int count: 0; property int offset: 0\n"
                   "  Repeater { model: parent.count\n"
                   "    Label { x: (index % 40) * 40 + (index < 200 ? parent.offset : 0);\n"
                   "            y: Math.floor(index / 40) * 30; text: 'Label ' + index } } }",
                   QUrl());
    std::vector<double> floor, pageFrame, dragFrame, dragFloor;
    for (int run = 0; run < kRuns; ++run)
    {
        QQuickItem* bare = qobject_cast<QQuickItem*>(labels.create());
        bare->setParentItem(view.contentItem());
        UntilNextFrame(view, [] {});
        floor.push_back(UntilNextFrame(view, [bare] { bare->setProperty("count", kWidgets); }));
        if (!firstFrameOnly)
        {
            // The drag's floor: 200 of the Labels moved by bindings, one frame per move.
            std::vector<double> frames;
            for (int step = 1; step <= 40; ++step)
                frames.push_back(UntilNextFrame(view, [bare, step] { bare->setProperty("offset", 2 * step); }));
            dragFloor.push_back(Median(frames));
        }
        delete bare;
        UntilNextFrame(view, [] {});

        pageFrame.push_back(UntilNextFrame(view, [page] { page->setProperty("layoutIndex", 0); }));
        // The image widgets draw themselves again at their area's size within a second of
        // being made; that belongs to opening the page, not to the drag.
        QTest::qWait(firstFrameOnly ? 100 : 1200);

        if (firstFrameOnly)
        {
            UntilNextFrame(view, [page] { page->setProperty("layoutIndex", -1); });
            continue;
        }
        // Drag the frame of 200 selected widgets, one frame per move.
        cLayoutSelectionManager* selection = layout->selectionManager();
        selection->setSelection(nullptr);
        for (int i = 0; i < kDragged; ++i)
            selection->addToSelection(layout->GetWidgets()->At(1 + i));
        QTest::qWait(100);
        auto* overlay = page->findChild<QQuickItem*>(QStringLiteral("groupEditOverlay"));
        QPoint at = overlay->mapToScene(QPointF(overlay->width() / 2, overlay->height() / 2)).toPoint();
        QTest::mousePress(&view, Qt::LeftButton, {}, at);
        std::vector<double> frames;
        for (int step = 0; step < 40; ++step)
        {
            at += QPoint(2, 1);
            frames.push_back(UntilNextFrame(view, [&] { QTest::mouseMove(&view, at); }));
        }
        QTest::mouseRelease(&view, Qt::LeftButton, {}, at);
        dragFrame.push_back(Median(frames));
        layout->undoPressed();

        UntilNextFrame(view, [page] { page->setProperty("layoutIndex", -1); });
    }
    const double floorMs = Median(floor);
    const double pageMs = Median(pageFrame);
    std::printf("1,000 bare Labels, first frame:      %8.1f ms\n", floorMs);
    std::printf("1,000 widgets on the page, first frame: %8.1f ms  (%.2f x the Labels)\n", pageMs, pageMs / floorMs);
    if (!firstFrameOnly)
    {
        const double dragFloorMs = Median(dragFloor);
        const double dragMs = Median(dragFrame);
        std::printf("moving 200 bare Labels:                %8.2f ms per frame (median)\n", dragFloorMs);
        std::printf("dragging 200 selected widgets:        %8.2f ms per frame (median)  (%.1f x the Labels)\n", dragMs,
                    dragMs / dragFloorMs);
    }
    return 0;
}
