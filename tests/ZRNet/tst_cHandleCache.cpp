#include "ZRNet/Core/cHandleCache.h"

#include <QtTest>

class tst_cHandleCache : public QObject
{
    Q_OBJECT

private slots:
    void theLeastRecentlyUsedPathMakesRoom();
};

void tst_cHandleCache::theLeastRecentlyUsedPathMakesRoom()
{
    cHandleCache cache(3);
    UWORD connectionId = 0;
    UWORD handle = 0;
    cache.Store("a", 3, 1);
    cache.Store("a", 3, 17);
    cache.Store("b", 1, 2);
    cache.Store("c", 1, 3);
    QVERIFY(cache.Lookup("a", connectionId, handle));
    QCOMPARE(connectionId, UWORD(3));
    QCOMPARE(handle, UWORD(17));
    cache.Store("d", 1, 4);
    QCOMPARE(cache.Count(), size_t(3));
    QVERIFY(!cache.Lookup("b", connectionId, handle));
    QVERIFY(cache.Lookup("a", connectionId, handle));
    cache.EvictConnection(1);
    QCOMPARE(cache.Count(), size_t(1));
    QVERIFY(cache.Lookup("a", connectionId, handle));
}

QTEST_GUILESS_MAIN(tst_cHandleCache)
#include "tst_cHandleCache.moc"
