#include "ConfigTestData.h"

#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Editor/cApplication.h"
#include "ZRNet/Core/Syscall.h"
#include "ZRNet/Qt/cNetworkConnection.h"
#include "support/cSimulatedUnit.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace ConfigTestData;

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

QByteArray DocumentXml(cApplication& application)
{
    QByteArray bytes;
    application.currentConfig()->WriteXml(bytes);
    return bytes;
}

// The client's net name is free again only once the client is gone.
bool NoClientLeft()
{
    SyscallMessagesPollLock();
    const bool free = cKelvariConfigClient("KelvariConfigClient").Handle() != kZRNetNoHandle;
    SyscallMessagesPollUnLock();
    return free;
}

QStringList UnitArguments(const QStringList& extra)
{
    return QStringList{"--admin-password-hash", QString::fromStdString(cApplication::GetHashedPassword(kPassword))} +
           extra;
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
    void downloadsReplaceTheDocumentOrSayWhyNot_data();
    void downloadsReplaceTheDocumentOrSayWhyNot();
    void aRunningTransferIgnoresSecondStartsAndLateSignals();
    void onlyAPasswordTheUnitAcceptedIsRemembered();
    void aStalledUploadCanBeCancelled();
    void withoutTheMessagingLayerATransferFailsAtOnce();

private:
    std::unique_ptr<cApplication> Application(const cSimulatedUnit& unit, const QString& password = kPassword);
    // A picture of noise, so that the document's XML spans several chunks.
    void MakeDocumentLarge(cApplication& application);

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
}

std::unique_ptr<cApplication> tst_cApplicationTransfer::Application(const cSimulatedUnit& unit,
                                                                    const QString& password)
{
    auto application = std::make_unique<cApplication>();
    application->StartZRNet();
    cNetworkConnection::Instance()->SetUnitTcpPort(unit.TcpPort());
    application->connectionInterface()->connectToHostByIpAddress(QStringLiteral("127.0.0.1"));
    application->setAdminPassword(password);
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
        QVERIFY(outcomes.WaitFor(upload));
        QCOMPARE(outcomes.mSignals.last(), QString("uploadConfigSuccessful"));
        QVERIFY(NoClientLeft());
        QCOMPARE(FileBytes(uploaded), DocumentXml(*application));
        QVERIFY(progress.size() >= 3);
        QCOMPARE(progress.last(), 1.0f);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    }
    QCOMPARE(unit.Reports().filter("UPLOADED").size(), 2);
}

void tst_cApplicationTransfer::uploadFailuresSayWhy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("reason");
    QTest::newRow("wrong password") << QStringList() << "guess" << "Incorrect password";
    QTest::newRow("busy unit") << QStringList{"--busy"} << kPassword << "Another upload was already in progress";
    QTest::newRow("connection dropped mid-way") << QStringList{"--drop-after-chunk", "1"} << kPassword
                                                << "The connection to the Dorvel was lost during the upload";
    QTest::newRow("unit error") << QStringList{"--unit-error"} << kPassword
                                << "Dorvel encountered an error while processing the upload";
    QTest::newRow("document cannot be written") << QStringList() << kPassword
                                                << "The config could not be written for the upload";
}

void tst_cApplicationTransfer::uploadFailuresSayWhy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(QString, reason);
    cSimulatedUnit unit(UnitArguments(arguments));
    QVERIFY(unit.Start());
    auto application = Application(unit, password);
    MakeDocumentLarge(*application);
    const bool unwritable = reason.contains("written");
    cConfig* config = application->currentConfig();
    if (unwritable)
        config->InsertNewResource(new cImageResource(config, "90", "x", QImage(), "<svg/>", QString(QChar(1)), config));
    sOutcomes outcomes(*application);

    application->uploadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QCOMPARE(application->uploadConfigFailureReason(), reason);
    QVERIFY(NoClientLeft());
    QTest::qWait(100);
    QCOMPARE(outcomes.mSignals, QStringList{"uploadConfigFailed"});
    if (password != kPassword)
        QCOMPARE(unit.Reports(), QStringList{"LOGIN refused"});
    if (unwritable)
        QCOMPARE(unit.Reports(), QStringList{"LOGIN accepted"});
}

void tst_cApplicationTransfer::downloadsReplaceTheDocumentOrSayWhyNot_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("storedConfig");
    QTest::addColumn<QString>("reason");
    // Empty reason: success for a real document, else the document's own text for a file it cannot read.
    QTest::newRow("stored config") << QStringList() << QByteArray("document") << QString();
    QTest::newRow("no stored config") << QStringList() << QByteArray()
                                      << "Unit does not have a stored configuration";
    QTest::newRow("unit error") << QStringList{"--unit-error"} << QByteArray("<KelvariConfig/>")
                                << "Dorvel encountered an error while processing the download";
    QTest::newRow("stored config is not a config") << QStringList() << QByteArray("<Other/>") << QString();
}

