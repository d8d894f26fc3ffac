#include "Kelvari/Common/cEncryption.h"
#include "support/cTraceCapture.h"

#include <QtTest>

#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

class tst_cEncryption : public QObject
{
    Q_OBJECT

private slots:
    void passwordsKeepTheirNumbers_data();
    void passwordsKeepTheirNumbers();
    void neverReadsPastTheSixteenthByte();
    void nullPasswordGivesZeroWithATrace();
};

// Stored password hashes depend on these numbers; a change here locks users out.
// Short texts count as blank-padded and what follows the sixteenth character plays no part.
void tst_cEncryption::passwordsKeepTheirNumbers_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<quint32>("number");
    QTest::newRow("blanks") << QByteArray("                ") << quint32(0x5AF4C4A0u);
    QTest::newRow("empty") << QByteArray("") << quint32(0x5AF4C4A0u);
    QTest::newRow("short") << QByteArray("secret") << quint32(0xA70798BAu);
    QTest::newRow("sixteen") << QByteArray("0123456789abcdef") << quint32(0xA439268Bu);
    QTest::newRow("longer") << QByteArray("0123456789abcdefXYZ") << quint32(0xA439268Bu);
}

void tst_cEncryption::passwordsKeepTheirNumbers()
{
    QFETCH(QByteArray, password);
    QFETCH(quint32, number);
    QCOMPARE(cEncryption::EncryptPassword(password.constData()), number);
}

// The sixteen characters end right before an inaccessible page: a seventeenth read would crash.
void tst_cEncryption::neverReadsPastTheSixteenthByte()
{
    const long page = sysconf(_SC_PAGESIZE);
    void* mapping = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    QVERIFY(mapping != MAP_FAILED);
    char* base = static_cast<char*>(mapping);
    QCOMPARE(mprotect(base + page, page, PROT_NONE), 0);
    char* password = base + page - cEncryption::kPasswordLength;
    std::memcpy(password, "0123456789abcdef", cEncryption::kPasswordLength);
    const quint32 number = cEncryption::EncryptPassword(password);
    munmap(mapping, 2 * page);
    QCOMPARE(number, 0xA439268Bu);
}

void tst_cEncryption::nullPasswordGivesZeroWithATrace()
{
    cTraceCapture capture;
    QCOMPARE(cEncryption::EncryptPassword(nullptr), 0u);
    QCOMPARE(capture.LinesContaining("ERROR:").size(), 1);
}

QTEST_APPLESS_MAIN(tst_cEncryption)
#include "tst_cEncryption.moc"
