#include "ConfigTestData.h"
#include "support/cOnlineTestSupport.h"
#include "support/cScriptedPeer.h"
#include "support/cSimulatedUnit.h"
#include "support/cWindowTestSupport.h"

#include "Kelvari/Common/cConnectionInterface.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Editor/cApplication.h"
#include "ZRNet/Qt/cNetworkConnection.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace ConfigTestData;

namespace
{
const QString kUser = cOnlineTestSupport::User();
const QString kPassword = cOnlineTestSupport::Password();
const QString kHash = QString::fromStdString(cApplication::GetHashedPassword(kPassword));
}

// Against the simulated unit: uploads and downloads with their outcomes, reasons and progress, pages going live
// with the test window's login, the passwords remembered, and that neither leaves its client behind.
class tst_ApplicationOnline : public QObject
{
    Q_OBJECT

    QTemporaryDir mSettingsFolder;
    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<cSimulatedUnit> mUnit;
    std::unique_ptr<cApplication> mApplication;
    cLayout* mLayout = nullptr;
    // The application's outcome signals, in the order they came.
    QStringList mOutcomes;

    static bool NoClientLeft() { return cOnlineTestSupport::NoClientLeft(); }
    bool WaitForOutcomes(int count) { return QTest::qWaitFor([&] { return mOutcomes.size() >= count; }, 8000); }
    QByteArray DocumentXml()
    {
        QByteArray bytes;
        mApplication->currentConfig()->WriteXml(bytes);
        return bytes;
    }
    // The unit knows both logins; the application takes the password for both.
    bool Start(const QStringList& unitArguments = {}, const QString& password = kPassword)
    {
        mUnit = std::make_unique<cSimulatedUnit>(QStringList{"--admin-password-hash", kHash, "--test-window-user",
                                                             kUser, "--test-window-password-hash", kHash} +
                                                 unitArguments);
        if (!mUnit->Start())
            return false;
        Application();
        mApplication->StartZRNet();
        cNetworkConnection::Instance()->SetUnitTcpPort(mUnit->TcpPort());
        mApplication->connectionInterface()->connectToHostByIpAddress(QStringLiteral("127.0.0.1"));
        mApplication->setAdminPassword(password);
        mApplication->setTestWindowUsername(kUser);
        mApplication->setTestWindowPassword(password);
        return true;
    }
    void Application()
    {
        mApplication = std::make_unique<cApplication>();
        for (const char* outcome : {SIGNAL(uploadConfigSuccessful()), SIGNAL(uploadConfigFailed()),
                                    SIGNAL(downloadConfigSuccessful()), SIGNAL(downloadConfigFailed())})
            connect(mApplication.get(), outcome, this, SLOT(Outcome()));
        mApplication->createNewConfig();
        mLayout = mApplication->currentConfig()->Layouts().Items().first();
    }
    // A picture of noise, so that the document's XML spans several chunks.
    void MakeDocumentLarge()
    {
        QImage noise(300, 300, QImage::Format_RGB32);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.bits()), noise.sizeInBytes() / 4);
        const QString path = mFolder->filePath(QStringLiteral("noise.png"));
        QVERIFY(noise.save(path));
        QVERIFY(!mApplication->currentConfig()->addNewImage(QUrl::fromLocalFile(path)).isEmpty());
        // More chunks than the editor keeps on their way, so that a stalled unit leaves some unsent.
        QVERIFY(DocumentXml().size() > int((kConfigUploadWindow + 2) * kConfigChunkSize));
    }
    cWidget* Add(const char* type, cWidget* container = nullptr, int location = -1)
    {
        auto* widget = qobject_cast<cWidget*>(mLayout->createAndAddWidget(type, container, location, 0, 0, 0.2f, 0.2f));
        mLayout->closeUndoBlock();
        return widget;
    }
    bool GoOnline()
    {
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        return QTest::qWaitFor([this] { return mLayout->IsOnline(); }, 8000);
    }

public slots:
    void Outcome() { mOutcomes << sender()->metaObject()->method(senderSignalIndex()).name(); }

