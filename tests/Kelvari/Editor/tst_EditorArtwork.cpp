// The editor's own artwork that the pages name by resource path.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

namespace
{
struct sInk
{
    double coverage = 0; // share of mostly opaque pixels
    int brightest = 0;   // brightest value among them
};

// The drawing rendered with its proportions, its longer side this many pixels.
sInk Ink(const QString& path, int longSide)
{
    QSvgRenderer renderer(path);
    QImage image(renderer.viewBoxF().size().scaled(longSide, longSide, Qt::KeepAspectRatio).toSize(),
                 QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    sInk result;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
        {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() >= 160)
            {
                ++opaque;
                result.brightest = qMax(result.brightest, pixel.value());
            }
        }
    result.coverage = double(opaque) / (image.width() * image.height());
    return result;
}

QStringList SvgFiles() { return QDir(QStringLiteral(":/Images"), QStringLiteral("*.svg")).entryList(); }
}

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
    for (const QString& file : SvgFiles())
        QTest::newRow(qPrintable(file)) << ":/Images/" + file << 1.0;
    // The logo sits in the 28-pixel menu bar; the illustration fills a landscape page.
    QTest::newRow("brandLogo") << ":/brandLogo" << 3.0;
    QTest::newRow("initialPageBackground") << ":/initialPageBackground" << 1.5;
}

void tst_EditorArtwork::drawingRendersFromItsResourcePath()
{
    QFETCH(QString, path);
    QFETCH(double, minWidthPerHeight);
    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path));
    const QRectF box = renderer.viewBoxF();
    QVERIFY(!box.isEmpty() && box.width() / box.height() >= minWidthPerHeight);
    // At toolbar size a drawing must still leave visible ink.
    QVERIFY(Ink(path, 30).coverage > 0.02);
}

// Every icon has a "_Disabled" twin, some also an "_Off" one.
void tst_EditorArtwork::disabledTwinsAreDrawnInTheDisabledGrey_data()
{
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("disabled");
    QVERIFY(SvgFiles().contains(QStringLiteral("Icon_Undo.svg")));
    for (const QString& file : SvgFiles())
    {
        if (file.contains(QLatin1String("_Disabled")) || file.contains(QLatin1String("_Off")))
            continue;
        const QString base = ":/Images/" + file.chopped(4);
        QTest::newRow(qPrintable(file + "_Disabled")) << base + ".svg" << base + "_Disabled.svg";
        if (QFile::exists(base + "_Off.svg"))
            QTest::newRow(qPrintable(file + "_Off")) << base + ".svg" << base + "_Off.svg";
    }
}

// Enabled lines are the text grey (or the selection green), disabled ones the dim "#4D4E4E",
// with the same shape so that a button keeps its place when it switches.
void tst_EditorArtwork::disabledTwinsAreDrawnInTheDisabledGrey()
{
    QFETCH(QString, enabled);
    QFETCH(QString, disabled);
    QVERIFY2(QFile::exists(disabled), qPrintable(disabled));
    const sInk lit = Ink(enabled, 48);
    const sInk dim = Ink(disabled, 48);
    QVERIFY(lit.brightest >= 0xB0);
    QVERIFY(dim.brightest <= 0x50);
    QVERIFY(qAbs(lit.coverage - dim.coverage) < 0.01);
}

// Two squares a side: opposite corners match, neighbouring ones differ.
void tst_EditorArtwork::checkerboardTilesWithoutSeams()
{
    const QImage tile(QStringLiteral(":/Images/colourBackground.png"));
    QVERIFY(!tile.isNull() && tile.width() == tile.height() && tile.width() % 2 == 0);
    const int last = tile.width() - 1;
    QCOMPARE(tile.pixel(0, 0), tile.pixel(last, last));
    QCOMPARE(tile.pixel(last, 0), tile.pixel(0, last));
    QVERIFY(tile.pixel(0, 0) != tile.pixel(last, 0));
}

QTEST_MAIN(tst_EditorArtwork)
#include "tst_EditorArtwork.moc"
