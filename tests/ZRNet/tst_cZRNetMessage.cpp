#include "ZRNet/Core/cZRNetMessage.h"
#include "support/cTraceCapture.h"

#include <QtTest>

class tst_cZRNetMessage : public QObject
{
    Q_OBJECT

private slots:
    void valuesRoundTripBigEndian();
    void accessOutsideThePayloadIsRefused_data();
    void accessOutsideThePayloadIsRefused();
    void stringsEndAtTheirNul();
};

static QByteArray PayloadOf(const cZRNetMessage& message)
{
    return QByteArray(reinterpret_cast<const char*>(message.Payload()), int(message.Length()));
}

void tst_cZRNetMessage::valuesRoundTripBigEndian()
{
    cZRNetMessage appended;
    appended.AppendUByte(0xAB);
    appended.AppendUWord(0x0102);
    appended.AppendULong(0xDEADBEEF);
    QCOMPARE(PayloadOf(appended), QByteArray("\xAB\x01\x02\xDE\xAD\xBE\xEF", 7));

    cZRNetMessage written;
    written.SetLength(7);
    QVERIFY(written.SetUByte(0, 0xAB) && written.SetUWord(1, 0x0102) && written.SetULong(3, 0xDEADBEEF));
    QCOMPARE(PayloadOf(written), PayloadOf(appended));
    QCOMPARE(written.GetULong(3), ULONG(0xDEADBEEF));
    QCOMPARE(written.GetUWord(2), UWORD(0x02DE));
}

void tst_cZRNetMessage::accessOutsideThePayloadIsRefused_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("offset");
    QTest::newRow("byte past the end") << 1 << 3;
    QTest::newRow("word over the end") << 2 << 2;
    QTest::newRow("long over the end") << 4 << 0;
    QTest::newRow("huge offset") << 2 << 1000000;
}

void tst_cZRNetMessage::accessOutsideThePayloadIsRefused()
{
    QFETCH(int, size);
    QFETCH(int, offset);
    cZRNetMessage message;
    message.SetPayload("\xFF\xFF\xFF", 3);
    cTraceCapture capture;
    const quint32 value = size == 1   ? message.GetUByte(offset)
                          : size == 2 ? message.GetUWord(offset)
                                      : message.GetULong(offset);
    const bool written = size == 1   ? message.SetUByte(offset, 1)
                         : size == 2 ? message.SetUWord(offset, 1)
                                     : message.SetULong(offset, 1);
    QCOMPARE(value, quint32(0));
    QVERIFY(!written);
    QCOMPARE(capture.LinesContaining("ERROR: Payload read out of range").size(), 1);
    QCOMPARE(capture.LinesContaining("ERROR: Payload write out of range").size(), 1);
    QCOMPARE(PayloadOf(message), QByteArray("\xFF\xFF\xFF", 3));
}

void tst_cZRNetMessage::stringsEndAtTheirNul()
{
    cZRNetMessage message;
    message.AppendString("10.0.0.1/Kelvari Config Manager");
    message.AppendString("next");
    QCOMPARE(message.GetString(0), std::string("10.0.0.1/Kelvari Config Manager"));
    QCOMPARE(message.GetString(32), std::string("next"));

    cZRNetMessage unterminated;
    unterminated.SetPayload("abc", 3);
    QCOMPARE(unterminated.GetString(1), std::string("bc"));
    QCOMPARE(unterminated.GetString(3), std::string());
    // An empty payload has no storage to search.
    QCOMPARE(cZRNetMessage().GetString(0), std::string());
}

QTEST_GUILESS_MAIN(tst_cZRNetMessage)
#include "tst_cZRNetMessage.moc"
