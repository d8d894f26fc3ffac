#include "ZRNet/Core/DebugTrace.h"
#include "ZRNet/Core/cFrameCodec.h"
#include "ZRNet/Core/cHandleCache.h"
#include "ZRNet/Core/cTraceRateLimit.h"
#include "support/cScriptedPeer.h"
#include "support/cTraceCapture.h"

#include <QtTest>

namespace
{
QByteArray PayloadOf(const cZRNetMessage& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.Payload()), int(message.Length()));
}
}

// Messages, their frames, the handle cache and the trace lines with their limit: what every thread of the layer
// shares.
class tst_ZRNetMessage : public QObject
{
    Q_OBJECT

private slots:
    void valuesRoundTripBigEndianAndStringsEndAtTheirNul()
    {
        cZRNetMessage appended;
        appended.AppendUByte(0xAB);
        appended.AppendUWord(0x0102);
        appended.AppendULong(0xDEADBEEF);
        appended.AppendString("10.0.0.1/Kelvari Config Manager");
        appended.AppendString("next");
        QCOMPARE(PayloadOf(appended).left(7), QByteArray("\xAB\x01\x02\xDE\xAD\xBE\xEF", 7));
        QCOMPARE(appended.GetString(7), std::string("10.0.0.1/Kelvari Config Manager"));
        QCOMPARE(appended.GetString(39), std::string("next"));
        cZRNetMessage written;
        written.SetLength(7);
        QVERIFY(written.SetUByte(0, 0xAB) && written.SetUWord(1, 0x0102) && written.SetULong(3, 0xDEADBEEF));
        QCOMPARE(PayloadOf(written), PayloadOf(appended).left(7));
        QCOMPARE(written.GetULong(3), ULONG(0xDEADBEEF));
        QCOMPARE(written.GetUWord(2), UWORD(0x02DE));
        // A string ends at its NUL or at the payload's end; an empty payload has no storage to search.
        written.SetPayload("abc", 3);
        QCOMPARE(written.GetString(1), std::string("bc"));
        QCOMPARE(written.GetString(3), std::string());
        QCOMPARE(cZRNetMessage().GetString(0), std::string());
    }

    void accessOutsideThePayloadIsRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("offset");
        QTest::newRow("byte past the end") << 1 << 3;
        QTest::newRow("word over the end") << 2 << 2;
        QTest::newRow("long over the end") << 4 << 0;
        QTest::newRow("huge offset") << 2 << 1000000;
    }

    void accessOutsideThePayloadIsRefused()
    {
        QFETCH(int, size);
        QFETCH(int, offset);
        cZRNetMessage message;
        message.SetPayload("\xFF\xFF\xFF", 3);
        cTraceCapture capture;
        const quint32 value = size == 1 ? message.GetUByte(offset) : size == 2 ? message.GetUWord(offset)
                                                                               : message.GetULong(offset);
        const bool written = size == 1 ? message.SetUByte(offset, 1) : size == 2 ? message.SetUWord(offset, 1)
                                                                                 : message.SetULong(offset, 1);
        QCOMPARE(value, quint32(0));
        QVERIFY(!written);
        QCOMPARE(capture.LinesContaining("ERROR: Payload read out of range").size(), 1);
        QCOMPARE(capture.LinesContaining("ERROR: Payload write out of range").size(), 1);
        QCOMPARE(PayloadOf(message), QByteArray("\xFF\xFF\xFF", 3));
    }

    void aFrameCarriesItsHeaderBigEndianAndParsesBack()
    {
        cZRNetMessage message(3, 17, 42, eMethodFindObject);
        message.AppendString("Kelvari Config Manager");
        const QByteArray bytes = cScriptedPeer::Framed(message);
        QCOMPARE(bytes.mid(0, 13), QByteArray::fromHex("F000030011002A000400000017"));
        QCOMPARE(bytes.back(), char(0xF7));
        cZRNetMessage parsed;
        size_t consumed = 0;
        std::string error;
        const auto* data = reinterpret_cast<const UBYTE*>(bytes.constData());
        QCOMPARE(cFrameCodec::Parse(data, size_t(bytes.size()), parsed, consumed, error), cFrameCodec::eFrameComplete);
        QCOMPARE(consumed, size_t(bytes.size()));
        QCOMPARE(cScriptedPeer::Framed(parsed), bytes);
        QCOMPARE(cFrameCodec::Parse(data, size_t(bytes.size() - 1), parsed, consumed, error),
                 cFrameCodec::eFrameIncomplete);
    }

    void theLeastRecentlyUsedPathMakesRoom()
    {
        cHandleCache cache(3);
        UWORD connectionId = 0;
        UWORD handle = 0;
        cache.Store("a", 3, 1);
        cache.Store("a", 3, 17);
        cache.Store("b", 1, 2);
        cache.Store("c", 1, 3);
        QVERIFY(cache.Lookup("a", connectionId, handle) && connectionId == 3 && handle == 17);
        cache.Store("d", 1, 4);
        QCOMPARE(cache.Count(), size_t(3));
        QVERIFY(!cache.Lookup("b", connectionId, handle));
        QVERIFY(cache.Lookup("a", connectionId, handle));
        cache.EvictConnection(1);
        QCOMPARE(cache.Count(), size_t(1));
        QVERIFY(cache.Lookup("a", connectionId, handle));
    }

    // Each row: the milliseconds at which traces come, and what the limit makes of them: "t" a trace written,
    // "-" one held back, "<n>" n held back told before the next; after the "|", what is left to tell at the end.
    void repeatedTracesAreLimitedPerSecondAndTheRestCounted_data()
    {
        QTest::addColumn<QVector<int>>("times");
        QTest::addColumn<QString>("outcome");
        const QVector<int> burst(13, 0);
        QTest::newRow("a burst: ten, then counted") << burst << "tttttttttt---|3";
        QTest::newRow("the next second tells the count first") << burst + QVector<int>{1000, 1000}
                                                               << "tttttttttt---<3>tt|0";
        QTest::newRow("a second runs from its first trace") << QVector<int>(11, 500) + QVector<int>{1499, 1500}
                                                             << "tttttttttt--<2>t|0";
        QTest::newRow("a quiet spell holds nothing back") << QVector<int>{0, 5000, 10000} << "ttt|0";
    }

    void repeatedTracesAreLimitedPerSecondAndTheRestCounted()
    {
        QFETCH(QVector<int>, times);
        QFETCH(QString, outcome);
        std::chrono::steady_clock::time_point now;
        cTraceRateLimit limit([&now] { return now; });
        QString seen;
        for (const int at : times)
        {
            now = std::chrono::steady_clock::time_point(std::chrono::milliseconds(at));
            const cTraceRateLimit::sTurn turn = limit.Next();
            if (turn.mHeldBack > 0)
                seen += QStringLiteral("<%1>").arg(turn.mHeldBack);
            seen += turn.mTrace ? "t" : "-";
        }
        seen += QStringLiteral("|%1").arg(limit.TakeHeldBack());
        QCOMPARE(seen, outcome);
        QCOMPARE(limit.TakeHeldBack(), size_t(0));
    }

    // 511 characters and the terminating NUL fill the 512-byte buffer; a diagnostic says nothing.
    void eachTraceKindWritesItsExactLineWithTheCallersLocationCutAt512Bytes()
    {
        cTraceCapture capture;
        for (auto trace : {&DebugErrTrace, &DebugNotifTrace, &DebugHistoryTrace, &DebugTrace, &DebugDiagnosticTrace})
            trace("src/Unit.cpp", 42, "void cUnit::Run(int)", "value %s %d", "abc", 7);
        const int line = __LINE__ + 1;
        ZR_ERROR("Must be called on main thread");
        DebugNotifTrace("f.cpp", 1, "f", "%s", std::string(600, 'y').c_str());
        const QString tail = QStringLiteral("value abc 7\t(file:///src/Unit.cpp:42:)");
        const QString location = QStringLiteral("\t(file:///%1:%2:)").arg(QString::fromUtf8(__FILE__)).arg(line);
        QCOMPARE(capture.Lines(), (QStringList{"ERROR: " + tail, "Notification: " + tail, "History: " + tail, tail,
                                               "ERROR: Must be called on main thread" + location,
                                               "Notification: " + QString(511, 'y') + "\t(file:///f.cpp:1:)"}));
    }
};

QTEST_GUILESS_MAIN(tst_ZRNetMessage)
#include "tst_ZRNetMessage.moc"
