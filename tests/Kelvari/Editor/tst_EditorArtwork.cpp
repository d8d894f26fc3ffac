#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

namespace
{
// The drawing rendered with its proportions, its longer side this many pixels: the share of mostly opaque
// pixels, and the brightest value among them.
QPair<double, int> Ink(const QString& path, int longSide)
{
    QSvgRenderer renderer(path);
    QImage image(renderer.viewBoxF().size().scaled(longSide, longSide, Qt::KeepAspectRatio).toSize(),
                 QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    int opaque = 0, brightest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() >= 160)
            {
                ++opaque;
                brightest = qMax(brightest, image.pixelColor(x, y).value());
            }
    return {double(opaque) / (image.width() * image.height()), brightest};
}
}

// The editor's own artwork that the pages name by resource path.
class tst_EditorArtwork : public QObject
{
    Q_OBJECT

    const QStringList mFiles = QDir(":/Images", "*.svg").entryList();

private slots:
    // The logo sits in the 28-pixel menu bar; the illustration fills a landscape page. At toolbar size a
    // drawing must still leave visible ink.
    void drawingRendersFromItsResourcePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("minWidthPerHeight");
        for (const QString& file : mFiles)
            QTest::newRow(qPrintable(file)) << ":/Images/" + file << 1.0;
        QTest::newRow("brandLogo") << ":/brandLogo" << 3.0;
        QTest::newRow("initialPageBackground") << ":/initialPageBackground" << 1.5;
    }
    void drawingRendersFromItsResourcePath()
    {
        QFETCH(QString, path);
        QFETCH(double, minWidthPerHeight);
        QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable(path));
        const QRectF box = renderer.viewBoxF();
        QVERIFY(!box.isEmpty() && box.width() / box.height() >= minWidthPerHeight);
        QVERIFY(Ink(path, 30).first > 0.02);
    }

    // Every icon has a "_Disabled" twin, some also an "_Off" one: enabled lines are the text grey (or the
    // selection green), disabled ones the dim "#4D4E4E", in the same shape so that a button keeps its place.
    void disabledTwinsAreDrawnInTheDisabledGrey()
    {
        QVERIFY(mFiles.contains("Icon_Undo.svg"));
        for (const QString& file : mFiles)
        {
            const QString base = ":/Images/" + file.chopped(4);
            if (file.contains("_Disabled") || file.contains("_Off"))
                continue;
            const auto lit = Ink(base + ".svg", 48);
            for (const QString& twin : {base + "_Disabled.svg", base + "_Off.svg"})
            {
                QVERIFY2(QFile::exists(twin) || twin.endsWith("_Off.svg"), qPrintable(twin));
                if (!QFile::exists(twin))
                    continue;
                const auto dim = Ink(twin, 48);
                QVERIFY2(lit.second >= 0xB0 && dim.second <= 0x50 && qAbs(lit.first - dim.first) < 0.01, qPrintable(twin));
            }
        }
    }

    // Two squares a side: opposite corners match, neighbouring ones differ.
    void checkerboardTilesWithoutSeams()
    {
        const QImage tile(":/Images/colourBackground.png");
        QVERIFY(!tile.isNull() && tile.width() == tile.height() && tile.width() % 2 == 0);
        const int last = tile.width() - 1;
        QCOMPARE(tile.pixel(0, 0), tile.pixel(last, last));
        QCOMPARE(tile.pixel(last, 0), tile.pixel(0, last));
        QVERIFY(tile.pixel(0, 0) != tile.pixel(last, 0));
    }
};

QTEST_MAIN(tst_EditorArtwork)
#include "tst_EditorArtwork.moc"
