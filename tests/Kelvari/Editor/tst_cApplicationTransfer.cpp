#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Editor/cApplication.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cSimulatedUnit.h"

#include <QImage>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QString kPassword = QStringLiteral("secret");

// The outcome signals of the application, in the order they came.
struct sOutcomes
{
    explicit sOutcomes(cApplication& application)
    {
        const auto record = [this](const char* name) { return [this, name] { mSignals << name; }; };
        QObject::connect(&application, &cApplication::uploadConfigSuccessful, record("uploadConfigSuccessful"));
        QObject::connect(&application, &cApplication::uploadConfigFailed, record("uploadConfigFailed"));
        QObject::connect(&application, &cApplication::downloadConfigSuccessful, record("downloadConfigSuccessful"));
        QObject::connect(&application, &cApplication::downloadConfigFailed, record("downloadConfigFailed"));
    }
    bool WaitFor(int count) { return QTest::qWaitFor([&] { return mSignals.size() >= count; }, 8000); }

    QStringList mSignals;
};

QStringList LayoutNames(const cApplication& application)
{
    QStringList names;
    for (const cLayout* layout : application.currentConfig()->Layouts().Items())
        names << layout->name();
    return names;
}

QByteArray DocumentXml(cApplication& application)
{
    QByteArray bytes;
    application.currentConfig()->WriteXml(bytes);
    return bytes;
}

void AddLayout(cApplication& application, const QString& name)
{
    application.currentConfig()->createNewLayout(true, QString(), true, false, false, 0, true, QString(), false, 4, 3,
                                                 name);
}
}

// Upload and download through the application object against the simulated
// unit: outcomes, reasons, progress, the document afterwards, and that no
// transfer leaves its client behind or is disturbed by another.
class tst_cApplicationTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void anUploadStoresTheDocumentOnTheUnit();
    void uploadFailuresSayWhy_data();
    void uploadFailuresSayWhy();
    void aDownloadReplacesTheDocumentAndItsFileName();
    void downloadFailuresSayWhy_data();
    void downloadFailuresSayWhy();
    void aRunningTransferIgnoresSecondStartsAndLateSignals();
    void withoutTheMessagingLayerATransferFailsAtOnce();

private:
    std::unique_ptr<cApplication> Application(const cSimulatedUnit& unit, const QString& host = "127.0.0.1");
    // Adds a picture of noise, so that the document's XML spans several chunks.
    void MakeDocumentLarge(cApplication& application);
    static bool NoClientLeft();
    static QStringList UnitArguments(const QStringList& extra);

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<QTemporaryDir> mFolder;
};

void tst_cApplicationTransfer::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brelvan"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvari Editor"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mSettingsFolder.path());
}

void tst_cApplicationTransfer::init()
{
    QSettings().clear();
    mFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(mFolder->isValid());
}

std::unique_ptr<cApplication> tst_cApplicationTransfer::Application(const cSimulatedUnit& unit, const QString& host)
{
    auto application = std::make_unique<cApplication>();
    application->StartZRNet();
    cNetworkConnection::Instance()->SetUnitTcpPort(unit.TcpPort());
    application->connectionInterface()->connectToHostByIpAddress(host);
    application->setAdminPassword(kPassword);
    application->createNewConfig();
    return application;
}

void tst_cApplicationTransfer::MakeDocumentLarge(cApplication& application)
{
    QImage noise(200, 200, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate());
    const QString path = mFolder->filePath(QStringLiteral("noise.png"));
    QVERIFY(noise.save(path));
    QVERIFY(!application.currentConfig()->addNewImage(QUrl::fromLocalFile(path)).isEmpty());
    QVERIFY(DocumentXml(application).size() > 3 * 32000);
}

// The client's net name is free again only once the client is gone.
bool tst_cApplicationTransfer::NoClientLeft()
{
    SyscallMessagesPollLock();
    const bool free = cKelvariConfigClient("KelvariConfigClient").Handle() != kZRNetNoHandle;
    SyscallMessagesPollUnLock();
    return free;
}

QStringList tst_cApplicationTransfer::UnitArguments(const QStringList& extra)
{
    return QStringList{"--admin-password-hash", QString::fromStdString(cApplication::GetHashedPassword(kPassword))} +
           extra;
}

