#include "cWindowTestSupport.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>

void cWindowTestSupport::UseProgramFonts()
{
    QFontDatabase::addApplicationFont(QStringLiteral("://lato"));
    QFontDatabase::addApplicationFont(QStringLiteral("://lato-bold"));
    QGuiApplication::setFont(QFont(QStringLiteral("Lato"), 10));
}

void cWindowTestSupport::UseProgramSetup(const QString& settingsFolder)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder);
    UseProgramFonts();
}

QObject* cWindowTestSupport::Find(QQuickWindow* window, const char* name)
{
    QObject* found = Search(window, QLatin1String(name));
    if (!found)
        found = Search(window->contentItem()->parentItem(), QLatin1String(name));
    if (!found)
        qFatal("no %s in the window", name);
    return found;
}

QObject* cWindowTestSupport::Search(QObject* object, const QString& name)
{
    if (object->objectName() == name)
        return object;
    QObjectList next = object->children();
    if (auto* item = qobject_cast<QQuickItem*>(object)) {
        for (QQuickItem* child : item->childItems())
            next.append(child);
    }
    for (QObject* child : qAsConst(next)) {
        if (QObject* found = Search(child, name))
            return found;
    }
    return nullptr;
}
