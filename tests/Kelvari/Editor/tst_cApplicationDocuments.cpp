#include "ConfigTestData.h"

#include "Kelvari/Editor/cApplication.h"
#include "support/cTraceCapture.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace ConfigTestData;

// New, open and save through real files: the file name, the dirty flag and
// the remembered folder afterwards, and failures that keep the user's data.
class tst_cApplicationDocuments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void savedConfigsOpenAgainWithTheirLayouts();
    void openingWhatCannotBeReadSaysWhy();
    void aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty_data();
    void aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty();
    void aSaveCutShortLeavesThePreviousFileWhole();

private:
    QString FilePath(const QString& name) const { return mFolder->filePath(name); }
    // A new document with one layout added, so that it is dirty.
    static void NewDirtyDocument(cApplication& application)
    {
        application.createNewConfig();
        AddLayout(*application.currentConfig(), QStringLiteral("Stage"));
    }

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<QTemporaryDir> mFolder;
};

void tst_cApplicationDocuments::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
}

void tst_cApplicationDocuments::init()
{
    QSettings().clear();
    mFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(mFolder->isValid());
}

void tst_cApplicationDocuments::savedConfigsOpenAgainWithTheirLayouts()
{
    const QString path = FilePath(QStringLiteral("show.xml"));
    const QString folderUrl = QUrl::fromLocalFile(mFolder->path()).toString();
    {
        cApplication application;
        NewDirtyDocument(application);
        QVERIFY(application.currentConfig()->dirty());
        QVERIFY(application.saveConfig(QUrl::fromLocalFile(path)));
        QCOMPARE(application.currentFilename(), path);
        QVERIFY(!application.currentConfig()->dirty());
        // A local-file URL with exactly three slashes.
        QCOMPARE(application.lastConfigFilePath(), folderUrl);
        QVERIFY(folderUrl.startsWith(QLatin1String("file:///")) && !folderUrl.startsWith(QLatin1String("file:////")));
        QCOMPARE(QSettings().value(QStringLiteral("LCL")).toString(), mFolder->path());

        // Saving again goes to the same file.
        AddLayout(*application.currentConfig(), QStringLiteral("Foyer"));
        QVERIFY(application.saveConfig());
        QVERIFY(!application.currentConfig()->dirty());
    }

    cApplication application;
    QCOMPARE(application.lastConfigFilePath(), folderUrl);
    QVERIFY(application.loadConfig(QUrl::fromLocalFile(path)));
    QCOMPARE(application.currentFilename(), path);
    QVERIFY(!application.currentConfig()->dirty());
    QStringList names = LayoutNames(*application.currentConfig());
    names.sort();
    QCOMPARE(names, QStringList({"Foyer", "Layout 1", "Stage"}));

    application.createNewConfig();
    QCOMPARE(application.currentFilename(), QString());
    QCOMPARE(LayoutNames(*application.currentConfig()), QStringList({"Layout 1"}));

    // A folder that has gone is offered no more.
    QVERIFY(mFolder->remove());
    QCOMPARE(application.lastConfigFilePath(), QString());
}

void tst_cApplicationDocuments::openingWhatCannotBeReadSaysWhy()
{
    cApplication application;
    const QString good = FilePath(QStringLiteral("good.xml"));
    application.createNewConfig();
    QVERIFY(application.saveConfig(QUrl::fromLocalFile(good)));

    cTraceCapture capture;
    const QUrl missing = QUrl::fromLocalFile(FilePath(QStringLiteral("missing.xml")));
    QVERIFY(!application.loadConfig(missing));
    QCOMPARE(application.loadConfigFailureReason(), QStringLiteral("Error opening file ") + missing.toString());
    QCOMPARE(capture.LinesContaining(QStringLiteral("ERROR: Error opening file ") + missing.toString()).size(), 1);
    QCOMPARE(application.currentFilename(), good);

    QFile garbage(FilePath(QStringLiteral("garbage.xml")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("this is not a config");
    garbage.close();
    QVERIFY(!application.loadConfig(QUrl::fromLocalFile(garbage.fileName())));
    QVERIFY(!application.loadConfigFailureReason().isEmpty());
    QCOMPARE(application.loadConfigFailureReason(), application.currentConfig()->LoadFailureText());
    QCOMPARE(application.currentFilename(), good);

    // The next attempt starts with no reason.
    QVERIFY(application.loadConfig(QUrl::fromLocalFile(good)));
    QCOMPARE(application.loadConfigFailureReason(), QString());
}

void tst_cApplicationDocuments::aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty_data()
{
    QTest::addColumn<QString>("setUp");
    // Running as root passes by folder permissions, so the first row fails for every user.
    QTest::newRow("folder inside a regular file") << "file";
    QTest::newRow("folder without write permission") << "read-only";
}

void tst_cApplicationDocuments::aSaveThatCannotCreateTheFileFailsAndKeepsTheDocumentDirty()
{
    QFETCH(QString, setUp);
    QString path;
    if (setUp == QLatin1String("file"))
    {
        QFile plain(FilePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        path = plain.fileName() + QStringLiteral("/show.xml");
    }
    else
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QVERIFY(QDir(mFolder->path()).mkdir(QStringLiteral("locked")));
        QVERIFY(QFile::setPermissions(FilePath(QStringLiteral("locked")),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        path = FilePath(QStringLiteral("locked/show.xml"));
    }

    cApplication application;
    NewDirtyDocument(application);
    cTraceCapture capture;
    QVERIFY(!application.saveConfig(QUrl::fromLocalFile(path)));
    QCOMPARE(application.saveConfigFailureReason(),
             QStringLiteral("Error opening file ") + path + QStringLiteral(" for writing"));
    QVERIFY(!capture.LinesContaining(QStringLiteral("ERROR: Error opening file ") + path).isEmpty());
    QVERIFY(application.currentConfig()->dirty());
    QCOMPARE(application.currentFilename(), QString());
    QCOMPARE(application.lastConfigFilePath(), QString());
    QVERIFY(!QFile::exists(path));
}

void tst_cApplicationDocuments::aSaveCutShortLeavesThePreviousFileWhole()
{
    const QString path = FilePath(QStringLiteral("show.xml"));
    const QByteArray previous = "<KelvariConfig version=\"1.0.0\"/>";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    cApplication application;
    NewDirtyDocument(application);

    // A full disk, as far as this process can tell: no file may grow past 256 bytes.
    rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 256;
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = application.saveConfig(QUrl::fromLocalFile(path));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    QVERIFY(!written);
    QVERIFY(!application.saveConfigFailureReason().isEmpty());
    QVERIFY(application.currentConfig()->dirty());
    QCOMPARE(application.currentFilename(), QString());
    QCOMPARE(FileBytes(path), previous);
    QCOMPARE(QDir(mFolder->path()).entryList(QDir::Files), QStringList({"show.xml"}));
}

QTEST_MAIN(tst_cApplicationDocuments)
#include "tst_cApplicationDocuments.moc"