void tst_cApplicationTransfer::anUploadStoresTheDocumentOnTheUnit()
{
    const QString uploaded = mFolder->filePath(QStringLiteral("uploaded"));
    cSimulatedUnit unit(UnitArguments({"--upload-file", uploaded}));
    QVERIFY(unit.Start());
    auto application = Application(unit);
    MakeDocumentLarge(*application);
    sOutcomes outcomes(*application);
    QVector<float> progress;
    connect(application.get(), &cApplication::uploadProgressChanged, this,
            [&] { progress << application->uploadProgress(); });

    for (int upload = 1; upload <= 2; ++upload)
    {
        progress.clear();
        // Every upload starts the bar from nothing, also after one that ended at 1.
        application->uploadConfig();
        QCOMPARE(application->uploadProgress(), 0.0f);
        QCOMPARE(progress, upload == 1 ? QVector<float>() : QVector<float>{0.0f});
        QVERIFY(outcomes.WaitFor(upload));
        QCOMPARE(outcomes.mSignals.last(), QString("uploadConfigSuccessful"));
        QVERIFY(application->uploadConfigFailureReason().isEmpty());
        QVERIFY(NoClientLeft());
        QFile file(uploaded);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == DocumentXml(*application));
        QVERIFY(progress.size() >= 3);
        QCOMPARE(progress.last(), 1.0f);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(application->uploadProgress(), 1.0f);
    }
    QCOMPARE(unit.Reports().filter("UPLOADED").size(), 2);
}

void tst_cApplicationTransfer::uploadFailuresSayWhy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("reason");
    QTest::newRow("wrong password") << QStringList() << "guess" << "127.0.0.1" << "Incorrect password";
    QTest::newRow("busy unit") << QStringList{"--busy"} << kPassword << "127.0.0.1"
                               << "Another upload was already in progress";
    QTest::newRow("connection dropped mid-way")
        << QStringList{"--drop-after-chunk", "1"} << kPassword << "127.0.0.1"
        << "The connection to the Dorvel was lost during the upload";
    QTest::newRow("unit error") << QStringList{"--unit-error"} << kPassword << "127.0.0.1"
                                << "Dorvel encountered an error while processing the upload";
    QTest::newRow("no config manager at the address") << QStringList() << kPassword << "127.0.0.2"
                                                      << "Unknown error";
}

void tst_cApplicationTransfer::uploadFailuresSayWhy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(QString, host);
    QFETCH(QString, reason);
    cSimulatedUnit unit(UnitArguments(arguments));
    QVERIFY(unit.Start());
    auto application = Application(unit, host);
    application->setAdminPassword(password);
    MakeDocumentLarge(*application);
    sOutcomes outcomes(*application);

    application->uploadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QCOMPARE(outcomes.mSignals, QStringList{"uploadConfigFailed"});
    QCOMPARE(application->uploadConfigFailureReason(), reason);
    QVERIFY(NoClientLeft());
    QTest::qWait(100);
    QCOMPARE(outcomes.mSignals.size(), 1);
    if (password != kPassword)
        QCOMPARE(unit.Reports(), QStringList{"LOGIN refused"});
}

void tst_cApplicationTransfer::aDownloadReplacesTheDocumentAndItsFileName()
{
    const QString stored = mFolder->filePath(QStringLiteral("stored.xml"));
    QStringList remoteNames;
    {
        cApplication author;
        author.createNewConfig();
        AddLayout(author, QStringLiteral("Remote"));
        remoteNames = LayoutNames(author);
        QVERIFY(author.saveConfig(QUrl::fromLocalFile(stored)));
    }
    cSimulatedUnit unit(UnitArguments({"--stored-config", stored}));
    QVERIFY(unit.Start());
    auto application = Application(unit);
    AddLayout(*application, QStringLiteral("Local"));
    QVERIFY(application->saveConfig(QUrl::fromLocalFile(mFolder->filePath(QStringLiteral("local.xml")))));
    sOutcomes outcomes(*application);

    application->downloadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QCOMPARE(outcomes.mSignals, QStringList{"downloadConfigSuccessful"});
    QCOMPARE(LayoutNames(*application), remoteNames);
    // No file behind the document: the title says "New config" and Save asks for one.
    QVERIFY(application->currentFilename().isEmpty());
    QVERIFY(application->downloadConfigFailureReason().isEmpty());
    QVERIFY(NoClientLeft());
}