// A failure before the file is read keeps the document and its file name; a
// downloaded document, or one that cannot be read, has no file behind it.
void tst_cApplicationTransfer::downloadsReplaceTheDocumentOrSayWhyNot()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, storedConfig);
    QFETCH(QString, reason);
    const QString stored = mFolder->filePath(QStringLiteral("stored.xml"));
    QStringList remoteNames;
    if (storedConfig == "document")
    {
        cApplication author;
        author.createNewConfig();
        AddLayout(*author.currentConfig(), QStringLiteral("Remote"));
        remoteNames = LayoutNames(*author.currentConfig());
        QVERIFY(author.saveConfig(QUrl::fromLocalFile(stored)));
    }
    else if (!storedConfig.isEmpty())
    {
        QFile file(stored);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(storedConfig) == storedConfig.size());
    }
    if (!storedConfig.isEmpty())
        arguments << "--stored-config" << stored;
    cSimulatedUnit unit(UnitArguments(arguments));
    QVERIFY(unit.Start());
    auto application = Application(unit);
    AddLayout(*application->currentConfig(), QStringLiteral("Local"));
    const QString local = mFolder->filePath(QStringLiteral("local.xml"));
    QVERIFY(application->saveConfig(QUrl::fromLocalFile(local)));
    const QByteArray before = DocumentXml(*application);
    sOutcomes outcomes(*application);

    application->downloadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QVERIFY(NoClientLeft());
    if (!remoteNames.isEmpty())
    {
        QCOMPARE(outcomes.mSignals, QStringList{"downloadConfigSuccessful"});
        QCOMPARE(LayoutNames(*application->currentConfig()), remoteNames);
        QVERIFY(application->currentFilename().isEmpty());
        return;
    }
    QCOMPARE(outcomes.mSignals, QStringList{"downloadConfigFailed"});
    if (reason.isEmpty())
    {
        QVERIFY(!application->downloadConfigFailureReason().isEmpty());
        QCOMPARE(application->downloadConfigFailureReason(), application->currentConfig()->LoadFailureText());
        QVERIFY(application->currentFilename().isEmpty());
        return;
    }
    QCOMPARE(application->downloadConfigFailureReason(), reason);
    QCOMPARE(DocumentXml(*application), before);
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
    QCOMPARE(firstReason, QString("Unknown error"));
    QVERIFY(!progress.contains(0.5f));
    QCOMPARE(application->uploadProgress(), 1.0f);
    QTest::qWait(100);
    QCOMPARE(outcomes.mSignals, (QStringList{"uploadConfigFailed", "uploadConfigSuccessful"}));
    QVERIFY(NoClientLeft());
    QCOMPARE(unit.Reports().filter("UPLOADED").size(), 1);
}

// A refused password is forgotten, in memory and in the store, so that the
// next transfer asks again; an accepted one is stored, and survives a later
// refusal of a newly typed password.
void tst_cApplicationTransfer::onlyAPasswordTheUnitAcceptedIsRemembered()
{
    cSimulatedUnit unit(UnitArguments({}));
    QVERIFY(unit.Start());
    auto application = Application(unit, QStringLiteral("guess"));
    sOutcomes outcomes(*application);
    const auto stored = [] { return QSettings().value(QStringLiteral("AP")).toString(); };
    QVERIFY(application->adminPasswordStored());
    QCOMPARE(stored(), QString());

    application->uploadConfig();
    QVERIFY(outcomes.WaitFor(1));
    QCOMPARE(application->uploadConfigFailureReason(), QString("Incorrect password"));
    QVERIFY(!application->adminPasswordStored());
    QCOMPARE(stored(), QString());

    application->setAdminPassword(kPassword);
    application->downloadConfig();
    QVERIFY(outcomes.WaitFor(2));
    QCOMPARE(stored(), QString::fromStdString(cApplication::GetHashedPassword(kPassword)));

    application->setAdminPassword(QStringLiteral("typo"));
    application->uploadConfig();
    QVERIFY(outcomes.WaitFor(3));
    QVERIFY(!application->adminPasswordStored());
    QCOMPARE(stored(), QString::fromStdString(cApplication::GetHashedPassword(kPassword)));
    QCOMPARE(outcomes.mSignals.last(), QString("uploadConfigFailed"));
}

// Cancel ends a transfer that the unit stopped answering at once, with its
// client and without an outcome, and the next transfer can start.
void tst_cApplicationTransfer::aStalledUploadCanBeCancelled()
{
    cSimulatedUnit unit(UnitArguments({"--stall-after-chunk", "0"}));
    QVERIFY(unit.Start());
    auto application = Application(unit);
    MakeDocumentLarge(*application);
    sOutcomes outcomes(*application);

    application->cancelTransfer();
    application->uploadConfig();
    QTRY_VERIFY_WITH_TIMEOUT(!unit.Reports().filter(QStringLiteral("CHUNK index=0")).isEmpty(), 8000);
    QTest::qWait(200);
    QVERIFY(outcomes.mSignals.isEmpty());
    application->cancelTransfer();
    QVERIFY(NoClientLeft());
    QTest::qWait(200);
    QVERIFY(outcomes.mSignals.isEmpty());

    application->downloadConfig();
    QVERIFY(application->findChild<cKelvariConfigClient*>());
    application->cancelTransfer();
    QVERIFY(NoClientLeft());
}

void tst_cApplicationTransfer::withoutTheMessagingLayerATransferFailsAtOnce()
{
    cApplication application;
    sOutcomes outcomes(application);
    application.downloadConfig();
    QVERIFY(outcomes.WaitFor(1));
    application.uploadConfig();
    QVERIFY(outcomes.WaitFor(2));
    QCOMPARE(outcomes.mSignals, (QStringList{"downloadConfigFailed", "uploadConfigFailed"}));
    QCOMPARE(application.downloadConfigFailureReason(), QString("Unknown error"));
}

QTEST_MAIN(tst_cApplicationTransfer)
#include "tst_cApplicationTransfer.moc"
