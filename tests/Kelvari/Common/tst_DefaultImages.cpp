// The built-in widget drawings carried at the resource root: every listed name is there, Qt's SVG
// renderer draws it, it has the proportions its widget needs, and its colours suit the
// recolouring shader (themed drawings use only their theme's hue, generic ones only greys).

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

#include <cmath>
#include <iterator>

namespace {

struct sThemeCounts
{
    int perKind;       // fader_control, rotary_pointer, btn and led drawings
    int rotaryCount;   // rotary backgrounds
    const char *colour;
};

const sThemeCounts themes[] = {
    {5, 0, "#6EFF36"}, {5, 0, "#FE4F00"}, {5, 5, "#0D72B8"}, {5, 5, "#FFD100"}, {2, 2, "#0D69B9"},
};
const int genericFaderCount = 4;
const int genericRotaryCount = 1;

// The widgets hand the shader this hue distance; a pixel coloured further from the theme hue
// would keep its colour when the user picks another.
const double recolourRange = 0.12;
const double shaderMinSaturation = 0.025;

struct sDrawing
{
    QString name;
    int theme;   // -1 for generic drawings
    double minHeightPerWidth;
    double maxHeightPerWidth;
};

QList<sDrawing> listedDrawings()
{
    // height / width bounds: caps and keys wider than tall, knobs and dials square,
    // lamps square or wide, tracks tall and thin
    QList<sDrawing> drawings;
    for (int t = 0; t < int(std::size(themes)); ++t) {
        const auto name = [t](const char *kind, int n) {
            return QStringLiteral("default_th_%1_%2_%3").arg(t).arg(QLatin1String(kind)).arg(n);
        };
        for (int n = 0; n < themes[t].perKind; ++n)
            drawings.append({name("fader_control", n), t, 0.3, 0.9});
        for (int n = 0; n < themes[t].perKind; ++n)
            drawings.append({name("rotary_pointer", n), t, 1.0, 1.0});
        for (int n = 0; n < themes[t].rotaryCount; ++n)
            drawings.append({name("rotary", n), t, 1.0, 1.0});
        for (int n = 0; n < themes[t].perKind; ++n) {
            drawings.append({name("btn_off", n), t, 0.4, 0.8});
            drawings.append({name("btn_on", n), t, 0.4, 0.8});
        }
        for (int n = 0; n < themes[t].perKind; ++n) {
            drawings.append({name("led_off", n), t, 0.25, 1.0});
            drawings.append({name("led_on", n), t, 0.25, 1.0});
        }
    }
    for (int n = 0; n < genericFaderCount; ++n)
        drawings.append({QStringLiteral("default_gen_fader_%1").arg(n), -1, 4.0, 20.0});
    for (int n = 0; n < genericRotaryCount; ++n)
        drawings.append({QStringLiteral("default_gen_rotary_%1").arg(n), -1, 1.0, 1.0});
    return drawings;
}

// Renders the whole drawing with its proportions, its longer side this many pixels.
QImage render(QSvgRenderer &renderer, int longSide)
{
    const QSizeF box = renderer.viewBoxF().size();
    const QSize size = box.scaled(longSide, longSide, Qt::KeepAspectRatio).toSize();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

// Pixels whose colour is meaningful: mostly opaque, and bright enough that a grey rounded one
// level off in one channel still reads below the shader's saturation threshold.
bool isJudgeable(const QColor &pixel)
{
    return pixel.alpha() >= 96 && pixel.value() >= 48;
}

double hueDistance(double a, double b)
{
    return 0.5 - std::abs(std::abs(a - b) - 0.5);
}

} // namespace

class tst_DefaultImages : public QObject
{
    Q_OBJECT

private slots:
    void drawingRendersInColoursTheShaderCanRecolour_data();
    void drawingRendersInColoursTheShaderCanRecolour();
    void resourceRootHoldsExactlyTheListedDrawings();
};

void tst_DefaultImages::drawingRendersInColoursTheShaderCanRecolour_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("minHeightPerWidth");
    QTest::addColumn<double>("maxHeightPerWidth");
    QTest::addColumn<QColor>("themeColour");
    for (const sDrawing &d : listedDrawings())
        QTest::newRow(qPrintable(d.name))
            << QStringLiteral(":/") + d.name << d.minHeightPerWidth << d.maxHeightPerWidth
            << (d.theme >= 0 ? QColor(QLatin1String(themes[d.theme].colour)) : QColor());
    QTest::newRow("defaultImage") << QStringLiteral(":/defaultImage") << 0.0 << 100.0 << QColor();
}

void tst_DefaultImages::drawingRendersInColoursTheShaderCanRecolour()
{
    QFETCH(QString, path);
    QFETCH(double, minHeightPerWidth);
    QFETCH(double, maxHeightPerWidth);
    QFETCH(QColor, themeColour);

    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path));
    const QRectF box = renderer.viewBoxF();
    QVERIFY(!box.isEmpty());
    const double heightPerWidth = box.height() / box.width();
    QVERIFY2(heightPerWidth >= minHeightPerWidth && heightPerWidth <= maxHeightPerWidth,
             qPrintable(QStringLiteral("view box %1 x %2").arg(box.width()).arg(box.height())));

    const QImage image = render(renderer, 256);
    int painted = 0;
    int themed = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = QColor::fromRgba(image.pixel(x, y));
            if (pixel.alpha() > 0) {
                ++painted;
                colours.insert(pixel.rgba());
            }
            if (!isJudgeable(pixel) || pixel.hsvSaturationF() < shaderMinSaturation)
                continue;
            // Themed drawings use only their theme's hue, generic ones only greys.
            QVERIFY2(themeColour.isValid()
                         && hueDistance(pixel.hsvHueF(), themeColour.hsvHueF()) <= recolourRange,
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(pixel.name()).arg(x).arg(y)));
            if (pixel.hsvSaturationF() >= 0.3)
                ++themed;
        }
    }
    // even a lone needle covers a visible part of its box; every drawing is shaded, not a flat blot
    QVERIFY2(painted >= image.width() * image.height() / 50, qPrintable(QString::number(painted)));
    QVERIFY(colours.size() >= 8);
    // the theme colour must show, or there is nothing for the shader to recolour
    if (themeColour.isValid())
        QVERIFY2(themed >= 20, qPrintable(QString::number(themed)));
}

void tst_DefaultImages::resourceRootHoldsExactlyTheListedDrawings()
{
    QSet<QString> expected;
    for (const sDrawing &d : listedDrawings())
        expected.insert(d.name);
    QCOMPARE(expected.size(), 149);

    QSet<QString> present;
    const QStringList entries = QDir(QStringLiteral(":/")).entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.startsWith(QLatin1String("default_th_")) || entry.startsWith(QLatin1String("default_gen_")))
            present.insert(entry);
    }
    QCOMPARE(present - expected, QSet<QString>());
    QCOMPARE(expected - present, QSet<QString>());
}

QTEST_GUILESS_MAIN(tst_DefaultImages)
#include "tst_DefaultImages.moc"