void tst_cApplicationTransfer::downloadFailuresSayWhy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("storedConfig");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no stored config") << QStringList() << kPassword << QByteArray()
                                      << "Unit does not have a stored configuration";
    QTest::newRow("wrong password") << QStringList() << "guess" << QByteArray("<KelvariConfig/>")
                                    << "Incorrect password";
    QTest::newRow("unit error") << QStringList{"--unit-error"} << kPassword << QByteArray("<KelvariConfig/>")
                                << "Dorvel encountered an error while processing the download";
    // Empty reason: the document's own text for a file it cannot read.
    QTest::newRow("stored config is not a config") << QStringList() << kPassword << QByteArray("<Other/>")
                                                   << QString();
}

// A failure before the file is read keeps the document and its file name;
// a file that cannot be read leaves no file name behind.
void tst_cApplicationTransfer::downloadFailuresSayWhy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(QByteArray, storedConfig);
    QFETCH(QString, reason);
    if (!storedConfig.isEmpty())
    {
        QFile file(mFolder->filePath(QStringLiteral("stored.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(storedConfig);
        arguments << "--stored-config" << file.fileName();
    }
    cSimulatedUnit unit(UnitArguments(arguments));
    QVERIFY(unit.Start());
    auto application = Application(unit);
    application->setAdminPassword(password);
    AddLayout(*application, QStringLiteral("Local"));
    const QString local = mFolder->filePath(QStringLiteral("local.xml"));
    QVERIFY(application->saveConfig(QUrl::fromLocalFile(local)));
    const QByteArray before = DocumentXml(*application);
    sOutcomes outcomes(*application);

    application->downloadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QCOMPARE(outcomes.mSignals, QStringList{"downloadConfigFailed"});
    QVERIFY(NoClientLeft());
    if (reason.isEmpty())
    {
        QVERIFY(!application->currentConfig()->LoadFailureText().isEmpty());
        QCOMPARE(application->downloadConfigFailureReason(), application->currentConfig()->LoadFailureText());
        QVERIFY(application->currentFilename().isEmpty());
        return;
    }
    QCOMPARE(application->downloadConfigFailureReason(), reason);
    QVERIFY(DocumentXml(*application) == before);
    QCOMPARE(application->currentFilename(), local);
}

// A start while a transfer runs is refused and leaves it alone; a second end
// signal of the same client, or one of a client whose transfer has ended, is
// dropped, also when a new transfer was started from the outcome's handler.
void tst_cApplicationTransfer::aRunningTransferIgnoresSecondStartsAndLateSignals()
{
    cSimulatedUnit unit(UnitArguments({}));
    QVERIFY(unit.Start());
    auto application = Application(unit);
    sOutcomes outcomes(*application);
    QVector<float> progress;
    connect(application.get(), &cApplication::uploadProgressChanged, this,
            [&] { progress << application->uploadProgress(); });
    QString firstReason;
    connect(application.get(), &cApplication::uploadConfigFailed, this, [&] {
        firstReason = application->uploadConfigFailureReason();
        application->uploadConfig();
    });

    application->uploadConfig();
    cKelvariConfigClient* first = application->findChild<cKelvariConfigClient*>();
    QVERIFY(first);
    application->uploadConfig();
    application->downloadConfig();
    QCOMPARE(application->findChildren<cKelvariConfigClient*>(), QList<cKelvariConfigClient*>{first});

    emit first->UploadConfigFailed();
    emit first->UploadConfigSuccessful();
    emit first->UploadProgress(0.5f);
    QVERIFY(outcomes.WaitFor(2));
    QCOMPARE(outcomes.mSignals, (QStringList{"uploadConfigFailed", "uploadConfigSuccessful"}));
    QCOMPARE(firstReason, QString("Unknown error"));
    QVERIFY(application->uploadConfigFailureReason().isEmpty());
    QVERIFY(!progress.contains(0.5f));
    QCOMPARE(application->uploadProgress(), 1.0f);
    QTest::qWait(100);
    QCOMPARE(outcomes.mSignals.size(), 2);
    QVERIFY(NoClientLeft());
    QCOMPARE(unit.Reports().filter("UPLOADED").size(), 1);
}

void tst_cApplicationTransfer::withoutTheMessagingLayerATransferFailsAtOnce()
{
    cApplication application;
    sOutcomes outcomes(application);
    application.downloadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QCOMPARE(outcomes.mSignals, QStringList{"downloadConfigFailed"});
    QCOMPARE(application.downloadConfigFailureReason(), QString("Unknown error"));
    application.uploadConfig();
    QVERIFY(outcomes.WaitFor(2));
    QCOMPARE(outcomes.mSignals.last(), QString("uploadConfigFailed"));
}

QTEST_MAIN(tst_cApplicationTransfer)
#include "tst_cApplicationTransfer.moc"
