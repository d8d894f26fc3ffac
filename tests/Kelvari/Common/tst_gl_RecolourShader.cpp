#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtMath>
#include <QtTest>
#include <algorithm>
#include <memory>

// Runs the recolouring shader over one colour patch in a real OpenGL scene
// graph and compares the drawn pixel with the tinting rule computed here in
// double precision.
namespace
{
const char* const kSceneQml = R"(
import QtQuick 2.12
Rectangle {
    width: 32; height: 32; color: "black"
    Rectangle { id: patch; objectName: "patch"; anchors.fill: parent }
    ShaderEffect {
        objectName: "effect"; anchors.fill: parent
        property variant source: ShaderEffectSource { sourceItem: patch; hideSource: true }
        property color newColor
        property color testColor
        property real range
        fragmentShader: "qrc:/Recolour.frag"
    }
}
)";

struct sHsv
{
    double hue;
    double saturation;
    double value;
};

sHsv ToHsv(double r, double g, double b)
{
    const double max = std::max({r, g, b});
    const double delta = max - std::min({r, g, b});
    double hue = 0;
    if (delta > 0)
    {
        if (max == r)
            hue = std::fmod((g - b) / delta + 6.0, 6.0) / 6.0;
        else if (max == g)
            hue = ((b - r) / delta + 2.0) / 6.0;
        else
            hue = ((r - g) / delta + 4.0) / 6.0;
    }
    return {hue, max > 0 ? delta / max : 0.0, max};
}

QVector<double> ToRgb(const sHsv& hsv)
{
    QVector<double> rgb;
    for (double offset : {0.0, 2.0 / 3.0, 1.0 / 3.0})
    {
        double p = std::fabs((hsv.hue + 1.0 + offset - std::floor(hsv.hue + 1.0 + offset)) * 6.0 - 3.0);
        p = std::clamp(p - 1.0, 0.0, 1.0);
        rgb << hsv.value * (1.0 + (p - 1.0) * hsv.saturation);
    }
    return rgb;
}

// The shader's output for one premultiplied source pixel; colours reach the
// shader premultiplied, as the scene graph hands them over.
QVector<double> Recoloured(const QColor& pixel, const QColor& newColour, const QColor& testColour, double range,
                           double opacity)
{
    const double alpha = pixel.alphaF();
    const sHsv c = ToHsv(pixel.redF() * alpha, pixel.greenF() * alpha, pixel.blueF() * alpha);
    const sHsv test = ToHsv(testColour.redF(), testColour.greenF(), testColour.blueF());
    const double dHue = test.hue - c.hue;
    const double dSaturation = test.saturation - c.saturation;
    const double dValue = test.value - c.value;
    const double hueDifference = 0.5 - std::fabs(std::fabs(dHue) - 0.5);

    QVector<double> out;
    if (hueDifference <= range && c.saturation >= 0.025)
    {
        const double newAlpha = newColour.alphaF();
        const double distance = std::hypot(hueDifference * 6.2831853 * dSaturation, dValue);
        const double gamma = std::clamp(2.0 * distance, 0.0, 1.0);
        sHsv tinted = ToHsv(newColour.redF() * newAlpha, newColour.greenF() * newAlpha, newColour.blueF() * newAlpha);
        const auto mix = [gamma](double a, double b) { return a * (1.0 - gamma) + b * gamma; };
        tinted.saturation = mix(std::clamp(tinted.saturation - dSaturation, 0.0, 1.0), c.saturation);
        tinted.value = mix(std::clamp(tinted.value - dValue, 0.0, 1.0), c.value);
        out = ToRgb(tinted);
        out << alpha * newAlpha;
    }
    else
    {
        out = {pixel.redF() * alpha, pixel.greenF() * alpha, pixel.blueF() * alpha, alpha};
    }
    for (double& channel : out)
        channel *= opacity;
    return out;
}
}

class tst_gl_RecolourShader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void pixelsFollowTheTintingRule_data();
    void pixelsFollowTheTintingRule();

private:
    std::unique_ptr<QQmlEngine> mEngine;
    std::unique_ptr<QQuickWindow> mWindow;
    QQuickItem* mPatch = nullptr;
    QQuickItem* mEffect = nullptr;
};

