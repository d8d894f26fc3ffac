#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cTextWidget.h"
#include "Kelvari/Editor/cApplication.h"
#include "support/cFakeApplication.h"
#include "support/cQmlWarningLog.h"
#include "support/cTestImageFiles.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <memory>

// Runs the Qt Quick tests with the program's resources: those in qml/ against a stand-in application,
// those in qml/editor/ against the real application, document and image provider.
class cQmlTestSetup : public QObject
{
    Q_OBJECT

public:
    // As "testWidgets": widgets of the object model, reached by property name as the pages reach them.
    Q_INVOKABLE QObject* createWidget(int id, const QString& type)
    {
        return type == "text" ? new cTextWidget(id, this)
                              : type == "rect" ? new cRectangleWidget(id, this) : new cWidget(id, type, this);
    }
    Q_INVOKABLE void setDisabled(QObject* widget, bool off) { qobject_cast<cWidget*>(widget)->SetDisabled(off); }
    Q_INVOKABLE QObject* findProperty(QObject* widget, const QString& name) const
    {
        return qobject_cast<cWidget*>(widget)->GetProperty(name);
    }

public slots:
    void applicationAvailable()
    {
        if (!QCoreApplication::arguments().join(' ').contains("/editor/"))
            return;
        QCoreApplication::setOrganizationName("Brelvan");
        QCoreApplication::setApplicationName("Kelvari Editor");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
        // The tests read back the files they save.
        qputenv("QML_XHR_ALLOW_FILE_READ", "1");
        mApplication = std::make_unique<cApplication>();
        QCoreApplication::instance()->installEventFilter(mApplication.get());
    }

    void qmlEngineAvailable(QQmlEngine* engine)
    {
        QQmlContext* context = engine->rootContext();
        context->setContextProperty("qmlWarnings", new cQmlWarningLog(engine));
        if (!mApplication) {
            context->setContextProperty("testWidgets", this);
            context->setContextProperty("_application", new cFakeApplication(engine));
            return;
        }
        context->setContextProperty("_application", mApplication.get());
        context->setContextProperty("testFolderUrl", QUrl::fromLocalFile(mFilesFolder.path()).toString());
        context->setContextProperty("testImages", new cTestImageFiles(engine));
        engine->addImageProvider("imageProvider", new cImageProvider(*mApplication));
    }

    // The pages' items go with the engine, before the document they show.
    void cleanupTestCase()
    {
        if (mApplication)
            QCoreApplication::instance()->removeEventFilter(mApplication.get());
    }

private:
    QTemporaryDir mSettingsFolder;
    QTemporaryDir mFilesFolder;
    std::unique_ptr<cApplication> mApplication;
};

QUICK_TEST_MAIN_WITH_SETUP(KelvariQml, cQmlTestSetup)

#include "QmlTestRunner.moc"
