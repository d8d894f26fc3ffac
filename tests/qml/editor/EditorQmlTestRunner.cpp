#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Editor/cApplication.h"
#include "support/cQmlWarningLog.h"
#include "support/cTestImageFiles.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtQuickTest>

#include <memory>

// Runs the editing pages' Qt Quick tests against the real application object
// and config document, with the image provider, as the program runs them.
class cEditorQmlTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
        QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
        // The tests read back the files they save.
        qputenv("QML_XHR_ALLOW_FILE_READ", "1");
        mApplication = std::make_unique<cApplication>();
        QCoreApplication::instance()->installEventFilter(mApplication.get());
    }

    void qmlEngineAvailable(QQmlEngine* engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("_application"), mApplication.get());
        engine->rootContext()->setContextProperty(QStringLiteral("qmlWarnings"), new cQmlWarningLog(engine));
        engine->rootContext()->setContextProperty(QStringLiteral("testFolderUrl"),
                                                  QUrl::fromLocalFile(mFilesFolder.path()).toString());
        engine->rootContext()->setContextProperty(QStringLiteral("testImages"), new cTestImageFiles(engine));
        engine->addImageProvider(QStringLiteral("imageProvider"), new cImageProvider(*mApplication));
    }

    void cleanupTestCase()
    {
        // The pages' items go with the engine, before the document they show.
        QCoreApplication::instance()->removeEventFilter(mApplication.get());
    }

private:
    QTemporaryDir mSettingsFolder;
    QTemporaryDir mFilesFolder;
    std::unique_ptr<cApplication> mApplication;
};

QUICK_TEST_MAIN_WITH_SETUP(KelvariEditorQml, cEditorQmlTestSetup)

#include "EditorQmlTestRunner.moc"
