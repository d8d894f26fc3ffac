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
QString AddImage(cConfigBase& config, const QImage& image, const QByteArray& data, const QString& subtype)
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

QByteArray DrawingBytes()
{
    QFile file(":/default_th_0_btn_off_0");
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

bool IsPlaceholder(const QImage& image)
{
    if (image.size() != QSize(20, 20) || image.format() != QImage::Format_ARGB32)
        return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgba(255, 0, 0, 255))
                return false;
    return true;
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
    void cleanup();

    void unknownRequestsGiveThePlaceholder_data();
    void unknownRequestsGiveThePlaceholder();

    void defaultPictureKeepsItsNaturalSize();
    void drawingsAreRenderedAtTheRequestedSize_data();
    void drawingsAreRenderedAtTheRequestedSize();
    void unreadableDrawingIsTransparent();

    void userRasterImageKeepsItsOwnSize();
    void userSvgFollowsItsViewBox_data();
    void userSvgFollowsItsViewBox();
    void currentConfigIsAskedAtEveryRequest();

    void emptyViewBoxHasNoProportions_data();
    void emptyViewBoxHasNoProportions();
    void extremeProportionsStayWithinTheRequest_data();
    void extremeProportionsStayWithinTheRequest();
    void hugeRequestsAreScaledDown_data();
    void hugeRequestsAreScaledDown();
    void largestRequestStaysWithinBounds();

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
    mConfig = std::make_unique<cConfigBase>(nullptr);
    mSource = std::make_unique<cFixedConfigSource>();
    mSource->mConfig = mConfig.get();
    mProvider = std::make_unique<cImageProvider>(*mSource);
}

void tst_cImageProvider::cleanup()
{
    mProvider.reset();
    mSource.reset();
    mConfig.reset();
}

void tst_cImageProvider::unknownRequestsGiveThePlaceholder_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");

    QTest::newRow("basic") << "_basic" << QSize(100, 100);
    QTest::newRow("empty id") << "" << QSize(100, 100);
    QTest::newRow("upper-case default") << "_Default" << QSize(100, 100);
    QTest::newRow("drawing without size") << "default_th_0_btn_off_0" << QSize();
    QTest::newRow("drawing of no width") << "default_th_0_btn_off_0" << QSize(0, 50);
    QTest::newRow("drawing of negative size") << "default_gen_fader_0:preserveAspectFit" << QSize(-5, -5);
}

void tst_cImageProvider::unknownRequestsGiveThePlaceholder()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);

    QSize reported(-1, -1);
    const QImage image = mProvider->requestImage(id, &reported, requested);
    QVERIFY(IsPlaceholder(image));
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
    QCOMPARE(mProvider->requestImage("_default", &reported, QSize()).size(), QSize(128, 128));
}

void tst_cImageProvider::drawingsAreRenderedAtTheRequestedSize_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");

    // The button drawing's view box is 40 x 24: r = 0.6.
    const QString button = "default_th_0_btn_off_0";
    QTest::newRow("exact") << button << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("fitted to the height") << button + ":preserveAspectFit" << QSize(100, 50) << QSize(83, 50);
    QTest::newRow("fitted to the width") << button + ":preserveAspectFit" << QSize(100, 80) << QSize(100, 60);
    QTest::newRow("fitted a pixel short") << button + ":preserveAspectFit" << QSize(100, 59) << QSize(98, 59);
    QTest::newRow("option is case-sensitive") << button + ":preserveaspectfit" << QSize(100, 50)
                                              << QSize(100, 50);
    QTest::newRow("themed led") << "default_th_4_led_on_1" << QSize(48, 48) << QSize(48, 48);
}

void tst_cImageProvider::drawingsAreRenderedAtTheRequestedSize()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);

    QSize reported;
    const QImage image = mProvider->requestImage(id, &reported, requested);
    QCOMPARE(image.size(), expected);
    QCOMPARE(reported, expected);
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    QVERIFY(HasVisiblePixels(image));
}

