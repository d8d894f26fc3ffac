#include "support/cFixedConfigSource.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageResource.h"
#include "support/cTraceCapture.h"

#include <QRandomGenerator>
#include <QThread>
#include <QtTest>
#include <climits>
#include <memory>

namespace
{
QImage FilledImage(const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Adds a user image and returns its id.
QString AddImage(cConfigBase& config, const QByteArray& data, const QString& subtype = "svg",
                 const QImage& image = QImage())
{
    const QString id = QString::number(config.GetNextResourceId());
    config.InsertNewResource(new cImageResource(&config, id, "picture " + id, image, data, subtype, &config));
    return id;
}

QByteArray Svg(const QByteArray& rootAttributes, const QByteArray& content = "<rect width=\"4\" height=\"4\"/>")
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           + rootAttributes + ">" + content + "</svg>";
}

bool IsPlaceholder(const QImage& image)
{
    return image == FilledImage(QSize(20, 20), QColor(255, 0, 0));
}

bool HasVisiblePixels(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

bool FitsWithin(const QSize& size, const QSize& bound)
{
    return size.width() <= bound.width() && size.height() <= bound.height();
}
}

class tst_cImageProvider : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void unknownRequestsGiveThePlaceholder_data();
    void unknownRequestsGiveThePlaceholder();
    void defaultPictureKeepsItsNaturalSize();
    void drawingsAreRenderedAtTheRequestedSize_data();
    void drawingsAreRenderedAtTheRequestedSize();
    void unreadableDrawingIsTransparent();

    void userRasterImageKeepsItsOwnSize();
    void userSvgFollowsItsViewBox();
    void currentConfigIsAskedAtEveryRequest();

    void svgProportionsStayWithinTheRequest_data();
    void svgProportionsStayWithinTheRequest();
    void hugeRequestsAreScaledDown_data();
    void hugeRequestsAreScaledDown();

    void hostileSvgBytesAreServedSafely_data();
    void hostileSvgBytesAreServedSafely();
    void mutatedSvgBytesAreServedSafely();

    void configIsNotReadOffItsThread();

private:
    std::unique_ptr<cConfigBase> mConfig;
    std::unique_ptr<cFixedConfigSource> mSource;
    std::unique_ptr<cImageProvider> mProvider;
};

void tst_cImageProvider::init()
{
    mProvider.reset();
    mConfig = std::make_unique<cConfigBase>(nullptr);
    mSource = std::make_unique<cFixedConfigSource>(mConfig.get());
    mProvider = std::make_unique<cImageProvider>(*mSource);
}

void tst_cImageProvider::unknownRequestsGiveThePlaceholder_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");
    QTest::newRow("basic") << "_basic" << QSize(100, 100);
    QTest::newRow("upper-case default") << "_Default" << QSize(100, 100);
    QTest::newRow("drawing without size") << "default_th_0_btn_off_0" << QSize();
    QTest::newRow("drawing of negative size") << "default_gen_fader_0:preserveAspectFit" << QSize(-5, -5);
}

void tst_cImageProvider::unknownRequestsGiveThePlaceholder()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QSize reported(-1, -1);
    QVERIFY(IsPlaceholder(mProvider->requestImage(id, &reported, requested)));
    QCOMPARE(reported, QSize(20, 20));
    QVERIFY(IsPlaceholder(mProvider->requestImage(id, nullptr, requested)));
}

void tst_cImageProvider::defaultPictureKeepsItsNaturalSize()
{
    QSize reported;
    const QImage image = mProvider->requestImage("_default:preserveAspectFit", &reported, QSize(300, 100));
    QCOMPARE(image.size(), QSize(128, 128));
    QCOMPARE(reported, image.size());
    QVERIFY(HasVisiblePixels(image));
}

void tst_cImageProvider::drawingsAreRenderedAtTheRequestedSize_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    // The button drawing's view box is 40 x 24.
    QTest::newRow("exact") << "" << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("fitted to the height") << ":preserveAspectFit" << QSize(100, 50) << QSize(83, 50);
    QTest::newRow("fitted to the width") << ":preserveAspectFit" << QSize(100, 80) << QSize(100, 60);
    QTest::newRow("option is case-sensitive") << ":preserveaspectfit" << QSize(100, 50) << QSize(100, 50);
}

void tst_cImageProvider::drawingsAreRenderedAtTheRequestedSize()
{
    QFETCH(QString, options);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    QSize reported;
    const QImage image = mProvider->requestImage("default_th_0_btn_off_0" + options, &reported, requested);
    QCOMPARE(image.size(), expected);
    QCOMPARE(reported, expected);
    QVERIFY(HasVisiblePixels(image));
}

