#include "ZRNet/Core/ZRNetProtocol.h"
#include "support/cScriptedPeer.h"
#include "support/cSimulatedUnit.h"

#include <QCryptographicHash>
#include <QtTest>

#include <memory>

namespace
{
const char* kPasswordHash = "3141592653";
constexpr UWORD kEditorHandle = 7;

cZRNetMessage Find(const std::string& path)
{
    cZRNetMessage find(0, kZRNetRegistryHandle, kEditorHandle, eMethodFindObject);
    find.AppendString(path.c_str());
    return find;
}

// "index last size"
cZRNetMessage Chunk(UWORD manager, const QString& chunk)
{
    const QStringList fields = chunk.split(' ');
    cZRNetMessage message(0, manager, kEditorHandle, eConfigMethodUploadChunk);
    message.AppendUWord(UWORD(fields[0].toInt()));
    message.AppendUWord(UWORD(fields[1].toInt()));
    message.SetLength(4 + size_t(fields[2].toInt()));
    return message;
}
}

// The accepting side of a connection as a unit runs it (the simulated unit uses
// the project's own network code), against an editor scripted frame by frame.
class tst_ZRNetUnitSide : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aPeerThatSkipsTheGreetingIsDropped_data();
    void aPeerThatSkipsTheGreetingIsDropped();
    void findsOfOverlongPathsGoUnanswered_data();
    void findsOfOverlongPathsGoUnanswered();
    void anUploadChunkByDatagramIsNotStored();
    void uploadsThatBreakTheirAnnouncementFail_data();
    void uploadsThatBreakTheirAnnouncementFail();

private:
    // Greets the unit, finds its config manager and logs in; the manager's handle, or 65535.
    UWORD LogIn(cScriptedPeer& editor);

    std::unique_ptr<cSimulatedUnit> mUnit;
};

void tst_ZRNetUnitSide::init()
{
    mUnit = std::make_unique<cSimulatedUnit>(QStringList{"--admin-password-hash", kPasswordHash});
    QVERIFY(mUnit->Start());
}

void tst_ZRNetUnitSide::cleanup()
{
    mUnit.reset();
}

UWORD tst_ZRNetUnitSide::LogIn(cScriptedPeer& editor)
{
    cZRNetMessage reply;
    if (!editor.ConnectTo(mUnit->TcpPort()))
        return kZRNetNoHandle;
    editor.Greet(eMethodHello);
    editor.Send(Find(kConfigManagerName));
    if (!editor.ReceiveMethod(eMethodFoundObject, reply))
        return kZRNetNoHandle;
    const UWORD manager = reply.GetUWord(0);
    cZRNetMessage logIn(0, manager, kEditorHandle, eConfigMethodLogIn);
    logIn.AppendString(QCryptographicHash::hash("Admin", QCryptographicHash::Keccak_512).toBase64().constData());
    logIn.AppendString(kPasswordHash);
    editor.Send(logIn);
    if (!editor.ReceiveMethod(eConfigMethodLogInReply, reply) || reply.GetUByte(0) != 1)
        return kZRNetNoHandle;
    return manager;
}

void tst_ZRNetUnitSide::aPeerThatSkipsTheGreetingIsDropped_data()
{
    QTest::addColumn<bool>("findFirst");
    QTest::newRow("a find before HELLO") << true;
    QTest::newRow("silent") << false;
}

void tst_ZRNetUnitSide::aPeerThatSkipsTheGreetingIsDropped()
{
    QFETCH(bool, findFirst);
    cScriptedPeer editor;
    QVERIFY(editor.ConnectTo(mUnit->TcpPort()));
    if (findFirst)
        editor.Send(Find(kConfigManagerName));
    QVERIFY(editor.WaitForClose(findFirst ? 1000 : kZRNetHandshakeTimeoutMs + 1000));
    cZRNetMessage reply;
    QVERIFY(!editor.Receive(reply, 0));
}

void tst_ZRNetUnitSide::findsOfOverlongPathsGoUnanswered_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("answered");
    QTest::newRow("127 characters") << 127 << true;
    QTest::newRow("128 characters") << 128 << false;
    QTest::newRow("65534 characters, the most a frame holds") << 65534 << false;
}

// An answer echoes the path, so an overlong one would make a frame over the limit.
void tst_ZRNetUnitSide::findsOfOverlongPathsGoUnanswered()
{
    QFETCH(int, length);
    QFETCH(bool, answered);
    cScriptedPeer editor;
    QVERIFY(editor.ConnectTo(mUnit->TcpPort()));
    editor.Greet(eMethodHello);
    const std::string path(size_t(length), 'p');
    editor.Send(Find(path));
    editor.Send(Find(kConfigManagerName));
    cZRNetMessage reply;
    QVERIFY(editor.ReceiveMethod(eMethodFoundObject, reply));
    QCOMPARE(reply.GetString(4), answered ? path : std::string(kConfigManagerName));
    QCOMPARE(reply.GetUWord(0) == kZRNetNoHandle, answered);
}

void tst_ZRNetUnitSide::anUploadChunkByDatagramIsNotStored()
{
    cScriptedPeer editor;
    const UWORD manager = LogIn(editor);
    QVERIFY(manager != kZRNetNoHandle);
    editor.SendDatagram(Chunk(manager, "0 0 10"));
    QTest::qWait(300);
    QVERIFY(mUnit->Reports().filter("CHUNK").isEmpty());
    editor.Send(Chunk(manager, "0 0 10"));
    QVERIFY(mUnit->WaitForReport("UPLOADED size=10"));
}

void tst_ZRNetUnitSide::uploadsThatBreakTheirAnnouncementFail_data()
{
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<int>("status");
    QTest::newRow("complete") << QStringList{"0 1 32000", "1 1 5"} << 0;
    QTest::newRow("last index changed") << QStringList{"0 5 100", "1 1 100"} << 3;
    QTest::newRow("chunk over 32000 bytes") << QStringList{"0 1 32001"} << 3;
    QTest::newRow("chunk out of order") << QStringList{"0 2 100", "2 2 100"} << 3;
}

void tst_ZRNetUnitSide::uploadsThatBreakTheirAnnouncementFail()
{
    QFETCH(QStringList, chunks);
    QFETCH(int, status);
    cScriptedPeer editor;
    const UWORD manager = LogIn(editor);
    QVERIFY(manager != kZRNetNoHandle);
    for (const QString& chunk : chunks)
        editor.Send(Chunk(manager, chunk));
    cZRNetMessage end;
    QVERIFY(editor.ReceiveMethod(eConfigMethodTransferEnd, end));
    QCOMPARE(int(end.GetUByte(0)), status);
    QCOMPARE(mUnit->Reports().filter("UPLOADED").size(), status == 0 ? 1 : 0);
}

QTEST_GUILESS_MAIN(tst_ZRNetUnitSide)
#include "tst_ZRNetUnitSide.moc"
