// The editor's own artwork that the pages name by resource path: every icon is there with its
// disabled twins drawn in the disabled grey, the brand logo and the start-page illustration render,
// and the colour swatch's checkerboard tiles without seams.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

namespace {

// The icons the pages show; each has a "_Disabled" twin, and some also an "_Off" twin.
QStringList iconNames()
{
    QStringList names;
    for (const QString &file : QDir(QStringLiteral(":/Images"), QStringLiteral("*.svg")).entryList()) {
        if (!file.contains(QLatin1String("_Disabled")) && !file.contains(QLatin1String("_Off")))
            names << file.chopped(4);
    }
    return names;
}

// Renders the drawing with its proportions, its longer side this many pixels.
QImage render(const QString &path, int longSide)
{
    QSvgRenderer renderer(path);
    const QSize size = renderer.viewBoxF().size().scaled(longSide, longSide, Qt::KeepAspectRatio).toSize();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Share of pixels that are mostly opaque, and the brightest of them.
struct sInk
{
    double coverage = 0;
    int brightest = 0;
};

sInk ink(const QImage &image)
{
    sInk result;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 160)
                continue;
            ++opaque;
            result.brightest = qMax(result.brightest, pixel.value());
        }
    }
    result.coverage = double(opaque) / (image.width() * image.height());
    return result;
}

} // namespace

class tst_EditorArtwork : public QObject
{
    Q_OBJECT

private slots:
    void drawingRendersFromItsResourcePath_data();
    void drawingRendersFromItsResourcePath();
    void disabledTwinsAreDrawnInTheDisabledGrey_data();
    void disabledTwinsAreDrawnInTheDisabledGrey();
    void checkerboardTilesWithoutSeams();
};

void tst_EditorArtwork::drawingRendersFromItsResourcePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("minWidthPerHeight");
    for (const QString &file : QDir(QStringLiteral(":/Images"), QStringLiteral("*.svg")).entryList())
        QTest::newRow(qPrintable(file)) << ":/Images/" + file << 1.0;
    // The logo sits in the 28-pixel menu bar; the illustration fills a landscape page.
    QTest::newRow("brandLogo") << ":/brandLogo" << 3.0;
    QTest::newRow("initialPageBackground") << ":/initialPageBackground" << 1.5;
}

void tst_EditorArtwork::drawingRendersFromItsResourcePath()
{
    QFETCH(QString, path);
    QFETCH(double, minWidthPerHeight);

    QVERIFY2(QFile::exists(path), qPrintable(path));
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    const QRectF box = renderer.viewBoxF();
    QVERIFY(!box.isEmpty());
    QVERIFY(box.width() / box.height() >= minWidthPerHeight);
    // At toolbar size a drawing must still leave visible ink.
    QVERIFY(ink(render(path, 30)).coverage > 0.02);
}

void tst_EditorArtwork::disabledTwinsAreDrawnInTheDisabledGrey_data()
{
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("disabled");
    const QStringList names = iconNames();
    QVERIFY(names.contains(QStringLiteral("Icon_Undo")));
    for (const QString &name : names) {
        const QString base = ":/Images/" + name;
        QTest::newRow(qPrintable(name + "_Disabled")) << base + ".svg" << base + "_Disabled.svg";
        if (QFile::exists(base + "_Off.svg"))
            QTest::newRow(qPrintable(name + "_Off")) << base + ".svg" << base + "_Off.svg";
    }
}

void tst_EditorArtwork::disabledTwinsAreDrawnInTheDisabledGrey()
{
    QFETCH(QString, enabled);
    QFETCH(QString, disabled);

    // Enabled lines are the text grey (or the selection green), disabled ones the dim "#4D4E4E",
    // with the same shape so that a button keeps its place when it switches.
    QVERIFY2(QFile::exists(disabled), qPrintable(disabled));
    const sInk lit = ink(render(enabled, 48));
    const sInk dim = ink(render(disabled, 48));
    QVERIFY(lit.brightest >= 0xB0);
    QVERIFY(dim.brightest <= 0x50);
    QVERIFY(qAbs(lit.coverage - dim.coverage) < 0.01);
}

void tst_EditorArtwork::checkerboardTilesWithoutSeams()
{
    const QImage tile(QStringLiteral(":/Images/colourBackground.png"));
    QVERIFY(!tile.isNull());
    QCOMPARE(tile.width(), tile.height());
    QCOMPARE(tile.width() % 2, 0);
    // Two squares a side: opposite corners match, neighbouring ones differ, so copies laid
    // side by side continue the pattern.
    const int last = tile.width() - 1;
    QCOMPARE(tile.pixel(0, 0), tile.pixel(last, last));
    QCOMPARE(tile.pixel(last, 0), tile.pixel(0, last));
    QVERIFY(tile.pixel(0, 0) != tile.pixel(last, 0));
}

QTEST_MAIN(tst_EditorArtwork)
#include "tst_EditorArtwork.moc"