void tst_cImageProvider::unreadableDrawingIsTransparent()
{
    QSize reported;
    QVERIFY(!HasVisiblePixels(mProvider->requestImage("default_no_such_drawing", &reported, QSize(30, 20))));
    QCOMPARE(reported, QSize(30, 20));
    QVERIFY(mProvider->requestImage("default_no_such_drawing:preserveAspectFit", &reported, QSize(30, 20)).isNull());
    QCOMPARE(reported, QSize(0, 0));
}

void tst_cImageProvider::userRasterImageKeepsItsOwnSize()
{
    const QImage original = FilledImage(QSize(30, 10), QColor(10, 200, 30));
    const QString id = AddImage(*mConfig, "png bytes", "png", original);
    for (const QString& request : {id, id + ":preserveAspectFit"})
    {
        QSize reported;
        QCOMPARE(mProvider->requestImage(request, &reported, QSize(100, 100)), original);
        QCOMPARE(reported, QSize(30, 10));
    }
}

void tst_cImageProvider::userSvgFollowsItsViewBox()
{
    const QString id = AddImage(*mConfig, Svg("viewBox=\"0 0 10 20\"",
                                              "<rect width=\"10\" height=\"20\" fill=\"#00ff00\"/>"));
    QSize reported;
    const QImage exact = mProvider->requestImage(id, &reported, QSize(100, 100));
    QCOMPARE(exact.size(), QSize(100, 100));
    QCOMPARE(exact.pixel(50, 50), qRgb(0, 255, 0));
    const QImage fitted = mProvider->requestImage(id + ":preserveAspectFit", &reported, QSize(100, 100));
    QCOMPARE(fitted.size(), QSize(50, 100));
    QCOMPARE(reported, QSize(50, 100));
    QVERIFY(IsPlaceholder(mProvider->requestImage(id, &reported, QSize())));
}

void tst_cImageProvider::currentConfigIsAskedAtEveryRequest()
{
    cConfigBase other(nullptr);
    const QString id = AddImage(*mConfig, "png bytes", "png", FilledImage(QSize(4, 4), Qt::blue));
    AddImage(other, "png bytes", "png", FilledImage(QSize(6, 2), Qt::green));

    QSize reported;
    QCOMPARE(mProvider->requestImage(id, &reported, QSize()).size(), QSize(4, 4));
    mSource->mConfig = &other;
    QCOMPARE(mProvider->requestImage(id, &reported, QSize()).size(), QSize(6, 2));
    mSource->mConfig = nullptr;
    QVERIFY(IsPlaceholder(mProvider->requestImage(id, &reported, QSize())));
}

void tst_cImageProvider::svgProportionsStayWithinTheRequest_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QSize>("fitted");
    QTest::newRow("no width") << Svg("viewBox=\"0 0 0 10\"", "") << QSize(0, 0);
    QTest::newRow("neither view box nor size") << Svg("", "") << QSize(0, 0);
    // Without a view box of its own a drawing is framed by its contents.
    QTest::newRow("contents frame it") << Svg("viewBox=\"0 0 0 0\"", "<rect width=\"8\" height=\"2\"/>")
                                       << QSize(100, 25);
    QTest::newRow("very tall") << Svg("viewBox=\"0 0 1 1e30\"") << QSize(0, 0);
    QTest::newRow("beyond single precision") << Svg("viewBox=\"0 0 1e-30 1e30\"") << QSize(0, 0);
    QTest::newRow("tenfold tall") << Svg("viewBox=\"0 0 10 100\"") << QSize(10, 100);
}

void tst_cImageProvider::svgProportionsStayWithinTheRequest()
{
    QFETCH(QByteArray, svg);
    QFETCH(QSize, fitted);
    const QString id = AddImage(*mConfig, svg);
    QSize reported;
    QCOMPARE(mProvider->requestImage(id + ":preserveAspectFit", &reported, QSize(100, 100)).size(), fitted);
    QCOMPARE(reported, fitted);
    QCOMPARE(mProvider->requestImage(id, &reported, QSize(100, 100)).size(), QSize(100, 100));
}

void tst_cImageProvider::hugeRequestsAreScaledDown_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    const QString button = "default_th_0_btn_off_0";
    QTest::newRow("longest side") << button << QSize(8192, 100) << QSize(8192, 100);
    QTest::newRow("too many pixels") << button << QSize(20000, 10000) << QSize(5792, 2896);
    QTest::newRow("too tall") << button << QSize(100, 16384) << QSize(50, 8192);
    QTest::newRow("fitted") << button + ":preserveAspectFit" << QSize(100000, 100000) << QSize(5287, 3172);
    QTest::newRow("largest") << "default_gen_rotary_0" << QSize(INT_MAX, INT_MAX) << QSize(4096, 4096);
    QTest::newRow("largest fitted") << "default_gen_rotary_0:preserveAspectFit" << QSize(INT_MAX, INT_MAX)
                                    << QSize(4096, 4096);
}

