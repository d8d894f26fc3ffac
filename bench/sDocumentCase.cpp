#include "sDocumentCase.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QXmlStreamWriter>

namespace
{
constexpr int kTabContainersPerLayout = 4;
const char* const kTypes[] = {"zrnet_fader", "zrnet_button", "zrnet_meter", "zrnet_rotary", "zrnet_led",
                              "text",        "rect",         "image",       "zrnet_text",   "zrnet_grmeter"};

// A PNG of noise, which deflate cannot shrink (320 x 320 gives about 300 KB).
QByteArray NoisePng(QRandomGenerator& random, int size)
{
    QImage image(size, size, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
    {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.bytesPerLine(); ++x)
            line[x] = uchar(random.bounded(256));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

class cWriter
{
public:
    cWriter(const sDocumentCase& which, QXmlStreamWriter& writer) : mCase(which), mWriter(writer) {}

    void Layout(int number)
    {
        mWriter.writeStartElement(QStringLiteral("Layout"));
        mWriter.writeAttribute(QStringLiteral("name"), QStringLiteral("Layout %1").arg(number));
        mWriter.writeAttribute(QStringLiteral("users"), QStringLiteral("user%1").arg(number));
        int index = 0;
        if (!mCase.imagesOnly)
        {
            // A third of the widgets sit in the tab containers.
            const int inTabsWanted = mCase.widgetsPerLayout / 3;
            int inTabs = 0;
            for (int c = 0; c < kTabContainersPerLayout; ++c)
            {
                Widget(index++, true);
                mWriter.writeAttribute(QStringLiteral("numTabs"), QStringLiteral("3"));
                const int children = (inTabsWanted - inTabs) / (kTabContainersPerLayout - c);
                for (int tab = 0; tab < 3; ++tab)
                {
                    mWriter.writeStartElement(QStringLiteral("Tab"));
                    mWriter.writeAttribute(QStringLiteral("tabName"), QStringLiteral("Tab %1").arg(tab + 1));
                    for (int k = tab; k < children; k += 3)
                        Widget(index++, false);
                    mWriter.writeEndElement();
                }
                inTabs += children;
                mWriter.writeEndElement();
            }
        }
        while (index < mCase.widgetsPerLayout)
            Widget(index++, false);
        mWriter.writeEndElement();
    }

private:
    void Widget(int index, bool open)
    {
        const QString type = mCase.imagesOnly ? QStringLiteral("image")
                                              : QString::fromLatin1(kTypes[index % (sizeof kTypes / sizeof *kTypes)]);
        mWriter.writeStartElement(QStringLiteral("Widget"));
        const int id = mId++;
        mWriter.writeAttribute(QStringLiteral("id"), QString::number(!mCase.repeatedIds ? id : id == 1 ? 2147483646 : 1));
        mWriter.writeAttribute(QStringLiteral("type"), open ? QStringLiteral("tab_container") : type);
        mWriter.writeAttribute(QStringLiteral("x"), QString::number((index % 10) / 10.0));
        mWriter.writeAttribute(QStringLiteral("y"), QString::number((index / 10 % 10) / 10.0));
        mWriter.writeAttribute(QStringLiteral("width"), QStringLiteral("0.1"));
        mWriter.writeAttribute(QStringLiteral("height"), QStringLiteral("0.1"));
        mWriter.writeAttribute(QStringLiteral("z"), QString::number(index / double(mCase.widgetsPerLayout)));
        if (type == QLatin1String("image") && !open && mCase.pictures > 0)
        {
            // Image widgets take the pictures in turn, so that every one is used.
            mWriter.writeAttribute(QStringLiteral("resourceId"), QString::number(1 + mImages++ % mCase.pictures));
        }
        if (!open)
            mWriter.writeEndElement();
    }

    const sDocumentCase& mCase;
    QXmlStreamWriter& mWriter;
    int mId = 1;
    int mImages = 0;
};
}

const QList<sDocumentCase>& sDocumentCase::All()
{
    static const QList<sDocumentCase> cases{
        {"mixed", "100 layouts x 200 widgets, 30 pictures of 300 KB", 100, 200, false, 30, 320, false},
        {"widgets", "the same widgets without pictures", 100, 200, false, 0, 0, false},
        {"widgets4x", "4 times the widgets, no pictures", 400, 200, false, 0, 0, false},
        {"widgets16x", "16 times the widgets, no pictures", 1600, 200, false, 0, 0, false},
        {"images30", "2,700 image widgets, 30 pictures of 2 KB", 27, 100, true, 30, 24, false},
        {"images480", "2,700 image widgets, 480 pictures of 2 KB", 27, 100, true, 480, 24, false},
        {"repeatedids", "the widgets case, every id 1 but the first, 2147483646", 100, 200, false, 0, 0, true},
    };
    return cases;
}

const sDocumentCase* sDocumentCase::Find(const QByteArray& name)
{
    for (const sDocumentCase& which : All())
    {
        if (name == which.name)
            return &which;
    }
    return nullptr;
}

QByteArray sDocumentCase::Generate() const
{
    QRandomGenerator random(20240611);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("KelvariConfig"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0.0"));
    writer.writeEmptyElement(QStringLiteral("UIOptions"));
    writer.writeEmptyElement(QStringLiteral("Units"));
    writer.writeStartElement(QStringLiteral("Layouts"));
    cWriter widgets(*this, writer);
    for (int l = 0; l < layouts; ++l)
        widgets.Layout(l);
    writer.writeEndElement();
    writer.writeStartElement(QStringLiteral("Resources"));
    for (int p = 1; p <= pictures; ++p)
    {
        writer.writeStartElement(QStringLiteral("Resource"));
        writer.writeAttribute(QStringLiteral("id"), QString::number(p));
        writer.writeAttribute(QStringLiteral("type"), QStringLiteral("image"));
        writer.writeAttribute(QStringLiteral("name"), QStringLiteral("noise%1.png").arg(p));
        writer.writeAttribute(QStringLiteral("subtype"), QStringLiteral("png"));
        writer.writeCharacters(QString::fromLatin1(NoisePng(random, pictureSize).toBase64()));
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}
