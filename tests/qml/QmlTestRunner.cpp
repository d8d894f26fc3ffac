#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cTextWidget.h"
#include "support/cFakeApplication.h"
#include "support/cQmlWarningLog.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

// Lets the Qt Quick tests make widgets of the object model and reach their
// properties by name, as the editor's pages do through the layout.
class cQmlTestWidgets : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QObject* createWidget(int id, const QString& type)
    {
        if (type == QLatin1String("text"))
            return new cTextWidget(id, this);
        if (type == QLatin1String("rect"))
            return new cRectangleWidget(id, this);
        return new cWidget(id, type, this);
    }

    Q_INVOKABLE void setDisabled(QObject* widget, bool disabled)
    {
        if (auto* found = qobject_cast<cWidget*>(widget))
            found->SetDisabled(disabled);
    }

    Q_INVOKABLE QObject* findProperty(QObject* widget, const QString& name) const
    {
        auto* found = qobject_cast<cWidget*>(widget);
        return found ? found->GetProperty(name) : nullptr;
    }
};

// Runs the Qt Quick tests with the program's resources linked in, so that
// components load from "qrc:/" exactly as the editor loads them.
class cQmlTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("testWidgets"), new cQmlTestWidgets(engine));
        // The main window's tests run against a stand-in application object
        // and fail on any warning that their pages cause.
        engine->rootContext()->setContextProperty(QStringLiteral("_application"), new cFakeApplication(engine));
        engine->rootContext()->setContextProperty(QStringLiteral("qmlWarnings"), new cQmlWarningLog(engine));
    }
};

QUICK_TEST_MAIN_WITH_SETUP(KelvariQml, cQmlTestSetup)

#include "QmlTestRunner.moc"