void tst_cImageProvider::unreadableDrawingIsTransparent()
{
    QSize reported;
    const QImage exact = mProvider->requestImage("default_no_such_drawing", &reported, QSize(30, 20));
    QCOMPARE(reported, QSize(30, 20));
    QVERIFY(!HasVisiblePixels(exact));

    const QImage fitted = mProvider->requestImage("default_no_such_drawing:preserveAspectFit", &reported,
                                                  QSize(30, 20));
    QVERIFY(fitted.isNull());
    QCOMPARE(reported, QSize(0, 0));
}

void tst_cImageProvider::userRasterImageKeepsItsOwnSize()
{
    const QImage original = FilledImage(QSize(30, 10), QColor(10, 200, 30));
    const QString id = AddImage(*mConfig, original, "png bytes", "png");

    for (const QString& request : {id, id + ":preserveAspectFit"})
    {
        QSize reported;
        QCOMPARE(mProvider->requestImage(request, &reported, QSize(100, 100)), original);
        QCOMPARE(reported, QSize(30, 10));
    }
}

void tst_cImageProvider::userSvgFollowsItsViewBox_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("exact") << "" << QSize(100, 100) << QSize(100, 100);
    QTest::newRow("fitted") << ":preserveAspectFit" << QSize(100, 100) << QSize(50, 100);
    QTest::newRow("no size") << "" << QSize() << QSize(20, 20);
}

void tst_cImageProvider::userSvgFollowsItsViewBox()
{
    QFETCH(QString, options);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    AddImage(*mConfig, FilledImage(QSize(3, 3), Qt::blue), "png bytes", "png");
    const QString id = AddImage(*mConfig, QImage(), Svg("viewBox=\"0 0 10 20\"",
                                                        "<rect width=\"10\" height=\"20\" fill=\"#00ff00\"/>"),
                                "svg");

    QSize reported;
    const QImage image = mProvider->requestImage(id + options, &reported, requested);
    QCOMPARE(image.size(), expected);
    QCOMPARE(reported, expected);
    QCOMPARE(image.pixel(image.width() / 2, image.height() / 2), requested.isValid() ? qRgb(0, 255, 0)
                                                                                    : qRgb(255, 0, 0));
}

void tst_cImageProvider::currentConfigIsAskedAtEveryRequest()
{
    cConfigBase other(nullptr);
    const QString id = AddImage(*mConfig, FilledImage(QSize(4, 4), Qt::blue), "png bytes", "png");
    QCOMPARE(AddImage(other, FilledImage(QSize(6, 2), Qt::green), "png bytes", "png"), id);

    QSize reported;
    QCOMPARE(mProvider->requestImage(id, &reported, QSize()).size(), QSize(4, 4));
    mSource->mConfig = &other;
    QCOMPARE(mProvider->requestImage(id, &reported, QSize()).size(), QSize(6, 2));
    mSource->mConfig = nullptr;
    QVERIFY(IsPlaceholder(mProvider->requestImage(id, &reported, QSize())));
}

void tst_cImageProvider::emptyViewBoxHasNoProportions_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QSize>("fitted");

    QTest::newRow("no width") << Svg("viewBox=\"0 0 0 10\"", "") << QSize(0, 0);
    QTest::newRow("negative width") << Svg("viewBox=\"0 0 -10 10\"", "") << QSize(0, 0);
    QTest::newRow("neither view box nor size") << Svg("", "") << QSize(0, 0);
    // Without a view box of its own a drawing is framed by its contents.
    QTest::newRow("contents frame it") << Svg("viewBox=\"0 0 0 0\"") << QSize(30, 30);
}

void tst_cImageProvider::emptyViewBoxHasNoProportions()
{
    QFETCH(QByteArray, svg);
    QFETCH(QSize, fitted);
    const QString id = AddImage(*mConfig, QImage(), svg, "svg");

    QSize reported;
    const QImage fittedImage = mProvider->requestImage(id + ":preserveAspectFit", &reported, QSize(40, 30));
    QCOMPARE(fittedImage.size(), fitted);
    QCOMPARE(reported, fitted);

    const QImage exact = mProvider->requestImage(id, &reported, QSize(40, 30));
    QCOMPARE(exact.size(), QSize(40, 30));
    QCOMPARE(reported, QSize(40, 30));
}

