// Loading and saving a large config document, next to a bare pass over the same bytes: every token read
// with QXmlStreamReader, the Base64 decoded and the pictures decoded. Medians of a few runs.
#include "Kelvari/Editor/cConfig.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
using tClock = std::chrono::steady_clock;
constexpr int kLayouts = 100;
constexpr int kWidgetsPerLayout = 200;
constexpr int kTabContainersPerLayout = 4;
// A third of the widgets sit in the tab containers.
constexpr int kWidgetsInTabs = kWidgetsPerLayout / 3;
constexpr int kPictures = 30;
constexpr int kRuns = 5;
const char* const kTypes[] = {"zrnet_fader", "zrnet_button", "zrnet_meter", "zrnet_rotary", "zrnet_led",
                              "text",        "rect",         "image",       "zrnet_text",   "zrnet_grmeter"};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename tFunction>
double MedianSeconds(tFunction function)
{
    std::vector<double> seconds;
    for (int run = 0; run < kRuns; ++run)
    {
        const auto start = tClock::now();
        function();
        seconds.push_back(std::chrono::duration<double>(tClock::now() - start).count());
    }
    return Median(seconds);
}

// A PNG of noise of about 300 KB, which deflate cannot shrink.
QByteArray NoisePng(QRandomGenerator& random)
{
    QImage image(320, 320, QImage::Format_RGB888);
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

void WriteWidget(QXmlStreamWriter& writer, int& id, int index, bool open)
{
    const QString type = QString::fromLatin1(kTypes[index % (sizeof kTypes / sizeof *kTypes)]);
    writer.writeStartElement(QStringLiteral("Widget"));
    writer.writeAttribute(QStringLiteral("id"), QString::number(id++));
    writer.writeAttribute(QStringLiteral("type"), open ? QStringLiteral("tab_container") : type);
    writer.writeAttribute(QStringLiteral("x"), QString::number((index % 10) / 10.0));
    writer.writeAttribute(QStringLiteral("y"), QString::number((index / 10 % 10) / 10.0));
    writer.writeAttribute(QStringLiteral("width"), QStringLiteral("0.1"));
    writer.writeAttribute(QStringLiteral("height"), QStringLiteral("0.1"));
    writer.writeAttribute(QStringLiteral("z"), QString::number(index / double(kWidgetsPerLayout)));
    if (type == QLatin1String("image") && !open)
        writer.writeAttribute(QStringLiteral("resourceId"), QString::number(1 + index % kPictures));
    if (!open)
        writer.writeEndElement();
}

QByteArray LargeConfig()
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
    int id = 1;
    for (int l = 0; l < kLayouts; ++l)
    {
        writer.writeStartElement(QStringLiteral("Layout"));
        writer.writeAttribute(QStringLiteral("name"), QStringLiteral("Layout %1").arg(l));
        writer.writeAttribute(QStringLiteral("users"), QStringLiteral("user%1").arg(l));
        int index = 0;
        int inTabs = 0;
        for (int c = 0; c < kTabContainersPerLayout; ++c)
        {
            WriteWidget(writer, id, index++, true);
            writer.writeAttribute(QStringLiteral("numTabs"), QStringLiteral("3"));
            const int children = (kWidgetsInTabs - inTabs) / (kTabContainersPerLayout - c);
            for (int tab = 0; tab < 3; ++tab)
            {
                writer.writeStartElement(QStringLiteral("Tab"));
                writer.writeAttribute(QStringLiteral("tabName"), QStringLiteral("Tab %1").arg(tab + 1));
                for (int k = tab; k < children; k += 3)
                    WriteWidget(writer, id, index++, false);
                writer.writeEndElement();
            }
            inTabs += children;
            writer.writeEndElement();
        }
        while (index < kWidgetsPerLayout)
            WriteWidget(writer, id, index++, false);
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeStartElement(QStringLiteral("Resources"));
    for (int p = 1; p <= kPictures; ++p)
    {
        writer.writeStartElement(QStringLiteral("Resource"));
        writer.writeAttribute(QStringLiteral("id"), QString::number(p));
        writer.writeAttribute(QStringLiteral("type"), QStringLiteral("image"));
        writer.writeAttribute(QStringLiteral("name"), QStringLiteral("noise%1.png").arg(p));
        writer.writeAttribute(QStringLiteral("subtype"), QStringLiteral("png"));
        writer.writeCharacters(QString::fromLatin1(NoisePng(random).toBase64()));
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}

// What any reader of these bytes has to do at least.
int BarePass(const QByteArray& bytes)
{
    QXmlStreamReader reader(bytes);
    int pictures = 0;
    while (!reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("Resource"))
        {
            const QByteArray data = QByteArray::fromBase64(reader.readElementText().toLatin1());
            pictures += QImage::fromData(data).isNull() ? 0 : 1;
        }
    }
    return reader.hasError() ? -1 : pictures;
}
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QByteArray bytes = LargeConfig();

    int pictures = 0;
    const double floor = MedianSeconds([&] { pictures = BarePass(bytes); });
    // Each load into a fresh document, as when the program opens a file; tearing down the previous one is
    // left out of the time.
    std::vector<double> loads;
    bool loaded = true;
    for (int run = 0; run < kRuns; ++run)
    {
        auto* fresh = new cConfig(nullptr);
        const auto start = tClock::now();
        loaded = fresh->ReadXml(bytes) && loaded;
        loads.push_back(std::chrono::duration<double>(tClock::now() - start).count());
        delete fresh;
    }
    const double load = Median(loads);
    cConfig config(nullptr);
    loaded = config.ReadXml(bytes) && loaded;
    QByteArray written;
    bool saved = false;
    const double save = MedianSeconds([&] { saved = config.WriteXml(written); });
    int widgets = 0;
    for (const cLayout* layout : config.Layouts().Items())
        widgets += layout->widgets()->count();
    if (pictures != kPictures || !loaded || !saved || config.Layouts().count() != kLayouts ||
        config.Resources().count() != kPictures)
    {
        std::fprintf(stderr, "the generated config did not load whole\n");
        return 1;
    }

    std::printf("config: %d bytes, %d layouts (%d top-level widgets), %d pictures; written %d bytes\n",
                int(bytes.size()), config.Layouts().count(), widgets, kPictures, int(written.size()));
    std::printf("bare pass (floor)   %8.1f ms (median of %d)\n", floor * 1e3, kRuns);
    std::printf("load into cConfig   %8.1f ms   load / floor %.2f\n", load * 1e3, load / floor);
    std::printf("save from cConfig   %8.1f ms   save / floor %.2f\n", save * 1e3, save / floor);
    return 0;
}
