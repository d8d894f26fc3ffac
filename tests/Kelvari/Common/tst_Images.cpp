#include "support/cFixedConfigSource.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cDefaultImageResource.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageResource.h"

#include <QBuffer>
#include <QThread>
#include <QtEndian>
#include <QtTest>
#include <climits>
#include <memory>

// Image resources and the provider that serves them; hostile bytes are left to the image import fuzz target.
namespace
{
QImage Filled(const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QByteArray Png(const QSize& size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Filled(size, Qt::green).save(&buffer, "PNG");
    return bytes;
}

quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
    {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A well-formed PNG header that claims another size: the pixels never follow.
QByteArray PngDeclaring(quint32 width, quint32 height)
{
    QByteArray bytes = Png(QSize(1, 1));
    // Signature 8 bytes, then the IHDR chunk: length 4, type 4, data 13, CRC 4.
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    qToBigEndian(Crc32(bytes.mid(12, 17)), bytes.data() + 29);
    return bytes;
}

QByteArray Svg(const QByteArray& root, const QByteArray& content = "<rect width=\"4\" height=\"4\"/>")
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" " + root + ">" + content
           + "</svg>";
}

bool IsPlaceholder(const QImage& image) { return image == Filled(QSize(20, 20), QColor(255, 0, 0)); }

bool HasVisiblePixels(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

QStringList PropertyTexts(const cResource& resource)
{
    QStringList texts;
    for (cProperty* property : resource.PropertyList().Items())
        texts << property->name() + (property->visible() ? "" : " (hidden)") + (property->editable() ? " (editable)" : "")
                     + "=" + property->stringValue();
    return texts;
}
}

class tst_Images : public QObject
{
    Q_OBJECT

    std::unique_ptr<cConfigBase> mConfig;
    std::unique_ptr<cFixedConfigSource> mSource;
    std::unique_ptr<cImageProvider> mProvider;

    // Adds a user image and returns its id.
    QString Add(const QByteArray& data, const QString& subtype = "svg", const QImage& image = QImage(), cConfigBase* config = nullptr)
    {
        config = config ? config : mConfig.get();
        const QString id = QString::number(config->GetNextResourceId());
        config->InsertNewResource(new cImageResource(config, id, "picture " + id, image, data, subtype, config));
        return id;
    }
    QSize Served(const QString& id, const QSize& requested, QImage* image = nullptr)
    {
        QSize reported(-1, -1);
        const QImage served = mProvider->requestImage(id, &reported, requested);
        if (image)
            *image = served;
        return reported == served.size() ? reported : QSize(-2, -2);
    }

private slots:
    void init()
    {
        mProvider.reset();
        mConfig = std::make_unique<cConfigBase>(nullptr);
        mSource = std::make_unique<cFixedConfigSource>(mConfig.get());
        mProvider = std::make_unique<cImageProvider>(*mSource);
    }

    void sizeInConfigFollowsBase64Length_data()
    {
        QTest::addColumn<int>("byteCount");
        QTest::addColumn<QString>("text");
        QTest::newRow("largest in bytes") << 768 << "1024 B";
        QTest::newRow("smallest in KB") << 769 << "1.0 KB";
        QTest::newRow("smallest in MB") << 786433 << "1.0 MB";
    }
    void sizeInConfigFollowsBase64Length()
    {
        QFETCH(int, byteCount);
        cImageResource resource(nullptr, "1", "a.png", QImage(), QByteArray(byteCount, 'x'), "png", nullptr);
        QTEST(PropertyTexts(resource).filter("Size in config").value(0).section('=', 1), "text");
    }

    void propertiesDescribeEachKindOfImage()
    {
        cImageResource raster(nullptr, "4", "photo.png", QImage(640, 480, QImage::Format_ARGB32), "x", "png", nullptr);
        QCOMPARE(PropertyTexts(raster), QStringList({"Name (editable)=photo.png", "Type=png image", "Source size=640 x 480",
                                                     "Size in config=4 B", "Layouts="}));
        QCOMPARE(raster.property("originalHeight").toInt(), 480);
        cImageResource svg(nullptr, "2", "logo.svg", QImage(), "<svg/>", "svg", nullptr);
        QCOMPARE(PropertyTexts(svg), QStringList({"Name (editable)=logo.svg", "Type=svg image", "Source size (hidden)=0 x 0",
                                                  "Size in config=8 B", "Layouts="}));
        cDefaultImageResource builtIn(nullptr, "default_th_0_btn_on_0", "Theme 1 On 1", nullptr);
        QCOMPARE(PropertyTexts(builtIn).replaceInStrings(" (editable)", ""),
                 QStringList({"Name=Theme 1 On 1", "Type=Default image", "Layouts="}));
        QCOMPARE(builtIn.property("originalWidth").toInt(), 0);
    }

    void changesAreAnnouncedOnlyWhenTheyHappen()
    {
        cImageResource resource(nullptr, "0", "a.png", QImage(), QByteArray(), "png", mConfig.get());
        QSignalSpy layouts(resource.PropertyList().getLast(), SIGNAL(valueChanged()));
        QSignalSpy selected(&resource, &cResource::selectedChanged);
        QSignalSpy renames(mConfig.get(), &cConfigBase::ResourceNameChanged);
        for (const QStringList& names : {QStringList{"P2", "P1"}, QStringList{"P2", "P1"}, QStringList{}, QStringList{}})
            resource.SetLayoutNames(names);
        for (bool selection : {false, true, true, false})
            resource.SetSelected(selection);
        for (const char* name : {"b.png", "b.png", "c.png"})
            resource.nameProperty()->setStringValue(name);
        QCOMPARE(layouts.count(), 2);
        QCOMPARE(selected.count(), 2);
        QCOMPARE(renames.count(), 2);
        resource.SetLayoutNames({"P2", "P1"});
        QCOMPARE(resource.LayoutNames(), QString("P2\nP1\n"));
        QCOMPARE(PropertyTexts(resource).last(), QString("Layouts=P2\nP1\n"));
        QCOMPARE(resource.Name(), QString("c.png"));
    }

    void bytesDecodeOnlyWithinTheBound_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("png") << Png(QSize(30, 20)) << QSize(30, 20);
        QTest::newRow("at the bound") << Png(QSize(2048, 1)) << QSize(2048, 1);
        QTest::newRow("one above the bound") << Png(QSize(2049, 1)) << QSize();
        QTest::newRow("one taller than the bound") << Png(QSize(1, 1081)) << QSize();
        QTest::newRow("png claiming a huge size") << PngDeclaring(20000, 20000) << QSize();
    }
    void bytesDecodeOnlyWithinTheBound()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, decoded);
        const QImage image = cImageResource::Decode(bytes, cImageResource::MaxDecodedSize());
        QCOMPARE(image.isNull() ? QSize() : image.size(), decoded);
    }

    void declaredSizeIsReadWithoutDecoding()
    {
        QCOMPARE(cImageResource::DeclaredSize(PngDeclaring(30000, 20000)), QSize(30000, 20000));
        QCOMPARE(cImageResource::DeclaredSize(Png(QSize(7, 5))), QSize(7, 5));
        QVERIFY(!cImageResource::DeclaredSize("not a picture").isValid());
    }

    void unknownRequestsGiveThePlaceholder_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("requested");
        QTest::newRow("basic") << "_basic" << QSize(100, 100);
        QTest::newRow("upper-case default") << "_Default" << QSize(100, 100);
        QTest::newRow("drawing without size") << "default_th_0_btn_off_0" << QSize();
        QTest::newRow("drawing of negative size") << "default_gen_fader_0:preserveAspectFit" << QSize(-5, -5);
    }
    void unknownRequestsGiveThePlaceholder()
    {
        QFETCH(QString, id);
        QFETCH(QSize, requested);
        QImage image;
        QCOMPARE(Served(id, requested, &image), QSize(20, 20));
        QVERIFY(IsPlaceholder(image));
        QVERIFY(IsPlaceholder(mProvider->requestImage(id, nullptr, requested)));
    }

    void drawingsAreRenderedAtTheRequestedSize_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("expected");
        // The button drawing's view box is 40 x 24.
        const QString button = "default_th_0_btn_off_0";
        QTest::newRow("exact") << button << QSize(100, 50) << QSize(100, 50);
        QTest::newRow("fitted to the height") << button + ":preserveAspectFit" << QSize(100, 50) << QSize(83, 50);
        QTest::newRow("fitted to the width") << button + ":preserveAspectFit" << QSize(100, 80) << QSize(100, 60);
        QTest::newRow("option is case-sensitive") << button + ":preserveaspectfit" << QSize(100, 50) << QSize(100, 50);
        QTest::newRow("default picture keeps its natural size") << "_default:preserveAspectFit" << QSize(300, 100)
                                                                << QSize(128, 128);
        QTest::newRow("longest side") << button << QSize(8192, 100) << QSize(8192, 100);
        QTest::newRow("too many pixels") << button << QSize(20000, 10000) << QSize(5792, 2896);
        QTest::newRow("too tall") << button << QSize(100, 16384) << QSize(50, 8192);
        QTest::newRow("huge, fitted") << button + ":preserveAspectFit" << QSize(100000, 100000) << QSize(5287, 3172);
        QTest::newRow("largest") << "default_gen_rotary_0" << QSize(INT_MAX, INT_MAX) << QSize(4096, 4096);
        QTest::newRow("largest fitted") << "default_gen_rotary_0:preserveAspectFit" << QSize(INT_MAX, INT_MAX)
                                        << QSize(4096, 4096);
    }
    void drawingsAreRenderedAtTheRequestedSize()
    {
        QFETCH(QString, id);
        QFETCH(QSize, requested);
        QImage image;
        QTEST(Served(id, requested, &image), "expected");
        if (image.width() < 1000)
            QVERIFY(HasVisiblePixels(image));
    }

    void unreadableDrawingIsTransparent()
    {
        QImage image;
        QCOMPARE(Served("default_no_such_drawing", QSize(30, 20), &image), QSize(30, 20));
        QVERIFY(!HasVisiblePixels(image));
        QCOMPARE(Served("default_no_such_drawing:preserveAspectFit", QSize(30, 20), &image), QSize(0, 0));
        QVERIFY(image.isNull());
    }

    void userImagesComeFromTheCurrentConfig()
    {
        const QImage original = Filled(QSize(30, 10), QColor(10, 200, 30));
        const QString id = Add("png bytes", "png", original);
        for (const QString& request : {id, id + ":preserveAspectFit"})
        {
            QImage image;
            QCOMPARE(Served(request, QSize(100, 100), &image), QSize(30, 10));
            QCOMPARE(image, original);
        }
        cConfigBase other(nullptr);
        Add("png bytes", "png", Filled(QSize(6, 2), Qt::green), &other);
        mSource->mConfig = &other;
        QCOMPARE(Served(id, QSize()), QSize(6, 2));
        mSource->mConfig = nullptr;
        QImage image;
        Served(id, QSize(), &image);
        QVERIFY(IsPlaceholder(image));
    }

    void userSvgFollowsItsViewBox()
    {
        const QString id = Add(Svg("viewBox=\"0 0 10 20\"", "<rect width=\"10\" height=\"20\" fill=\"#00ff00\"/>"));
        QImage image;
        QCOMPARE(Served(id, QSize(100, 100), &image), QSize(100, 100));
        QCOMPARE(image.pixel(50, 50), qRgb(0, 255, 0));
        QCOMPARE(Served(id + ":preserveAspectFit", QSize(100, 100)), QSize(50, 100));
        Served(id, QSize(), &image);
        QVERIFY(IsPlaceholder(image));
    }

    void svgProportionsStayWithinTheRequest_data()
    {
        QTest::addColumn<QByteArray>("svg");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("no width") << Svg("viewBox=\"0 0 0 10\"", "") << QSize(0, 0);
        QTest::newRow("neither view box nor size") << Svg("", "") << QSize(0, 0);
        // Without a view box of its own a drawing is framed by its contents.
        QTest::newRow("contents frame it") << Svg("viewBox=\"0 0 0 0\"", "<rect width=\"8\" height=\"2\"/>") << QSize(100, 25);
        QTest::newRow("very tall") << Svg("viewBox=\"0 0 1 1e30\"") << QSize(0, 0);
        QTest::newRow("beyond single precision") << Svg("viewBox=\"0 0 1e-30 1e30\"") << QSize(0, 0);
        QTest::newRow("tenfold tall") << Svg("viewBox=\"0 0 10 100\"") << QSize(10, 100);
        QTest::newRow("self-using group") << Svg("viewBox=\"0 0 10 10\"", "<g id=\"a\"><use xlink:href=\"#a\"/></g>")
                                          << QSize(100, 100);
    }
    void svgProportionsStayWithinTheRequest()
    {
        QFETCH(QByteArray, svg);
        const QString id = Add(svg);
        QTEST(Served(id + ":preserveAspectFit", QSize(100, 100)), "fitted");
        QCOMPARE(Served(id, QSize(100, 100)), QSize(100, 100));
    }

    void configIsNotReadOffItsThread()
    {
        const QString id = Add("png bytes", "png", Filled(QSize(4, 4), Qt::blue));
        QImage userImage, drawing;
        QStringList traces;
        {
            cTraceCapture trace;
            std::unique_ptr<QThread> thread(QThread::create([&] {
                userImage = mProvider->requestImage(id, nullptr, QSize());
                drawing = mProvider->requestImage("default_th_1_led_on_0", nullptr, QSize(24, 24));
            }));
            thread->start();
            thread->wait(10000);
            traces = trace.LinesContaining("Image '0' requested off the config's thread");
        }
        QVERIFY(IsPlaceholder(userImage));
        QCOMPARE(traces.size(), 1);
        QCOMPARE(drawing.size(), QSize(24, 24));
        QVERIFY(HasVisiblePixels(drawing));
    }
};

QTEST_MAIN(tst_Images)
#include "tst_Images.moc"
