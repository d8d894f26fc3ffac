#include "ZRNet/Core/cHandleCache.h"

#include <QtTest>

class tst_cHandleCache : public QObject
{
    Q_OBJECT

private slots:
    void storedPathsAreFound();
    void theLeastRecentlyUsedPathMakesRoom();
    void aLookupMakesAPathRecent();
    void storingAgainReplacesThePath();
    void aConnectionTakesItsPathsWithIt();
};

void tst_cHandleCache::storedPathsAreFound()
{
    cHandleCache cache(40);
    cache.Store("10.0.0.1/Kelvari Config Manager", 3, 17);
    UWORD connectionId = 0;
    UWORD handle = 0;
    QVERIFY(cache.Lookup("10.0.0.1/Kelvari Config Manager", connectionId, handle));
    QCOMPARE(connectionId, UWORD(3));
    QCOMPARE(handle, UWORD(17));
    QVERIFY(!cache.Lookup("10.0.0.2/Kelvari Config Manager", connectionId, handle));
}

void tst_cHandleCache::theLeastRecentlyUsedPathMakesRoom()
{
    cHandleCache cache(40);
    for (UWORD i = 0; i < 41; ++i)
        cache.Store("path " + std::to_string(i), 1, i);
    QCOMPARE(cache.Count(), size_t(40));
    UWORD connectionId = 0;
    UWORD handle = 0;
    QVERIFY(!cache.Lookup("path 0", connectionId, handle));
    QVERIFY(cache.Lookup("path 1", connectionId, handle));
    QVERIFY(cache.Lookup("path 40", connectionId, handle));
}

void tst_cHandleCache::aLookupMakesAPathRecent()
{
    cHandleCache cache(2);
    UWORD connectionId = 0;
    UWORD handle = 0;
    cache.Store("a", 1, 1);
    cache.Store("b", 1, 2);
    QVERIFY(cache.Lookup("a", connectionId, handle));
    cache.Store("c", 1, 3);
    QVERIFY(cache.Lookup("a", connectionId, handle));
    QVERIFY(!cache.Lookup("b", connectionId, handle));
}

void tst_cHandleCache::storingAgainReplacesThePath()
{
    cHandleCache cache(4);
    cache.Store("a", 1, 1);
    cache.Store("a", 2, 9);
    QCOMPARE(cache.Count(), size_t(1));
    UWORD connectionId = 0;
    UWORD handle = 0;
    QVERIFY(cache.Lookup("a", connectionId, handle));
    QCOMPARE(handle, UWORD(9));
}

void tst_cHandleCache::aConnectionTakesItsPathsWithIt()
{
    cHandleCache cache(4);
    cache.Store("a", 1, 1);
    cache.Store("b", 2, 2);
    cache.Store("c", 1, 3);
    cache.EvictConnection(1);
    QCOMPARE(cache.Count(), size_t(1));
    UWORD connectionId = 0;
    UWORD handle = 0;
    QVERIFY(cache.Lookup("b", connectionId, handle));
}

QTEST_GUILESS_MAIN(tst_cHandleCache)
#include "tst_cHandleCache.moc"
