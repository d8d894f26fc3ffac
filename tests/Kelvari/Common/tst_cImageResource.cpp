#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cDefaultImageResource.h"
#include "Kelvari/Common/cImageResource.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

namespace
{
QStringList PropertyNames(const cResource& resource)
{
    QStringList names;
    for (cProperty* property : resource.PropertyList().Items())
        names << property->name() + (property->visible() ? "" : " (hidden)")
                     + (property->editable() ? " (editable)" : "");
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

// A well-formed PNG header that claims another size: the pixels never follow.
QByteArray PngDeclaring(quint32 width, quint32 height)
{
    QByteArray bytes = Encoded(QImage(1, 1, QImage::Format_RGB32), "PNG");
    // Signature 8 bytes, then the IHDR chunk: length 4, type 4, data 13, CRC 4.
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    qToBigEndian(Crc32(bytes.mid(12, 17)), bytes.data() + 29);
    return bytes;
}
}

class tst_cImageResource : public QObject
{
    Q_OBJECT

private slots:
    void sizeInConfigFollowsBase64Length_data();
    void sizeInConfigFollowsBase64Length();
    void propertiesDescribeEachKindOfImage();
    void changesAreAnnouncedOnlyWhenTheyHappen();
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

void tst_cImageResource::propertiesDescribeEachKindOfImage()
{
    cImageResource raster(nullptr, "4", "photo.png", QImage(640, 480, QImage::Format_ARGB32), "x", "png", nullptr);
    QCOMPARE(PropertyNames(raster),
             QStringList({"Name (editable)", "Type", "Source size", "Size in config", "Layouts"}));
    QCOMPARE(PropertyNamed(raster, "Type")->stringValue(), QString("png image"));
    QCOMPARE(PropertyNamed(raster, "Source size")->stringValue(), QString("640 x 480"));
    QCOMPARE(raster.property("originalHeight").toInt(), 480);

    cImageResource svg(nullptr, "2", "logo.svg", QImage(), "<svg/>", "svg", nullptr);
    QCOMPARE(PropertyNames(svg),
             QStringList({"Name (editable)", "Type", "Source size (hidden)", "Size in config", "Layouts"}));
    QCOMPARE(PropertyNamed(svg, "Type")->stringValue(), QString("svg image"));

    cDefaultImageResource builtIn(nullptr, "default_th_0_btn_on_0", "Theme 1 On 1", nullptr);
    QCOMPARE(PropertyNames(builtIn).replaceInStrings(" (editable)", ""), QStringList({"Name", "Type", "Layouts"}));
    QCOMPARE(PropertyNamed(builtIn, "Type")->stringValue(), QString("Default image"));
    QCOMPARE(builtIn.property("originalWidth").toInt(), 0);
}

void tst_cImageResource::changesAreAnnouncedOnlyWhenTheyHappen()
{
    cConfigBase config(nullptr);
    cImageResource resource(nullptr, "0", "a.png", QImage(), QByteArray(), "png", &config);
    QSignalSpy layouts(PropertyNamed(resource, "Layouts"), &cProperty::valueChanged);
    QSignalSpy selected(&resource, &cResource::selectedChanged);
    QSignalSpy renames(&config, &cConfigBase::ResourceNameChanged);

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
    QCOMPARE(PropertyNamed(resource, "Layouts")->stringValue(), QString("P2\nP1\n"));
    QCOMPARE(resource.Name(), QString("c.png"));
}

void tst_cImageResource::untrustedBytesDecodeWithinBounds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("decoded");
    const QByteArray png = Encoded(QImage(30, 20, QImage::Format_ARGB32), "PNG");
    QTest::newRow("png") << png << QSize(30, 20);
    QTest::newRow("at the bound") << Encoded(QImage(2048, 1, QImage::Format_RGB32), "PNG") << QSize(2048, 1);
    QTest::newRow("one above the bound") << Encoded(QImage(2049, 1, QImage::Format_RGB32), "PNG") << QSize();
    QTest::newRow("one taller than the bound") << Encoded(QImage(1, 1081, QImage::Format_RGB32), "PNG") << QSize();
    QTest::newRow("garbage") << QByteArray("\x00\x01\x02garbage\xff\xfe", 12) << QSize();
    QTest::newRow("truncated png") << png.left(40) << QSize();
    QTest::newRow("png claiming a huge size") << PngDeclaring(20000, 20000) << QSize();
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
