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
    // Stored password hashes depend on these numbers; a change here locks users out. Short texts count as
    // blank-padded and what follows the sixteenth character plays no part.
    void passwordsKeepTheirNumbers()
    {
        for (const char* blanks : {"                ", ""})
            QCOMPARE(cEncryption::EncryptPassword(blanks), 0x5AF4C4A0u);
        QCOMPARE(cEncryption::EncryptPassword("secret"), 0xA70798BAu);
        for (const char* sixteen : {"0123456789abcdef", "0123456789abcdefXYZ"})
            QCOMPARE(cEncryption::EncryptPassword(sixteen), 0xA439268Bu);
    }
    // The sixteen characters end right before an inaccessible page: a seventeenth read would crash.
    void neverReadsPastTheSixteenthByte()
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
    void nullPasswordGivesZeroWithATrace()
    {
        const QStringList errors = cTraceCapture::Of([&] { QCOMPARE(cEncryption::EncryptPassword(nullptr), 0u); }).filter("ERROR:");
        QCOMPARE(errors.size(), 1);
    }
};

QTEST_APPLESS_MAIN(tst_cEncryption)
#include "tst_cEncryption.moc"
