#include "ZRNet/Core/cZRNetMessage.h"
#include "support/cTraceCapture.h"

#include <QtTest>

class tst_cZRNetMessage : public QObject
{
    Q_OBJECT

private slots:
    void headerWordsAreKept();
    void valuesAreReadBigEndian_data();
    void valuesAreReadBigEndian();
    void valuesAreWrittenBigEndian();
    void appendedValuesFollowEachOther();
    void readsOutsideThePayloadGiveZero_data();
    void readsOutsideThePayloadGiveZero();
    void writesOutsideThePayloadFail();
    void stringsEndAtTheirNul();
    void methodNumbersForParameters();
};

void tst_cZRNetMessage::headerWordsAreKept()
{
    cZRNetMessage message(3, 17, 65534, 4100);
    QCOMPARE(message.ConnectionId(), UWORD(3));
    QCOMPARE(message.Destination(), UWORD(17));
    QCOMPARE(message.Source(), UWORD(65534));
    QCOMPARE(message.Method(), UWORD(4100));
    QCOMPARE(message.Length(), size_t(0));

    cZRNetMessage copy = message;
    copy.SetMethod(5);
    QCOMPARE(message.Method(), UWORD(4100));
}

void tst_cZRNetMessage::valuesAreReadBigEndian_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("byte at 0") << 1 << 0 << quint32(0x12);
    QTest::newRow("byte at 5") << 1 << 5 << quint32(0xBC);
    QTest::newRow("word at 0") << 2 << 0 << quint32(0x1234);
    QTest::newRow("word at odd offset") << 2 << 3 << quint32(0x789A);
    QTest::newRow("long at 0") << 4 << 0 << quint32(0x12345678);
    QTest::newRow("long at the end") << 4 << 2 << quint32(0x56789ABC);
}

void tst_cZRNetMessage::valuesAreReadBigEndian()
{
    QFETCH(int, size);
    QFETCH(int, offset);
    QFETCH(quint32, expected);
    const UBYTE bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    cZRNetMessage message;
    message.SetPayload(bytes, sizeof bytes);
    const quint32 value = size == 1 ? message.GetUByte(offset)
                          : size == 2 ? message.GetUWord(offset)
                                      : message.GetULong(offset);
    QCOMPARE(value, expected);
}

void tst_cZRNetMessage::valuesAreWrittenBigEndian()
{
    cZRNetMessage message;
    message.SetLength(7);
    QVERIFY(message.SetUByte(0, 0xAB));
    QVERIFY(message.SetUWord(1, 0x0102));
    QVERIFY(message.SetULong(3, 0xDEADBEEF));
    const QByteArray expected("\xAB\x01\x02\xDE\xAD\xBE\xEF", 7);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(message.Payload()), int(message.Length())), expected);
}

void tst_cZRNetMessage::appendedValuesFollowEachOther()
{
    cZRNetMessage message;
    message.AppendUByte(1);
    message.AppendUWord(0x0203);
    message.AppendULong(0x04050607);
    message.AppendString("ab");
    const QByteArray expected("\x01\x02\x03\x04\x05\x06\x07" "ab\0", 10);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(message.Payload()), int(message.Length())), expected);
}

void tst_cZRNetMessage::readsOutsideThePayloadGiveZero_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("offset");
    QTest::newRow("byte past the end") << 1 << 3;
    QTest::newRow("word over the end") << 2 << 2;
    QTest::newRow("long over the end") << 4 << 0;
    QTest::newRow("huge offset") << 2 << 1000000;
}

void tst_cZRNetMessage::readsOutsideThePayloadGiveZero()
{
    QFETCH(int, size);
    QFETCH(int, offset);
    const UBYTE bytes[] = {0xFF, 0xFF, 0xFF};
    cZRNetMessage message;
    message.SetPayload(bytes, sizeof bytes);
    cTraceCapture capture;
    const quint32 value = size == 1 ? message.GetUByte(offset)
                          : size == 2 ? message.GetUWord(offset)
                                      : message.GetULong(offset);
    QCOMPARE(value, quint32(0));
    QCOMPARE(capture.LinesContaining("ERROR: Payload read out of range").size(), 1);
}

void tst_cZRNetMessage::writesOutsideThePayloadFail()
{
    cZRNetMessage message;
    message.SetLength(3);
    cTraceCapture capture;
    QVERIFY(!message.SetULong(0, 1));
    QVERIFY(!message.SetUWord(2, 1));
    QVERIFY(!message.SetUByte(3, 1));
    QCOMPARE(capture.LinesContaining("ERROR: Payload write out of range").size(), 3);
    QCOMPARE(message.GetUWord(0), UWORD(0));
    QCOMPARE(message.Length(), size_t(3));
}

void tst_cZRNetMessage::stringsEndAtTheirNul()
{
    cZRNetMessage message;
    message.AppendUWord(7);
    message.AppendString("10.0.0.1/Kelvari Config Manager");
    message.AppendString("next");
    QCOMPARE(message.GetString(2), std::string("10.0.0.1/Kelvari Config Manager"));
    QCOMPARE(message.GetString(2 + 32), std::string("next"));

    cZRNetMessage unterminated;
    unterminated.SetPayload("abc", 3);
    QCOMPARE(unterminated.GetString(1), std::string("bc"));
    QCOMPARE(unterminated.GetString(3), std::string());
}

void tst_cZRNetMessage::methodNumbersForParameters()
{
    QCOMPARE(ZRNetParameterMethod(0), UWORD(4096));
    QCOMPARE(ZRNetParameterMethod(5), UWORD(4101));
    QCOMPARE(UWORD(eMethodFindObject), UWORD(4));
    QCOMPARE(kZRNetFirstObjectMethod, UWORD(256));
}

QTEST_GUILESS_MAIN(tst_cZRNetMessage)
#include "tst_cZRNetMessage.moc"