void tst_cImageProvider::hugeRequestsAreScaledDown()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    QSize reported;
    QCOMPARE(mProvider->requestImage(id, &reported, requested).size(), expected);
    QCOMPARE(reported, expected);
}

void tst_cImageProvider::hostileSvgBytesAreServedSafely_data()
{
    QTest::addColumn<QByteArray>("svg");

    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a \"aaaaaaaaaa\">";
    for (char level = 'b'; level <= 'j'; ++level)
        laughs += QByteArray("<!ENTITY ") + level + " \"" + (QByteArray("&") + char(level - 1) + ";").repeated(10)
                  + "\">";
    laughs += "]>" + Svg("viewBox=\"0 0 10 10\"", "<text>&j;</text>");
    QRandomGenerator random(7);
    QByteArray binary(4096, '\0');
    for (char& byte : binary)
        byte = char(random.bounded(256));

    QTest::newRow("not xml") << QByteArray("this is no picture at all");
    QTest::newRow("binary") << binary;
    QTest::newRow("deep nesting") << Svg("viewBox=\"0 0 10 10\"", QByteArray("<g>").repeated(100000));
    QTest::newRow("entity expansion") << laughs;
    QTest::newRow("self-using group")
        << Svg("viewBox=\"0 0 10 10\"", "<g id=\"a\"><use xlink:href=\"#a\"/></g>");
    QTest::newRow("gradient cycle")
        << Svg("viewBox=\"0 0 10 10\"", "<defs><linearGradient id=\"g\" xlink:href=\"#h\"/>"
                                        "<linearGradient id=\"h\" xlink:href=\"#g\"/></defs>"
                                        "<rect width=\"5\" height=\"5\" fill=\"url(#g)\"/>");
    QTest::newRow("tiny dashes") << Svg("viewBox=\"0 0 10 10\"", "<rect width=\"5\" height=\"5\" stroke=\"red\" "
                                                                 "stroke-dasharray=\"0.0000001\"/>");
    QTest::newRow("huge coordinates") << Svg("viewBox=\"0 0 1e38 1e38\"", "<circle r=\"1e38\"/>");
    QTest::newRow("huge declared size") << Svg("width=\"1e9\" height=\"1e9\"");
}

void tst_cImageProvider::hostileSvgBytesAreServedSafely()
{
    QFETCH(QByteArray, svg);
    const QString id = AddImage(*mConfig, svg);
    for (const QString& options : {QString(), QString(":preserveAspectFit")})
    {
        QSize reported;
        const QImage image = mProvider->requestImage(id + options, &reported, QSize(64, 48));
        QCOMPARE(reported, image.size());
        QVERIFY(FitsWithin(image.size(), QSize(64, 48)));
    }
}

void tst_cImageProvider::mutatedSvgBytesAreServedSafely()
{
    QFile file(":/default_th_0_btn_off_0");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray drawing = file.readAll();
    QRandomGenerator random(20240611);
    for (int round = 0; round < 400; ++round)
    {
        QByteArray bytes = drawing;
        for (int change = random.bounded(16); change >= 0; --change)
            bytes[random.bounded(bytes.size())] = char(random.bounded(256));
        if (round % 4 == 0)
            bytes.truncate(random.bounded(bytes.size()));
        const QString id = AddImage(*mConfig, bytes);
        for (const QString& options : {QString(), QString(":preserveAspectFit")})
        {
            QSize reported;
            const QImage image = mProvider->requestImage(id + options, &reported, QSize(48, 48));
            QCOMPARE(reported, image.size());
            QVERIFY2(FitsWithin(image.size(), QSize(48, 48)), qPrintable(QString::number(round)));
        }
    }
}

void tst_cImageProvider::configIsNotReadOffItsThread()
{
    const QString id = AddImage(*mConfig, "png bytes", "png", FilledImage(QSize(4, 4), Qt::blue));
    cTraceCapture trace;
    QImage userImage;
    QImage drawing;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        userImage = mProvider->requestImage(id, nullptr, QSize());
        drawing = mProvider->requestImage("default_th_1_led_on_0", nullptr, QSize(24, 24));
    }));
    thread->start();
    QVERIFY(thread->wait(10000));

    QVERIFY(IsPlaceholder(userImage));
    QCOMPARE(trace.LinesContaining("Image '0' requested off the config's thread").size(), 1);
    QCOMPARE(drawing.size(), QSize(24, 24));
    QVERIFY(HasVisiblePixels(drawing));
}

QTEST_MAIN(tst_cImageProvider)
#include "tst_cImageProvider.moc"
