#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cDefaultImageResource.h"
#include "Kelvari/Common/cImageResource.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

namespace
{
QStringList PropertyNames(const cResource& resource)
{
    QStringList names;
    for (cProperty* property : resource.PropertyList().Items())
        names << property->name();
    return names;
}

cProperty* PropertyNamed(const cResource& resource, const QString& name)
{
    for (cProperty* property : resource.PropertyList().Items())
    {
        if (property->name() == name)
            return property;
    }
    return nullptr;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
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

void PutBigEndian(QByteArray& bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * (3 - i))) & 0xFF);
}

// A well-formed PNG header that claims another size: the pixels never follow.
QByteArray PngDeclaring(quint32 width, quint32 height)
{
    QByteArray bytes = Encoded(QImage(1, 1, QImage::Format_RGB32), "PNG");
    // Signature 8 bytes, then the IHDR chunk: length 4, type 4, data 13, CRC 4.
    PutBigEndian(bytes, 16, width);
    PutBigEndian(bytes, 20, height);
    PutBigEndian(bytes, 29, Crc32(bytes.mid(12, 17)));
    return bytes;
}
}

class tst_cImageResource : public QObject
{
    Q_OBJECT

private slots:
    void sizeInConfigFollowsBase64Length_data();
    void sizeInConfigFollowsBase64Length();
    void rasterImageListsItsPropertiesInOrder();
    void svgImageHidesItsSourceSize();
    void layoutNamesAreOnePerLine_data();
    void layoutNamesAreOnePerLine();
    void sameLayoutNamesChangeNothing();
    void selectionIsAnnouncedOnChangeOnly();
    void renameIsAnnouncedByTheConfig();
    void builtInImageHasNoNaturalSize();
    void untrustedBytesDecodeWithinBounds_data();
    void untrustedBytesDecodeWithinBounds();
    void declaredSizeIsReadWithoutDecoding();
};

void tst_cImageResource::sizeInConfigFollowsBase64Length_data()
{
    QTest::addColumn<int>("byteCount");
    QTest::addColumn<QString>("text");
    QTest::newRow("largest in bytes") << 768 << "1024 B";
    QTest::newRow("smallest in KB") << 769 << "1.0 KB";
    QTest::newRow("smallest in MB") << 786433 << "1.0 MB";
}

void tst_cImageResource::sizeInConfigFollowsBase64Length()
{
    QFETCH(int, byteCount);
    QFETCH(QString, text);
    cImageResource resource(nullptr, "1", "a.png", QImage(), QByteArray(byteCount, 'x'), "png", nullptr);
    QCOMPARE(PropertyNamed(resource, "Size in config")->stringValue(), text);
}

void tst_cImageResource::rasterImageListsItsPropertiesInOrder()
{
    QImage image(640, 480, QImage::Format_ARGB32);
    cImageResource resource(nullptr, "4", "photo.png", image, QByteArray(10, 'x'), "png", nullptr);
    QCOMPARE(PropertyNames(resource), QStringList({"Name", "Type", "Source size", "Size in config", "Layouts"}));
    QCOMPARE(PropertyNamed(resource, "Type")->stringValue(), QString("png image"));
    QCOMPARE(PropertyNamed(resource, "Source size")->stringValue(), QString("640 x 480"));
    for (cProperty* property : resource.PropertyList().Items())
        QCOMPARE(property->editable(), property->name() == "Name");
    QCOMPARE(resource.property("originalHeight").toInt(), 480);

    cImageResource empty(nullptr, "2", "x.png", QImage(), QByteArray(), "png", nullptr);
    QCOMPARE(PropertyNamed(empty, "Source size")->stringValue(), QString("0 x 0"));
}

void tst_cImageResource::svgImageHidesItsSourceSize()
{
    cImageResource resource(nullptr, "2", "logo.svg", QImage(), "<svg/>", "svg", nullptr);
    QCOMPARE(PropertyNamed(resource, "Type")->stringValue(), QString("svg image"));
    for (cProperty* property : resource.PropertyList().Items())
        QCOMPARE(property->visible(), property->name() != "Source size");
}

void tst_cImageResource::layoutNamesAreOnePerLine_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("text");
    QTest::newRow("two") << QStringList({"P2", "P1"}) << "P2\nP1\n";
}

