// Selecting and arranging many widgets of one layout page: select all, a drag step and a nudge of the
// whole selection, an align (also with the panel's groups following it), a copy and a paste, each next
// to a floor of as many plain property writes (one X write per selected widget, recorded for undo like
// any edit) timed in the same run. The page is shown by a canvas of plain QQuickItems, as the editor's
// canvas would show it, without QML.
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "support/cHeadlessLayoutView.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{
using tClock = std::chrono::steady_clock;
constexpr int kWidgets = 2000;
constexpr int kTabContainers = 20;
// A third of the widgets sit in the tab containers, spread over their three tabs.
constexpr int kWidgetsInTabs = kWidgets / 3;
constexpr int kRuns = 7;
const char* const kTypes[] = {"zrnet_fader", "zrnet_button", "zrnet_meter", "zrnet_rotary", "zrnet_led",
                              "text",        "rect",         "image",       "zrnet_text",   "zrnet_grmeter"};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median milliseconds of the timed step; prepare and restore run untimed around each run.
double MedianMs(const std::function<void()>& prepare, const std::function<void()>& step,
                const std::function<void()>& restore)
{
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run)
    {
        prepare();
        const auto start = tClock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(tClock::now() - start).count());
        restore();
    }
    return Median(ms);
}

void Build(cHeadlessLayoutView& view)
{
    QList<cWidget*> containers;
    for (int i = 0; i < kTabContainers; ++i)
        containers << view.Add("tab_container", QRectF(0.05 * (i % 10), 0.5 + 0.2 * (i / 10), 0.05, 0.2));
    for (int i = 0; i < kWidgets - kTabContainers; ++i)
    {
        const char* type = kTypes[i % 10];
        if (i < kWidgetsInTabs)
            view.Add(type, QRectF(0.1 * (i % 9), 0.1, 0.1, 0.1), containers.at(i % kTabContainers), i % 3);
        else
            view.Add(type, QRectF(0.001 * (i % 500), 0.001 * (i % 400), 0.02, 0.02));
    }
}

struct sFigures
{
    double floor, selectAll, dragStep, nudge, align, alignFollowed, groupWrite, copy, paste;
};

sFigures Measure(cLayout& layout, const QList<cWidget*>& chosen)
{
    cLayoutSelectionManager& selection = *layout.selectionManager();
    auto choose = [&] {
        selection.setSelection(nullptr);
        selection.SelectMultiple(chosen);
    };
    auto settle = [&] { layout.closeUndoBlock(); };
    auto undo = [&] {
        layout.undoPressed();
        layout.clearUndoRedo();
    };
    bool flip = false;
    sFigures f{};
    f.floor = MedianMs(
        [&] { flip = !flip; },
        [&] {
            for (cWidget* widget : chosen)
                widget->setXFraction(widget->xFraction() + (flip ? 0.001f : -0.001f));
        },
        settle);
    f.selectAll = chosen.size() == kWidgets ? MedianMs([&] { selection.setSelection(nullptr); },
                                                       [&] { selection.selectAll(); }, [] {})
                                            : 0;
    f.dragStep = MedianMs(
        [&] {
            choose();
            selection.selectionTransformStartOrEnd(true);
        },
        [&] { selection.setGroupEditOverlayX(static_cast<float>(selection.selectionRect().x() + 0.001), true); },
        [&] {
            selection.selectionTransformStartOrEnd(false);
            undo();
        });
    f.nudge = MedianMs(choose, [&] { selection.incrementGroupEditOverlayX(0.001f); }, undo);
    f.align = MedianMs(choose, [&] { layout.alignTopPressed(); }, undo);
    // The same align with the panel's groups checking their members again, as the event loop runs them.
    f.alignFollowed = MedianMs(
        choose,
        [&] {
            layout.alignTopPressed();
            QCoreApplication::processEvents();
        },
        undo);
    // A width typed into the panel for the whole selection.
    f.groupWrite = MedianMs(
        [&] {
            choose();
            QCoreApplication::processEvents();
        },
        [&] { selection.SetGroupProperty(QStringLiteral("Width"), 0.03); },
        undo);
    f.copy = MedianMs(choose, [&] { layout.copyPressed(); }, [] {});
    f.paste = MedianMs(choose, [&] { layout.pastePressed(); }, undo);
    return f;
}

void Print(const char* title, const sFigures& f)
{
    std::printf("%s\n  floor (X writes)  %8.2f ms\n", title, f.floor);
    const std::pair<const char*, double> rows[] = {{"select all", f.selectAll}, {"drag step", f.dragStep},
                                                    {"nudge", f.nudge},         {"align top", f.align},
                                                    {"align, followed", f.alignFollowed},
                                                    {"width typed", f.groupWrite},
                                                    {"copy", f.copy},           {"paste", f.paste}};
    for (const auto& row : rows)
    {
        if (row.second > 0)
            std::printf("  %-16s  %8.2f ms   / floor %6.1f\n", row.first, row.second, row.second / f.floor);
    }
}
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    cConfig config(nullptr);
    auto* layout = new cLayout(config);
    {
        cHeadlessLayoutView view(*layout, QSizeF(1920, 1080));
        Build(view);
        layout->clearUndoRedo();
        layout->selectionManager()->selectAll();
        const QList<cWidget*> all = layout->selectionManager()->GetSelectedWidgets();
        std::printf("layout: %d widgets, %d top level, medians of %d runs\n", all.size(),
                    layout->GetWidgets()->count(), kRuns);
        Print("all 2000 selected:", Measure(*layout, all));
        // 200 widgets from across the page, containers and their children among them.
        QList<cWidget*> some;
        for (int i = 0; i < all.size(); i += all.size() / 200)
            some << all.at(i);
        Print("200 selected:", Measure(*layout, some.mid(0, 200)));
    }
    delete layout;
    return 0;
}
