#include "cWindowTestSupport.h"

#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cLayout.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QVector>
#include <QSettings>

void cWindowTestSupport::UseProgramFonts()
{
    QFontDatabase::addApplicationFont("://lato");
    QFontDatabase::addApplicationFont("://lato-bold");
    QGuiApplication::setFont(QFont("Lato", 10));
}

void cWindowTestSupport::UseProgramSetup(const QString& settingsFolder)
{
    QCoreApplication::setOrganizationName("Brelvan");
    QCoreApplication::setApplicationName("Kelvari Editor");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder);
    UseProgramFonts();
}

QObject* cWindowTestSupport::Find(QQuickWindow* window, const char* name)
{
    QObject* found = Search(window, name);
    found = found ? found : Search(window->contentItem()->parentItem(), name);
    if (!found)
        qFatal("no %s in the window", name);
    return found;
}

QObject* cWindowTestSupport::Search(QObject* object, const QString& name)
{
    // Most items are both object and visual children of one parent: each is looked at once, not once
    // for every way down to it, which doubles at every level of a deep page.
    QSet<const QObject*> seen;
    QVector<QObject*> pending{object};
    while (!pending.isEmpty()) {
        QObject* next = pending.takeLast();
        if (seen.contains(next))
            continue;
        seen.insert(next);
        if (next->objectName() == name)
            return next;
        QObjectList children = next->children();
        if (auto* item = qobject_cast<QQuickItem*>(next)) {
            const QList<QQuickItem*> items = item->childItems();
            std::copy(items.begin(), items.end(), std::back_inserter(children));
        }
        std::copy(children.rbegin(), children.rend(), std::back_inserter(pending));
    }
    return nullptr;
}

QList<QQuickItem*> cWindowTestSupport::FormattedTexts(QQuickItem* item)
{
    QList<QQuickItem*> found;
    const QMetaObject* type = item->metaObject();
    if (type->indexOfProperty("text") >= 0 && type->indexOfProperty("textFormat") >= 0)
        found << item;
    for (QQuickItem* child : item->childItems())
        found << FormattedTexts(child);
    return found;
}

void cWindowTestSupport::AddSampleWidgets(cLayout& layout)
{
    auto add = [&layout](const char* type, cWidget* container, int location, float x, float y, float w, float h) {
        return qobject_cast<cWidget*>(layout.createAndAddWidget(type, container, location, x, y, w, h));
    };
    add("text", nullptr, -1, 0.05f, 0.04f, 0.5f, 0.1f)->GetProperty("Text")->setValue("Monitor mix");
    add("rect", nullptr, -1, 0.05f, 0.18f, 0.42f, 0.74f)->GetProperty("Colour")->setValue(QColor("#2B3A42"));
    add("zrnet_fader", nullptr, -1, 0.08f, 0.22f, 0.08f, 0.66f);
    add("zrnet_fader", nullptr, -1, 0.2f, 0.22f, 0.08f, 0.66f);
    add("zrnet_rotary", nullptr, -1, 0.32f, 0.24f, 0.12f, 0.18f);
    add("image", nullptr, -1, 0.78f, 0.02f, 0.17f, 0.14f);
    cWidget* tabs = add("tab_container", nullptr, -1, 0.52f, 0.18f, 0.43f, 0.74f);
    add("zrnet_button", tabs, 0, 0.1f, 0.15f, 0.35f, 0.15f);
    add("zrnet_meter", tabs, 0, 0.6f, 0.1f, 0.1f, 0.8f);
    layout.closeUndoBlock();
}