private slots:
    void initTestCase() { cWindowTestSupport::UseProgramSetup(mSettingsFolder.path()); }
    void init()
    {
        QSettings().clear();
        mFolder = std::make_unique<QTemporaryDir>();
        mOutcomes.clear();
    }
    void cleanup()
    {
        mApplication.reset();
        mUnit.reset();
    }

    // Every upload starts the bar from nothing, also after one that ended at 1.
    void anUploadStoresTheDocumentOnTheUnit()
    {
        const QString uploaded = mFolder->filePath(QStringLiteral("uploaded"));
        QVERIFY(Start({"--upload-file", uploaded}));
        MakeDocumentLarge();
        QVector<float> progress;
        connect(mApplication.get(), &cApplication::uploadProgressChanged, this,
                [&] { progress << mApplication->uploadProgress(); });
        for (int upload = 1; upload <= 2; ++upload)
        {
            progress.clear();
            mApplication->uploadConfig();
            QCOMPARE(mApplication->uploadProgress(), 0.0f);
            QVERIFY(WaitForOutcomes(upload));
            QCOMPARE(mOutcomes.last(), QString("uploadConfigSuccessful"));
            QVERIFY(NoClientLeft());
            QCOMPARE(FileBytes(uploaded), DocumentXml());
            QVERIFY(progress.size() >= 3 && progress.last() == 1.0f && std::is_sorted(progress.begin(), progress.end()));
        }
        QCOMPARE(mUnit->Reports().filter("UPLOADED").size(), 2);
    }

    void uploadFailuresSayWhy_data()
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
        QTest::newRow("document too large to write")
            << QStringList() << kPassword
            << "The config could not be written for the upload: The config is larger than the 1000 bytes that can be "
               "held in memory";
    }
    void uploadFailuresSayWhy()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(QString, reason);
        QVERIFY(Start(arguments, password));
        MakeDocumentLarge();
        const bool unwritable = reason.contains("written");
        cConfig* config = mApplication->currentConfig();
        if (reason.contains("larger"))
            mApplication->SetUploadSizeLimit(1000);
        else if (unwritable)
            config->InsertNewResource(new cImageResource(config, "90", "x", QImage(), "<svg/>", QString(QChar(1)), config));
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(1));
        QCOMPARE(mApplication->uploadConfigFailureReason(), reason);
        QVERIFY(NoClientLeft());
        QTest::qWait(100);
        QCOMPARE(mOutcomes, QStringList{"uploadConfigFailed"});
        if (password != kPassword || unwritable)
            QCOMPARE(mUnit->Reports(), QStringList{unwritable ? "LOGIN accepted" : "LOGIN refused"});
    }

    // A failure before the file is read keeps the document and its file name; a downloaded document, or one
    // that cannot be read, has no file behind it. What a download left out or changed is told.
    void downloadsReplaceTheDocumentOrSayWhyNot_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("storedConfig");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("kept");
        QTest::newRow("stored config") << QStringList()
                                       << QByteArray("<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"Remote\"/>"
                                                     "</Layouts></KelvariConfig>") << QString() << false;
        QTest::newRow("stored config with a picture left out")
            << QStringList() << QByteArray("<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"Remote\"/></Layouts>"
                                           "<Resources><Resource id=\"0\" type=\"image\" subtype=\"png\">AAAA</Resource>"
                                           "</Resources></KelvariConfig>") << QString() << false;
        QTest::newRow("no stored config") << QStringList() << QByteArray() << "Unit does not have a stored configuration"
                                          << true;
        QTest::newRow("unit error") << QStringList{"--unit-error"} << QByteArray("<KelvariConfig/>")
                                    << "Dorvel encountered an error while processing the download" << true;
        QTest::newRow("stored config is not a config") << QStringList() << QByteArray("<Other/>")
                                                       << "Invalid config data file" << false;
    }
    void downloadsReplaceTheDocumentOrSayWhyNot()
    {
        QFETCH(QByteArray, storedConfig);
        QFETCH(QString, reason);
        QFETCH(bool, kept);
        QFile stored(mFolder->filePath(QStringLiteral("stored.xml")));
        QVERIFY(storedConfig.isEmpty() || (stored.open(QIODevice::WriteOnly) && stored.write(storedConfig) > 0));
        stored.close();
        QFETCH(QStringList, arguments);
        QVERIFY(Start(storedConfig.isEmpty() ? arguments : arguments + QStringList{"--stored-config", stored.fileName()}));
        AddLayout(*mApplication->currentConfig(), QStringLiteral("Local"));
        const QString local = mFolder->filePath(QStringLiteral("local.xml"));
        QVERIFY(mApplication->saveConfig(QUrl::fromLocalFile(local)));
        const QByteArray before = DocumentXml();
        mApplication->downloadConfig();
        QVERIFY(WaitForOutcomes(1));
        QVERIFY(NoClientLeft());
        QCOMPARE(mOutcomes, QStringList{reason.isEmpty() ? "downloadConfigSuccessful" : "downloadConfigFailed"});
        QTEST(mApplication->downloadConfigFailureReason(), "reason");
        QCOMPARE(mApplication->currentFilename(), kept ? local : QString());
        if (kept)
            QCOMPARE(DocumentXml(), before);
        else if (reason.isEmpty())
            QCOMPARE(LayoutNames(*mApplication->currentConfig()), QStringList{"Remote"});
        QCOMPARE(mApplication->loadConfigReport(), QString(storedConfig.contains("Resource ")
                     ? "1 picture that could not be read left out\nSaving writes the file without them." : ""));
    }

    // A start while a transfer runs is refused and leaves it alone; a second end signal of the same client,
    // or one of a client whose transfer has ended, is dropped, also when a new transfer was started from the
    // outcome's handler.
    void aRunningTransferIgnoresSecondStartsAndLateSignals()
    {
        QVERIFY(Start());
        QVector<float> progress;
        connect(mApplication.get(), &cApplication::uploadProgressChanged, this,
                [&] { progress << mApplication->uploadProgress(); });
        QString firstReason;
        connect(mApplication.get(), &cApplication::uploadConfigFailed, this, [&] {
            firstReason = mApplication->uploadConfigFailureReason();
            mApplication->uploadConfig();
        });
        mApplication->uploadConfig();
        cKelvariConfigClient* first = mApplication->findChild<cKelvariConfigClient*>();
        QVERIFY(first);
        mApplication->uploadConfig();
        mApplication->downloadConfig();
        QCOMPARE(mApplication->findChildren<cKelvariConfigClient*>(), QList<cKelvariConfigClient*>{first});
        emit first->UploadConfigFailed();
        emit first->UploadConfigSuccessful();
        emit first->UploadProgress(0.5f);
        QVERIFY(WaitForOutcomes(2));
        QCOMPARE(firstReason, QString("Unknown error"));
        QVERIFY(!progress.contains(0.5f));
        QCOMPARE(mApplication->uploadProgress(), 1.0f);
        QTest::qWait(100);
        QCOMPARE(mOutcomes, (QStringList{"uploadConfigFailed", "uploadConfigSuccessful"}));
        QVERIFY(NoClientLeft());
        QCOMPARE(mUnit->Reports().filter("UPLOADED").size(), 1);
    }

    // A refused password is forgotten, in memory and in the store, so that the next transfer or page asks
    // again; an accepted one is stored, and survives a later refusal of a newly typed password.
    void onlyPasswordsTheUnitAcceptedAreRemembered()
    {
        QVERIFY(Start({}, QStringLiteral("guess")));
        const auto stored = [](const char* key) { return QSettings().value(key).toString(); };
        QVERIFY(mApplication->adminPasswordStored());
        QCOMPARE(stored("AP"), QString());
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(1));
        QCOMPARE(mApplication->uploadConfigFailureReason(), QString("Incorrect password"));
        QCOMPARE(QVariantList({mApplication->adminPasswordStored(), stored("AP")}), QVariantList({false, QString()}));
        mApplication->setAdminPassword(kPassword);
        mApplication->downloadConfig();
        QVERIFY(WaitForOutcomes(2));
        QCOMPARE(stored("AP"), kHash);
        mApplication->setAdminPassword(QStringLiteral("typo"));
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(3));
        QCOMPARE(QVariantList({mApplication->adminPasswordStored(), stored("AP"), mOutcomes.last()}),
                 QVariantList({false, kHash, "uploadConfigFailed"}));

        QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 8000);
        QTest::qWait(200);
        QVERIFY(refused.count() == 1 && !mLayout->IsOnline() && !NoClientLeft());
        QCOMPARE(QVariantList({mApplication->testWindowPasswordStored(), stored("HP")}), QVariantList({false, QString()}));
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
        mApplication->setTestWindowPassword(kPassword);
        QCOMPARE(stored("HP"), QString());
        QVERIFY(GoOnline());
        QCOMPARE(stored("HP"), kHash);
        mLayout->setOffline();
    }

    // Cancel ends a transfer that the unit stopped answering at once, with its client and without an
    // outcome, and the next transfer can start.
    void aStalledUploadCanBeCancelled()
    {
        QVERIFY(Start({"--stall-after-chunk", "0"}));
        MakeDocumentLarge();
        mApplication->cancelTransfer();
        mApplication->uploadConfig();
        QTRY_VERIFY_WITH_TIMEOUT(!mUnit->Reports().filter(QStringLiteral("CHUNK index=0")).isEmpty(), 8000);
        QTest::qWait(200);
        QVERIFY(mOutcomes.isEmpty());
        mApplication->cancelTransfer();
        QVERIFY(NoClientLeft());
        QTest::qWait(200);
        QVERIFY(mOutcomes.isEmpty());
        mApplication->downloadConfig();
        QVERIFY(mApplication->findChild<cKelvariConfigClient*>());
        mApplication->cancelTransfer();
        QVERIFY(NoClientLeft());
    }

    void anUploadThatEndsWithoutSuccessLetsGoOfTheUnit_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("cancelled") << true;
        QTest::newRow("unit silent") << false;
    }
    // Cancel part-way, or a unit that stops answering, ends the connection that the upload ran on, and the unit
    // drops the unfinished upload: another editor's upload is taken, and so is this editor's next.
    void anUploadThatEndsWithoutSuccessLetsGoOfTheUnit()
    {
        QFETCH(bool, cancelled);
        const QString uploaded = mFolder->filePath(QStringLiteral("uploaded"));
        QVERIFY(Start({"--stall-after-chunk", "1", "--upload-file", uploaded}));
        MakeDocumentLarge();
        mApplication->uploadConfig();
        // Only the upload's own wait is short.
        auto* client = mApplication->findChild<cKelvariConfigClient*>();
        connect(client, &cKelvariConfigClient::Authenticated,
                [client] { client->SetReplyTimeout(std::chrono::milliseconds(1000)); });
        QTRY_VERIFY_WITH_TIMEOUT(!mUnit->Reports().filter(QStringLiteral("CHUNK index=1")).isEmpty(), 8000);
        if (cancelled)
        {
            QVERIFY(mApplication->cancelTransfer());
        }
        else
        {
            QVERIFY(WaitForOutcomes(1));
            QCOMPARE(mApplication->uploadConfigFailureReason(),
                     QString("The connection to the Dorvel was lost during the upload"));
        }
        QVERIFY(NoClientLeft());

        cScriptedPeer other;
        const UWORD manager = other.LogInToConfigManager(mUnit->TcpPort(), kHash.toLatin1());
        QVERIFY(manager != kZRNetNoHandle);
        cZRNetMessage end;
        // The unit hears of the end on its own time.
        QVERIFY(QTest::qWaitFor(
            [&] {
                other.Send(cScriptedPeer::UploadChunk(manager, 0, 0, "<KelvariConfig/>"));
                return other.ReceiveMethod(eConfigMethodTransferEnd, end) && end.GetUByte(0) == 0;
            },
            5000));

        // One chunk, which the stall after the second does not reach.
        mApplication->createNewConfig();
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(mOutcomes.size() + 1));
        QCOMPARE(mOutcomes.last(), QString("uploadConfigSuccessful"));
        QCOMPARE(FileBytes(uploaded), DocumentXml());
    }

    // Once the last chunk has gone out, cancel is too late: the unit stores what arrives whatever the editor
    // does, so the editor waits for its answer; here the answer has come but is not yet handled.
    void aCancelAfterTheUnitStoredTheUploadReportsTheSuccess()
    {
        QVERIFY(Start());
        bool tooLate = false;
        connect(mApplication.get(), &cApplication::uploadProgressChanged, this, [&] {
            if (mApplication->uploadProgress() < 1.0f)
                return;
            // Without handling events, so that the client's success stays queued.
            const auto* client = mApplication->findChild<cKelvariConfigClient*>();
            const QDeadlineTimer deadline(8000);
            while (!client->EveryChunkSent() && !deadline.hasExpired())
                QThread::msleep(1);
            tooLate = !mApplication->cancelTransfer();
        });
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(1));
        QVERIFY(tooLate);
        QCOMPARE(mOutcomes, QStringList{"uploadConfigSuccessful"});
        QVERIFY(NoClientLeft());
        QCOMPARE(mUnit->Reports().filter("UPLOADED").size(), 1);
    }

    // The same before the unit has answered at all: a unit that stays silent fails the upload as it would have
    // without the cancel.
    void aCancelAfterTheLastChunkWaitsForTheUnit()
    {
        QVERIFY(Start({"--stall-after-chunk", "0"}));
        mApplication->uploadConfig();
        mApplication->findChild<cKelvariConfigClient*>()->SetReplyTimeout(std::chrono::milliseconds(1500));
        QTRY_VERIFY_WITH_TIMEOUT(!mUnit->Reports().filter(QStringLiteral("CHUNK index=0")).isEmpty(), 8000);
        QVERIFY(!mApplication->cancelTransfer());
        QVERIFY(WaitForOutcomes(1));
        QCOMPARE(mOutcomes, QStringList{"uploadConfigFailed"});
    }

    void withoutTheMessagingLayerATransferFailsAtOnce()
    {
        Application();
        mApplication->downloadConfig();
        QVERIFY(WaitForOutcomes(1));
        mApplication->uploadConfig();
        QVERIFY(WaitForOutcomes(2));
        QCOMPARE(mOutcomes, (QStringList{"downloadConfigFailed", "uploadConfigFailed"}));
        QCOMPARE(mApplication->downloadConfigFailureReason(), QString("Unknown error"));
    }

    // A widget deleted while online still lets go of the client with the page.
    void widgetsThatComeWhileOnlineGoOnline()
    {
        QVERIFY(Start());
        cWidget* deleted = Add("zrnet_rotary");
        cWidget* tabs = Add("tab_container");
        QVERIFY(GoOnline());
        cWidget* dropped = Add("zrnet_led", tabs, 0);
        QVERIFY(dropped->IsOnline() && dropped->IsDisabled());
        mLayout->selectionManager()->setSelection(tabs);
        mLayout->copyPressed();
        const int before = mLayout->findChildren<cWidget*>().size();
        mLayout->pastePressed();
        QCOMPARE(mLayout->findChildren<cWidget*>().size(), before + 2);
        for (const cWidget* widget : mLayout->findChildren<cWidget*>())
            QVERIFY2(widget->IsOnline(), qPrintable(widget->GetType()));
        mLayout->selectionManager()->setSelection(deleted);
        mLayout->deletePressed();
        QVERIFY(deleted->IsOnline());
        mLayout->undoPressed();
        QVERIFY(mLayout->GetWidgets()->contains(deleted) && deleted->IsOnline());
        mLayout->selectionManager()->setSelection(deleted);
        mLayout->deletePressed();
        mLayout->setOffline();
        QVERIFY(!deleted->IsOnline() && !dropped->IsOnline());
        QVERIFY(NoClientLeft());
        QVERIFY(GoOnline());
        mLayout->undoPressed();
        QVERIFY(deleted->IsOnline() && deleted->IsDisabled());
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
    }

    // Without a config manager the page stays offline with no client left at once.
    void withoutAConfigManagerThePageStaysOffline()
    {
        QVERIFY(Start({"--no-config-manager"}));
        cWidget* fader = Add("zrnet_fader");
        QSignalSpy notFound(mLayout, &cLayout::configClientNotFound);
        QSignalSpy refused(mLayout, &cLayout::authenticationFailedSignal);
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        QTRY_COMPARE_WITH_TIMEOUT(notFound.count(), 1, 8000);
        QTest::qWait(200);
        QVERIFY(notFound.count() == 1 && refused.isEmpty() && !mLayout->IsOnline() && !fader->IsOnline());
        QVERIFY(NoClientLeft());
    }

    // setOffline during the seek, or a second setOnline, leaves the older client's answers without effect:
    // a stopped page never goes live.
    void onlyTheNewestClientCounts()
    {
        QVERIFY(Start());
        cWidget* fader = Add("zrnet_fader");
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
        QTest::qWait(500);
        QVERIFY(!mLayout->IsOnline() && !fader->IsOnline());
        mLayout->setOnline(QStringLiteral("127.0.0.1"));
        QVERIFY(GoOnline());
        QTest::qWait(200);
        QCOMPARE(mUnit->Reports().filter("LOGIN").size(), 1);
        QVERIFY(fader->IsOnline());
        mLayout->setOffline();
        QVERIFY(NoClientLeft());
    }
};

QTEST_MAIN(tst_ApplicationOnline)
#include "tst_ApplicationOnline.moc"
