#include "Kelvari/Common/cEncryption.h"
#include "Kelvari/Common/cKelvariConfigClient.h"
#include "Kelvari/Editor/cApplicationBase.h"
#include "ZRNet/Core/ZRNetProtocol.h"
#include "ZRNet/cZRNetTestObjects.h"
#include "support/cScriptedPeer.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// docs/protocol.md must let an outsider write a peer: its hashes and frames are the ones the project's
// own code makes, byte for byte.
class tst_ProtocolDocument : public QObject
{
    Q_OBJECT

    QString mDocument;

    // The lines of the document's code block of this kind ("```kind").
    QStringList Block(const QString& kind) const
    {
        const QRegularExpression block("```" + QRegularExpression::escape(kind) + "\\n(.*?)```",
                                       QRegularExpression::DotMatchesEverythingOption);
        return block.match(mDocument).captured(1).split('\n', Qt::SkipEmptyParts);
    }

    // The frames a config client sends to a unit scripted after the document, by vector name.
    QMap<QString, QByteArray> FramesOfTheEditor()
    {
        QMap<QString, QByteArray> frames;
        cRunningMessagingCore core;
        cNetworkConnection::AllowInstanceOf(true);
        cScriptedPeer unit;
        unit.Listen();
        cNetworkConnection::Instance()->SetUnitTcpPort(unit.Port());
        SyscallMessagesPollLock();
        auto client = std::make_unique<cKelvariConfigClient>("KelvariConfigClient");
        SyscallMessagesPollUnLock();
        bool managerFound = false;
        bool authenticated = false;
        // The found handle is known a moment before the client takes it as its manager: wait for the client.
        connect(client.get(), &cKelvariConfigClient::SeekSuccessful, this, [&] { managerFound = true; });
        connect(client.get(), &cKelvariConfigClient::Authenticated, this, [&] { authenticated = true; });
        const UWORD manager = 5;
        cZRNetMessage frame;
        client->SeekObject("127.0.0.1/Kelvari Config Manager");
        if (unit.Accept() && unit.ReceiveMethod(eMethodHello, frame))
        {
            frames["hello"] = cScriptedPeer::Framed(frame);
            unit.Greet(eMethodHelloAck);
        }
        if (unit.ReceiveMethod(eMethodFindObject, frame))
        {
            frames["find"] = cScriptedPeer::Framed(frame);
            cZRNetMessage found(0, frame.Source(), kZRNetRegistryHandle, eMethodFoundObject);
            found.AppendUWord(manager);
            found.AppendUWord(0);
            found.AppendString(kConfigManagerName);
            unit.Send(found);
        }
        if (QTest::qWaitFor([&] { return managerFound; }) && client->FoundHandle() == manager)
            client->Authenticate(cApplicationBase::GetHashedString("Admin"), cApplicationBase::GetHashedPassword("secret"));
        if (unit.ReceiveMethod(eConfigMethodLogIn, frame))
        {
            frames["log-in"] = cScriptedPeer::Framed(frame);
            cZRNetMessage accepted(0, frame.Source(), manager, eConfigMethodLogInReply);
            accepted.AppendUByte(1);
            unit.Send(accepted);
        }
        if (QTest::qWaitFor([&] { return authenticated; }))
            client->UploadConfig("<KelvariConfig version=\"1.0.0\"/>");
        if (unit.ReceiveMethod(eConfigMethodUploadChunk, frame))
            frames["upload-chunk"] = cScriptedPeer::Framed(frame);
        client.reset();
        cNetworkConnection::DeleteInstance();
        return frames;
    }

private slots:
    void initTestCase()
    {
        QFile file(PROTOCOL_DOCUMENT);
        QVERIFY(file.open(QIODevice::ReadOnly));
        mDocument = QString::fromUtf8(file.readAll());
    }

    void hashesAreTheDocumentsVectors()
    {
        const QStringList names = Block("zrnet-names");
        QVERIFY(names.size() >= 2);
        for (const QString& line : names)
        {
            const QRegularExpressionMatch match = QRegularExpression("^\"(.*)\" (\\S{88})$").match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            QCOMPARE(QString::fromStdString(cApplicationBase::GetHashedString(match.captured(1))), match.captured(2));
        }
        const QStringList passwords = Block("zrnet-passwords");
        QVERIFY(passwords.size() >= 4);
        for (const QString& line : passwords)
        {
            const QRegularExpressionMatch match = QRegularExpression("^\"(.*)\" (\\d+) (\\S+)$").match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            const QByteArray padded = match.captured(1).leftJustified(cEncryption::kPasswordLength, ' ', true).toLocal8Bit();
            QCOMPARE(QString::number(cEncryption::EncryptPassword(padded.constData())), match.captured(2));
            const QString hash = match.captured(3) == "-" ? QString() : match.captured(3);
            QCOMPARE(QString::fromStdString(cApplicationBase::GetHashedPassword(match.captured(1))), hash);
        }
    }

    void framesAreTheDocumentsVectors()
    {
        QMap<QString, QByteArray> frames = FramesOfTheEditor();
        // The UDP port is picked when the connection is made; the document shows 50000.
        if (frames.contains("hello"))
            frames["hello"].replace(15, 2, QByteArray::fromHex("C350"));
        for (const QString name : {"hello", "find", "log-in", "upload-chunk"})
        {
            const QString hex = Block("zrnet-frame " + name).join(QString()).remove(' ');
            QVERIFY2(QRegularExpression("^([0-9A-F]{2})+$").match(hex).hasMatch(), qPrintable(name));
            QVERIFY2(frames.contains(name), qPrintable(name + " was not sent"));
            QVERIFY2(frames[name] == QByteArray::fromHex(hex.toLatin1()),
                     qPrintable(name + " is sent as " + frames[name].toHex(' ').toUpper()));
        }
    }

    // Whoever starts the simulated unit from the document gets what they read: each option, in the same
    // order, with the same form of value.
    void simulatedUnitOptionsAreTheDocuments()
    {
        const QRegularExpression option("^\\s*(?:-\\w, )?(--[a-z-]+(?: <[a-z]+>)?)(?:\\s|$)");
        QStringList documented;
        for (const QString& line : Block("simunit-options"))
            documented << option.match(line).captured(1);
        QProcess program;
        program.start(SIMUNIT_PROGRAM, {"--help"});
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitCode(), 0);
        QStringList listed;
        for (const QString& line : QString::fromUtf8(program.readAllStandardOutput()).split('\n'))
        {
            const QString name = option.match(line).captured(1);
            if (!name.isEmpty() && !name.startsWith("--help"))
                listed << name;
        }
        QVERIFY(listed.size() > 10);
        QCOMPARE(documented, listed);
    }
};

QTEST_GUILESS_MAIN(tst_ProtocolDocument)
#include "tst_ProtocolDocument.moc"
