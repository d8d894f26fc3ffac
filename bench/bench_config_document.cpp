// Loading and saving config documents, each next to a bare pass over the same bytes: every token read with
// QXmlStreamReader, the Base64 decoded and the pictures decoded. Every case is measured warm (medians of
// repeated runs in this process) and as the first load in a fresh process (medians over fresh processes,
// which also report their peak resident size).
//
//   bench_config_document [case...]          the cases to run (all when none is named)
//   bench_config_document --write case file  writes a case's config, e.g. for a profiler
//   bench_config_document --first floor|load file   one timed pass in this process (used by the above)
#include "sDocumentCase.h"

#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cLayout.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <vector>

namespace
{
using tClock = std::chrono::steady_clock;
constexpr int kFreshRuns = 3;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(const std::function<void()>& function)
{
    const auto start = tClock::now();
    function();
    return std::chrono::duration<double>(tClock::now() - start).count();
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

int CountWidgets(const cConfig& config)
{
    int widgets = 0;
    for (const cLayout* layout : config.Layouts().Items())
        widgets += layout->widgets()->count();
    return widgets;
}

// A line of /proc/self/status in KB: VmRSS now, VmHWM the peak so far.
long StatusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
    {
        if (line.startsWith(key))
            return line.mid(int(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// One pass in this fresh process: prints its seconds and how far the peak resident size rose, in KB.
int FirstPass(const QByteArray& mode, const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = in.readAll();
    cConfig config(nullptr);
    const long before = StatusKb("VmRSS:");
    bool ok = true;
    double seconds = 0;
    if (mode == "floor")
        seconds = Seconds([&] { ok = BarePass(bytes) >= 0; });
    else
        seconds = Seconds([&] { ok = config.ReadXml(bytes); });
    std::printf("%.6f %ld\n", seconds, StatusKb("VmHWM:") - before);
    std::fflush(stdout);
    // The measurement is taken: tearing the document down would only make the run longer.
    std::_Exit(ok ? 0 : 1);
}

struct sFresh
{
    double seconds = 0;
    double peakKb = 0;
};

// Medians over fresh processes of this program.
bool FreshRuns(const QByteArray& mode, const QString& file, sFresh& result)
{
    std::vector<double> seconds;
    std::vector<double> peaks;
    for (int run = 0; run < kFreshRuns; ++run)
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--first"), QString::fromLatin1(mode), file});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return false;
        // The figures are the last line; the load's traces come before it.
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split('\n').last().split(' ');
        seconds.push_back(fields.value(0).toDouble());
        peaks.push_back(fields.value(1).toDouble());
    }
    result = {Median(seconds), Median(peaks)};
    return true;
}

bool RunCase(const sDocumentCase& which, const QTemporaryDir& folder)
{
    const QByteArray bytes = which.Generate();
    const QString file = folder.filePath(QString::fromLatin1(which.name) + QStringLiteral(".xml"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return false;
    out.close();

    // Fresh processes first, before this one holds the big documents.
    sFresh firstFloor;
    sFresh firstLoad;
    if (!FreshRuns("floor", file, firstFloor) || !FreshRuns("load", file, firstLoad))
        return false;

    const int widgetTotal = which.layouts * which.widgetsPerLayout;
    const int runs = widgetTotal > 100000 ? 3 : 5;
    std::vector<double> floors;
    std::vector<double> loads;
    bool ok = true;
    for (int run = 0; run < runs; ++run)
    {
        floors.push_back(Seconds([&] { ok = BarePass(bytes) == which.pictures && ok; }));
        // Each load into a fresh document, as when the program opens a file; tearing down the previous
        // one is left out of the time.
        auto* fresh = new cConfig(nullptr);
        loads.push_back(Seconds([&] { ok = fresh->ReadXml(bytes) && ok; }));
        delete fresh;
        // The allocator sorts the freed pieces on a later request; that is teardown too, not the next pass.
        malloc_trim(0);
    }
    cConfig config(nullptr);
    ok = config.ReadXml(bytes) && ok;
    const int widgets = CountWidgets(config);
    if (!ok || config.Layouts().count() != which.layouts || config.Resources().count() != which.pictures)
    {
        std::fprintf(stderr, "%s: the generated config did not load whole\n", which.name);
        return false;
    }
    const double floor = Median(floors);
    const double load = Median(loads);
    std::printf("\n%s: %s\n  %.1f MB, %d layouts, %d widgets (%d top-level), %d pictures\n", which.name,
                which.description, bytes.size() / 1e6, which.layouts, widgetTotal, widgets, which.pictures);
    std::printf("  warm  (median of %d):   floor %8.1f ms   load %8.1f ms   load / floor %5.2f\n", runs, floor * 1e3,
                load * 1e3, load / floor);
    std::printf("  first (%d fresh runs):  floor %8.1f ms   load %8.1f ms   load / floor %5.2f\n", kFreshRuns,
                firstFloor.seconds * 1e3, firstLoad.seconds * 1e3, firstLoad.seconds / firstFloor.seconds);
    std::printf("  first load per widget %.2f us; peak memory above the floor's %.2f KB per widget\n",
                firstLoad.seconds * 1e6 / widgetTotal, (firstLoad.peakKb - firstFloor.peakKb) / widgetTotal);
    if (which.pictures >= 30 && !which.imagesOnly)
    {
        QByteArray written;
        bool saved = false;
        const double save = Median({Seconds([&] { saved = config.WriteXml(written); }),
                                    Seconds([&] { saved = config.WriteXml(written) && saved; }),
                                    Seconds([&] { saved = config.WriteXml(written) && saved; })});
        std::printf("  save (median of 3): %8.1f ms   save / floor %5.2f%s\n", save * 1e3, save / floor,
                    saved ? "" : "   (save failed)");
    }
    std::fflush(stdout);
    return true;
}
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() == 3 && arguments.at(0) == QLatin1String("--first"))
        return FirstPass(arguments.at(1).toLatin1(), arguments.at(2));
    if (arguments.size() == 3 && arguments.at(0) == QLatin1String("--write"))
    {
        const sDocumentCase* which = sDocumentCase::Find(arguments.at(1).toLatin1());
        QFile out(arguments.at(2));
        return which && out.open(QIODevice::WriteOnly) && out.write(which->Generate()) > 0 ? 0 : 1;
    }

    QList<sDocumentCase> cases;
    for (const QString& name : arguments)
    {
        const sDocumentCase* which = sDocumentCase::Find(name.toLatin1());
        if (!which)
        {
            std::fprintf(stderr, "no case named %s\n", qPrintable(name));
            return 1;
        }
        cases.append(*which);
    }
    if (cases.isEmpty())
        cases = sDocumentCase::All();
    QTemporaryDir folder;
    std::printf("%d cores\n", QThread::idealThreadCount());
    for (const sDocumentCase& which : qAsConst(cases))
    {
        if (!RunCase(which, folder))
        {
            std::fprintf(stderr, "%s failed\n", which.name);
            return 1;
        }
    }
    return 0;
}