void tst_cImageResource::layoutNamesAreOnePerLine()
{
    QFETCH(QStringList, names);
    QFETCH(QString, text);
    cDefaultImageResource resource(nullptr, "_default", "Default", nullptr);
    resource.SetLayoutNames({"Old"});
    resource.SetLayoutNames(names);
    QCOMPARE(resource.LayoutNames(), text);
    QCOMPARE(PropertyNamed(resource, "Layouts")->stringValue(), text);
}

void tst_cImageResource::sameLayoutNamesChangeNothing()
{
    cDefaultImageResource resource(nullptr, "_default", "Default", nullptr);
    QSignalSpy changes(PropertyNamed(resource, "Layouts"), &cProperty::valueChanged);
    resource.SetLayoutNames({"A"});
    resource.SetLayoutNames({"A"});
    resource.SetLayoutNames({});
    resource.SetLayoutNames({});
    QCOMPARE(changes.count(), 2);
}

void tst_cImageResource::selectionIsAnnouncedOnChangeOnly()
{
    cDefaultImageResource resource(nullptr, "_basic", "Basic", nullptr);
    QSignalSpy changes(&resource, &cResource::selectedChanged);
    resource.SetSelected(false);
    resource.SetSelected(true);
    resource.SetSelected(true);
    QVERIFY(resource.selected());
    resource.SetSelected(false);
    QCOMPARE(changes.count(), 2);
}

void tst_cImageResource::renameIsAnnouncedByTheConfig()
{
    cConfigBase config(nullptr);
    cImageResource resource(nullptr, "0", "a.png", QImage(), QByteArray(), "png", &config);
    QSignalSpy renames(&config, &cConfigBase::ResourceNameChanged);
    resource.nameProperty()->setStringValue("b.png");
    resource.nameProperty()->setStringValue("b.png");
    resource.nameProperty()->setStringValue("c.png");
    QCOMPARE(renames.count(), 2);
    QCOMPARE(resource.Name(), QString("c.png"));
}

void tst_cImageResource::builtInImageHasNoNaturalSize()
{
    cDefaultImageResource resource(nullptr, "default_th_0_btn_on_0", "Theme 1 On 1", nullptr);
    QCOMPARE(resource.property("originalWidth").toInt(), 0);
    QCOMPARE(PropertyNames(resource), QStringList({"Name", "Type", "Layouts"}));
    QCOMPARE(PropertyNamed(resource, "Type")->stringValue(), QString("Default image"));
}

void tst_cImageResource::untrustedBytesDecodeWithinBounds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("decoded");
    QImage small(30, 20, QImage::Format_ARGB32);
    small.fill(Qt::blue);
    const QByteArray png = Encoded(small, "PNG");
    QTest::newRow("png") << png << QSize(30, 20);
    QTest::newRow("at the bound") << Encoded(QImage(2048, 1, QImage::Format_RGB32), "PNG") << QSize(2048, 1);
    QTest::newRow("one above the bound") << Encoded(QImage(2049, 1, QImage::Format_RGB32), "PNG") << QSize();
    QTest::newRow("one taller than the bound") << Encoded(QImage(1, 1081, QImage::Format_RGB32), "PNG") << QSize();
    QTest::newRow("garbage") << QByteArray("\x00\x01\x02garbage\xff\xfe", 12) << QSize();
    QTest::newRow("truncated png") << png.left(40) << QSize();
    QTest::newRow("png claiming a huge size") << PngDeclaring(20000, 20000) << QSize();
    QTest::newRow("png claiming a wide size") << PngDeclaring(1000000, 1) << QSize();
    QTest::newRow("svg with zero view box")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 0 0\"/>") << QSize();
    QTest::newRow("svg with huge size")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"900000\" height=\"900000\"/>") << QSize();
}

void tst_cImageResource::untrustedBytesDecodeWithinBounds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, decoded);
    const QImage image = cImageResource::Decode(bytes, cImageResource::MaxDecodedSize());
    QCOMPARE(image.isNull(), !decoded.isValid());
    if (decoded.isValid())
        QCOMPARE(image.size(), decoded);
}

void tst_cImageResource::declaredSizeIsReadWithoutDecoding()
{
    QCOMPARE(cImageResource::DeclaredSize(PngDeclaring(30000, 20000)), QSize(30000, 20000));
    QCOMPARE(cImageResource::DeclaredSize(Encoded(QImage(7, 5, QImage::Format_RGB32), "PNG")), QSize(7, 5));
    QVERIFY(!cImageResource::DeclaredSize("not a picture").isValid());
}

QTEST_MAIN(tst_cImageResource)
#include "tst_cImageResource.moc"