void tst_cImageProvider::extremeProportionsStayWithinTheRequest_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("very tall") << Svg("viewBox=\"0 0 1 1e30\"") << QSize(0, 0);
    QTest::newRow("beyond single precision") << Svg("viewBox=\"0 0 1e-30 1e30\"") << QSize(0, 0);
    QTest::newRow("tenfold tall") << Svg("viewBox=\"0 0 10 100\"") << QSize(10, 100);
}

void tst_cImageProvider::extremeProportionsStayWithinTheRequest()
{
    QFETCH(QByteArray, svg);
    QFETCH(QSize, expected);
    const QString id = AddImage(*mConfig, QImage(), svg, "svg");

    QSize reported;
    const QImage image = mProvider->requestImage(id + ":preserveAspectFit", &reported, QSize(100, 100));
    QCOMPARE(reported, image.size());
    QVERIFY(FitsWithin(image.size(), QSize(100, 100)));
    QCOMPARE(image.size(), expected);
}

void tst_cImageProvider::hugeRequestsAreScaledDown_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");

    const QString button = "default_th_0_btn_off_0";
    QTest::newRow("longest side") << button << QSize(8192, 100) << QSize(8192, 100);
    QTest::newRow("square") << button << QSize(100000, 100000) << QSize(4096, 4096);
    QTest::newRow("too many pixels") << button << QSize(20000, 10000) << QSize(5792, 2896);
    QTest::newRow("too tall") << button << QSize(100, 16384) << QSize(50, 8192);
    QTest::newRow("fitted") << button + ":preserveAspectFit" << QSize(100000, 100000) << QSize(5287, 3172);
}

void tst_cImageProvider::hugeRequestsAreScaledDown()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);

    QSize reported;
    const QImage image = mProvider->requestImage(id, &reported, requested);
    QCOMPARE(image.size(), expected);
    QCOMPARE(reported, expected);
}

void tst_cImageProvider::largestRequestStaysWithinBounds()
{
    for (const QString& id : {QString("default_gen_rotary_0"), QString("default_gen_rotary_0:preserveAspectFit")})
    {
        QSize reported;
        const QImage image = mProvider->requestImage(id, &reported, QSize(INT_MAX, INT_MAX));
        QVERIFY(!image.isNull());
        QVERIFY(FitsWithin(image.size(), QSize(cImageProvider::mMaxSide, cImageProvider::mMaxSide)));
        QVERIFY(qint64(image.width()) * image.height() <= cImageProvider::mMaxPixels);
        QCOMPARE(reported, image.size());
    }
}

void tst_cImageProvider::hostileSvgBytesAreServedSafely_data()
{
    QTest::addColumn<QByteArray>("svg");

    QByteArray nested;
    for (int i = 0; i < 100000; ++i)
        nested += "<g>";
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a \"aaaaaaaaaa\">";
    for (int level = 1; level < 10; ++level)
        laughs += "<!ENTITY " + QByteArray(1, char('a' + level)) + " \""
                  + QByteArray(1, char('a' + level - 1)).prepend('&').append(';').repeated(10) + "\">";
    laughs += "]>" + Svg("viewBox=\"0 0 10 10\"", "<text>&j;</text>");
    QRandomGenerator random(7);
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(random.bounded(256));

    QTest::newRow("not xml") << QByteArray("this is no picture at all");
    QTest::newRow("binary") << binary;
    QTest::newRow("truncated") << DrawingBytes().left(300);
    QTest::newRow("deep nesting") << Svg("viewBox=\"0 0 10 10\"", nested);
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
    const QString id = AddImage(*mConfig, QImage(), svg, "svg");

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
    const QByteArray drawing = DrawingBytes();
    QVERIFY(!drawing.isEmpty());
    QRandomGenerator random(20240611);
    for (int round = 0; round < 400; ++round)
    {
        QByteArray bytes = drawing;
        const int changes = 1 + random.bounded(16);
        for (int change = 0; change < changes; ++change)
            bytes[random.bounded(bytes.size())] = char(random.bounded(256));
        if (round % 4 == 0)
            bytes.truncate(random.bounded(bytes.size()));
        const QString id = AddImage(*mConfig, QImage(), bytes, "svg");

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
    const QString id = AddImage(*mConfig, FilledImage(QSize(4, 4), Qt::blue), "png bytes", "png");
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