void tst_gl_RecolourShader::initTestCase()
{
    mEngine = std::make_unique<QQmlEngine>();
    mWindow = std::make_unique<QQuickWindow>();
    QQmlComponent component(mEngine.get());
    component.setData(kSceneQml, QUrl("qrc:/tst_gl_RecolourShader.qml"));
    auto* scene = qobject_cast<QQuickItem*>(component.create());
    QVERIFY2(scene, qPrintable(component.errorString()));
    scene->setParent(mWindow.get());
    scene->setParentItem(mWindow->contentItem());
    mPatch = scene->findChild<QQuickItem*>("patch");
    mEffect = scene->findChild<QQuickItem*>("effect");
    mWindow->resize(32, 32);
    mWindow->setColor(Qt::black);
    mWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
    if (mWindow->rendererInterface()->graphicsApi() != QSGRendererInterface::OpenGL)
        QFAIL("The shader needs the OpenGL scene graph: run under xvfb-run with QT_QPA_PLATFORM=xcb "
              "and without QT_QUICK_BACKEND=software");
}

void tst_gl_RecolourShader::cleanupTestCase()
{
    mWindow.reset();
    mEngine.reset();
}

void tst_gl_RecolourShader::pixelsFollowTheTintingRule_data()
{
    QTest::addColumn<QColor>("pixel");
    QTest::addColumn<QColor>("newColour");
    QTest::addColumn<QColor>("testColour");
    QTest::addColumn<double>("range");
    QTest::addColumn<double>("opacity");

    const QColor green("#6EFF36");
    const QColor blue("#0D72B8");
    const QColor red("#FF0000");
    const QColor pink("#FF3399");

    QTest::newRow("test colour takes the new colour") << green << pink << green << 0.12 << 1.0;
    QTest::newRow("dark shade keeps its shading") << QColor("#255712") << pink << green << 0.12 << 1.0;
    QTest::newRow("pale shade keeps its shading") << QColor("#C9FFB3") << blue << green << 0.12 << 1.0;
    QTest::newRow("grey is left alone") << QColor("#808080") << pink << green << 0.12 << 1.0;
    QTest::newRow("nearly grey is left alone") << QColor("#807F80") << pink << QColor("#FF00FF") << 0.12 << 1.0;
    QTest::newRow("other hue is left alone") << blue << pink << green << 0.12 << 1.0;
    QTest::newRow("hue just inside the range") << QColor("#FF9900") << blue << red << 0.12 << 1.0;
    QTest::newRow("hue just outside the range") << QColor("#FFE600") << blue << red << 0.12 << 1.0;
    QTest::newRow("hue wraps round the circle") << QColor("#FF0033") << blue << QColor("#FE4F00") << 0.12 << 1.0;
    QTest::newRow("widest range tints every hue") << blue << pink << green << 0.5 << 1.0;
    QTest::newRow("translucent pixel keeps its alpha") << QColor(255, 0, 0, 128) << blue << red << 0.12 << 1.0;
    QTest::newRow("translucent new colour") << green << QColor(0, 0, 255, 128) << green << 0.12 << 1.0;
    QTest::newRow("item opacity scales a tinted pixel") << green << pink << green << 0.12 << 0.5;
}

void tst_gl_RecolourShader::pixelsFollowTheTintingRule()
{
    QFETCH(QColor, pixel);
    QFETCH(QColor, newColour);
    QFETCH(QColor, testColour);
    QFETCH(double, range);
    QFETCH(double, opacity);

    mPatch->setProperty("color", pixel);
    mEffect->setProperty("newColor", newColour);
    mEffect->setProperty("testColor", testColour);
    mEffect->setProperty("range", range);
    mEffect->setProperty("opacity", opacity);
    const QImage grabbed = mWindow->grabWindow();
    QVERIFY(!grabbed.isNull());

    // Drawn over the black window, a premultiplied colour shows as it is.
    const QColor drawn = grabbed.pixelColor(grabbed.width() / 2, grabbed.height() / 2);
    const QVector<double> expected = Recoloured(pixel, newColour, testColour, range, opacity);
    const QString report = QString("drawn %1 %2 %3, expected %4 %5 %6")
                               .arg(drawn.redF()).arg(drawn.greenF()).arg(drawn.blueF())
                               .arg(expected[0]).arg(expected[1]).arg(expected[2]);
    for (const double difference :
         {drawn.redF() - expected[0], drawn.greenF() - expected[1], drawn.blueF() - expected[2]})
        QVERIFY2(std::fabs(difference) <= 3.0 / 255.0, qPrintable(report));
}

QTEST_MAIN(tst_gl_RecolourShader)
#include "tst_gl_RecolourShader.moc"
