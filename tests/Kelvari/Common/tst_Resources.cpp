#include "support/cFixedConfigSource.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cConfigReadReport.h"
#include "Kelvari/Common/cDefaultImageResource.h"
#include "Kelvari/Common/cImageProvider.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cResourceUndoManager.h"

#include <QBuffer>
#include <QDir>
#include <QPointer>
#include <QSvgRenderer>
#include <QThread>
#include <QtTest>
#include <climits>
#include <memory>

// The config document's resources, image resources and the provider that serves them; hostile bytes are left to
// the image import fuzz target.
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

// A picture header that claims a huge size: the pixels never follow.
const QByteArray kHugeHeader = "P5\n30000 20000\n255\n";

QByteArray Svg(const QByteArray& root, const QByteArray& content = "<rect width=\"4\" height=\"4\"/>")
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" " + root + ">" + content
           + "</svg>";
}

bool IsPlaceholder(const QImage& image) { return image == Filled(QSize(20, 20), QColor(255, 0, 0)); }

bool HasVisiblePixels(const QImage& image)
{
    QImage clear(image.size(), image.format());
    clear.fill(Qt::transparent);
    return image != clear;
}

class cConfigWithLayouts : public cConfigBase
{
public:
    using cConfigBase::cConfigBase;
    QList<sLayoutResourceUse> mUses;

protected:
    QList<sLayoutResourceUse> LayoutResourceUses() const override { return mUses; }
};

QStringList Listed(const QQmlObjectListModel<cResource>& model, int from = 0)
{
    QStringList listed;
    for (int i = from; i < model.count(); ++i)
        listed << model.At(i)->resourceId() + " " + model.At(i)->Name();
    return listed;
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

class tst_Resources : public QObject
{
    Q_OBJECT

    std::unique_ptr<cConfigWithLayouts> mConfig;
    std::unique_ptr<cFixedConfigSource> mSource;
    std::unique_ptr<cImageProvider> mProvider;
    cConfigReadReport mReport;

    cImageResource* New(const QString& id, const QString& name, const QString& subtype = "png")
    {
        return subtype == "svg" ? new cImageResource(mConfig.get(), id, name, QImage(), "<svg/>", "svg", mConfig.get())
                                : new cImageResource(mConfig.get(), id, name, Filled(QSize(4, 3), Qt::green), Png(QSize(4, 3)),
                                                     subtype, mConfig.get());
    }
    void Read(const QList<QPair<QString, QByteArray>>& resources, bool dropBytes = false)
    {
        QString xml = "<Resources>";
        for (const auto& resource : resources)
            xml += QStringLiteral("<Resource %1>%2</Resource>").arg(resource.first, QString::fromLatin1(resource.second.toBase64()));
        QXmlStreamReader reader(xml + "</Resources>");
        reader.readNextStartElement();
        mConfig->ReadResourcesXml(reader, dropBytes, mReport);
    }
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
        mConfig = std::make_unique<cConfigWithLayouts>(nullptr);
        mSource = std::make_unique<cFixedConfigSource>(mConfig.get());
        mProvider = std::make_unique<cImageProvider>(*mSource);
        mReport.Clear();
    }
    void builtInImagesComeFirstInFixedOrder()
    {
        const auto& all = mConfig->ResourcesAndDefaults();
        QCOMPARE(all.count(), 151);
        QCOMPARE(all.At(0)->resourceId(), QString("default_th_0_fader_control_0"));
        QCOMPARE(all.At(5)->Name(), QString("Theme 1 Knob 1"));
        QCOMPARE(Listed(all, 144), QStringList({"default_gen_fader_0 Generic Bgr 1", "default_gen_fader_1 Generic Bgr 2",
                                                "default_gen_fader_2 Generic Bgr 3", "default_gen_fader_3 Generic Bgr 4",
                                                "default_gen_rotary_0 Generic Bgr 1", "_default Default", "_basic Basic"}));
        // Buttons and LEDs come in off/on pairs.
        const int first = Listed(all).indexOf("default_th_0_btn_off_0 Theme 1 Off 1");
        QCOMPARE(Listed(all).mid(first + 1, 2), QStringList({"default_th_0_btn_on_0 Theme 1 On 1", "default_th_0_btn_off_1 Theme 1 Off 2"}));
        // The drawings are exactly the carried files; their colours and proportions are checked by the script
        // that generates them.
        QSet<QString> listed, carried;
        for (cResource* resource : all.Items())
        {
            if (cConfigBase::IsDrawingId(resource->resourceId()))
                listed << resource->resourceId();
        }
        for (const QString& file : QDir(":/").entryList({"default_th_*", "default_gen_*"}, QDir::Files))
        {
            QVERIFY2(QSvgRenderer(cConfigBase::DrawingPath(file)).isValid(), qPrintable(file));
            carried << file;
        }
        QCOMPARE(listed.size(), 149);
        QCOMPARE(carried, listed);
        QVERIFY(QSvgRenderer(cConfigBase::DefaultImagePath()).isValid());
    }
    // The first number in a themed drawing's id names its theme.
    void themedDrawingsGiveTheirThemesColour()
    {
        const QStringList ids = {"default_th_0_fader_4",   "default_th_1_rotary_pointer_0", "default_th_2_rotary_4",
                                 "default_th_3_led_on_2",  "default_th_4_btn_off_1",        "default_th_7_led_on_0",
                                 "default_gen_fader_0",    "_default",                      "Default_th_1_fader_0"};
        QStringList colours;
        for (const QString& id : ids)
            colours << cConfigBase::GetThemeColour(id);
        QCOMPARE(colours, QStringList({"#6EFF36", "#FE4F00", "#0D72B8", "#FFD100", "#0D69B9", "", "", "", ""}));
    }
    void userResourcesAreKeptInNameOrderAndFoundById()
    {
        QSignalSpy inserted(mConfig.get(), &cConfigBase::ResourceInserted);
        cImageResource* svg = New("1", "A", "svg");
        // Case plays no part in the order.
        QCOMPARE(mConfig->InsertNewResource(New("0", "B")), 0);
        QCOMPARE(mConfig->InsertNewResource(svg), 0);
        QCOMPARE(mConfig->InsertNewResource(New("2", "a")), 1);
        QCOMPARE(Listed(mConfig->Resources()), QStringList({"1 A", "2 a", "0 B"}));
        QCOMPARE(Listed(mConfig->ResourcesAndDefaults(), 151), Listed(mConfig->Resources()));
        QCOMPARE(inserted.count(), 3);
        QCOMPARE(mConfig->FindImageResource("1"), svg);
        QVERIFY(!mConfig->FindResource("42") && !mConfig->FindImageResource("_default"));
        QCOMPARE(mConfig->GetSvgData("1"), QByteArray("<svg/>"));
        QVERIFY(mConfig->GetSvgData("0").isEmpty());
        QCOMPARE(mConfig->GetImage("0").size(), QSize(4, 3));
        QVERIFY(mConfig->GetImage("7").isNull());
        QVERIFY(!cConfigBase::IsUserResourceId("-1"));
    }
    void versionCheck_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("newer");
        QTest::newRow("own with V") << "V1.0.1" << true << false;
        QTest::newRow("patch with X") << "V1.0.2X" << true << true;
        QTest::newRow("file format") << "1.0.0" << true << false;
        QTest::newRow("beyond int") << "99999999999999999999.0.0" << true << true;
        QTest::newRow("text before") << "x1.0.1" << false << false;
    }
    void versionCheck()
    {
        QFETCH(QString, version);
        QFETCH(bool, newer);
        QSignalSpy changes(mConfig.get(), &cConfigBase::configVersionIsNewerChanged);
        QTEST(mConfig->ValidateVersionStringSetIsNewer(version), "valid");
        QCOMPARE(mConfig->configVersionIsNewer(), newer);
        QCOMPARE(changes.count(), newer ? 1 : 0);
        // An invalid text leaves the flag as it was.
        QVERIFY(!mConfig->ValidateVersionStringSetIsNewer(""));
        QCOMPARE(mConfig->configVersionIsNewer(), newer);
    }
    void resourceIdsStayAboveTheLargestInUse()
    {
        QCOMPARE(mConfig->GetNextResourceId(), 0);
        QCOMPARE(mConfig->GetNextResourceId(), 1);
        mConfig->InsertNewResource(New("7", "seven"));
        mConfig->InsertNewResource(New("3", "three"));
        QCOMPARE(mConfig->GetNextResourceId(), 8);
        mConfig->Reset(true);
        QCOMPARE(mConfig->GetNextResourceId(), 0);
    }
    // The reader takes ids up to the largest int but one; after such an id come the lowest ids that no resource
    // holds, a deleted one waiting for undo included, never one the reader refuses.
    void idsPastTheLargestReadableOneAreFreeOnesBelowIt()
    {
        Read({{"id=\"2147483646\" type=\"image\" name=\"top\" subtype=\"svg\"", "<svg/>"},
              {"id=\"1\" type=\"image\" name=\"one\" subtype=\"svg\"", "<svg/>"}});
        QCOMPARE(Add("<svg/>"), QString("0"));
        cResource* deleted = mConfig->FindImageResource("0");
        mConfig->RemoveResource(deleted);
        mConfig->ResourceUndoManager()->AddDeleteResource(deleted, mConfig.get());
        QCOMPARE(QStringList({Add("<svg/>"), Add("<svg/>")}), QStringList({"2", "3"}));
        mConfig->resourceUndoPressed();
        QCOMPARE(Listed(mConfig->Resources()).join(','), QString("1 one,0 picture 0,2 picture 2,3 picture 3,2147483646 top"));
    }
    // A rename leaves a resource where it is; a new one goes before the first listed name that sorts after it.
    void aNewResourceGoesBeforeTheFirstNameAfterItAlsoOutOfOrder()
    {
        for (const char* name : {"a.png", "b.png", "c.png"})
            mConfig->InsertNewResource(New(QString::number(mConfig->GetNextResourceId()), name));
        mConfig->FindImageResource("0")->nameProperty()->setStringValue("m.png");
        QCOMPARE(mConfig->InsertNewResource(New("3", "d.png")), 0);
        QCOMPARE(mConfig->InsertNewResource(New("4", "l.png")), 1);
        QCOMPARE(Listed(mConfig->Resources()), QStringList({"3 d.png", "4 l.png", "0 m.png", "1 b.png", "2 c.png"}));
        QCOMPARE(Listed(mConfig->ResourcesAndDefaults(), 151), Listed(mConfig->Resources()));
    }
    void resetDropsUserResourcesQuietly()
    {
        QPointer<cResource> listed = New("0", "listed"), deleted = New("1", "deleted");
        mConfig->InsertNewResource(listed);
        mConfig->InsertNewResource(deleted);
        mConfig->RemoveResource(deleted.data());
        mConfig->ResourceUndoManager()->AddDeleteResource(deleted, mConfig.get());
        mConfig->setSelectedResourceIndex(0);
        mConfig->SetVersionString("2.0.0");
        mConfig->ValidateVersionStringSetIsNewer("2.0.0");
        QSignalSpy removed(mConfig.get(), &cConfigBase::ResourceRemoved);
        mConfig->Reset(true);
        QVERIFY(!listed && !deleted);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(mConfig->ResourcesAndDefaults().count(), 151);
        QCOMPARE(mConfig->selectedResourceIndex(), -1);
        QVERIFY(!mConfig->hasResourceUndo() && !mConfig->configVersionIsNewer());
        QCOMPARE(mConfig->version(), QString());
    }
    // Raster bytes may be dropped once decoded.
    void readingKeepsIdsAndSortsByName()
    {
        const QByteArray png = Png(QSize(5, 6));
        for (const bool dropBytes : {false, true})
        {
            mConfig->Reset(true);
            Read({{"id=\"4\" type=\"image\" name=\"zebra.png\" subtype=\"png\"", png},
                  {"id=\"2\" type=\"image\" name=\"Apple.svg\" subtype=\"svg\"", "<svg/>"}}, dropBytes);
            QCOMPARE(Listed(mConfig->Resources()), QStringList({"2 Apple.svg", "4 zebra.png"}));
            QCOMPARE(Listed(mConfig->ResourcesAndDefaults(), 151), Listed(mConfig->Resources()));
            QCOMPARE(mConfig->FindImageResource("4")->Data(), dropBytes ? QByteArray() : png);
            QCOMPARE(mConfig->FindImageResource("4")->Image().size(), QSize(5, 6));
            QCOMPARE(mConfig->GetSvgData("2"), QByteArray("<svg/>"));
        }
    }
    // The report names what it can, each kind apart: pictures too large, unreadable, without an id, and
    // resources that are no pictures.
    void readingLeavesOutBadResources()
    {
        const QStringList lines = cTraceCapture::Of([&] {
            Read({{"id=\"x1\" type=\"image\" name=\"a.svg\" subtype=\"svg\"", "<svg/>"},
                  {"id=\"2147483647\" type=\"image\" subtype=\"svg\"", "<svg/>"},
                  {"id=\"1\" type=\"image\" name=\"b.png\" subtype=\"png\"", "garbage bytes"},
                  {"id=\"2\" type=\"sound\" subtype=\"svg\"", "<svg/>"}, {"type=\"image\" subtype=\"svg\"", "<svg/>"},
                  {"id=\"0\" type=\"image\" name=\"huge.pgm\" subtype=\"pgm\"", kHugeHeader},
                  {"id=\"3\" type=\"image\" name=\"ok\" subtype=\"jpg\"", Png(QSize(2, 2))}});
        });
        QCOMPARE(lines.filter("ERROR: Error reading resource id").count(), 2);
        QCOMPARE(lines.filter("ERROR: Error loading image data from xml").count(), 2);
        QCOMPARE(Listed(mConfig->Resources()), QStringList({"3 ok"}));
        QCOMPARE(mConfig->GetNextResourceId(), 4);
        QCOMPARE(mReport.Text(), QString("1 picture larger than 2048 x 1080 left out: huge.pgm\n"
                                         "1 picture that could not be read left out: b.png\n"
                                         "3 pictures without a usable id left out: a.svg\n"
                                         "1 resource of a type this program does not know left out\n"
                                         "Saving writes the file without them."));
    }
    // Inserts and removes around the selection, and the layouts listed by a resource, are followed in the
    // document's tests.
    void aReplacementTakesOverTheSelectionAndItsLayouts()
    {
        cImageResource* selected = New("0", "d");
        mConfig->InsertNewResource(New("1", "c"));
        mConfig->InsertNewResource(selected);
        mConfig->setSelectedResourceIndex(1);
        cImageResource* replacement = New("0", "d", "svg");
        QSignalSpy changed(mConfig.get(), &cConfigBase::ResourceChanged);
        mConfig->mUses = {{"P1", {"0"}}};
        mConfig->ReplaceResource(selected, replacement);
        QCOMPARE(replacement->LayoutNames(), QString("P1\n"));
        QCOMPARE(mConfig->ResourcesAndDefaults().At(152), replacement);
        QVERIFY(replacement->selected() && !selected->selected());
        QCOMPARE(QVariantList({changed.count(), mConfig->selectedResourceIndex()}), QVariantList({1, 1}));
        mConfig->setSelectedResourceIndex(99);
        QVERIFY(!replacement->selected());
    }
    // Undoing a delete or a rename is shown by the document's and the resource page's tests. A block's actions
    // are undone last first and redone in order.
    void addAndChangeAreUndoneBackwardsAndAReinsertedResourceRecordsOneRename()
    {
        cImageResource* added = New("0", "old.png");
        cImageResource* replacement = New("0", "old.png", "svg");
        mConfig->InsertNewResource(added);
        mConfig->ResourceUndoManager()->AddNewResource(added, mConfig.get());
        mConfig->ResourceUndoManager()->AddChangeResource(added, replacement, mConfig.get());
        mConfig->ReplaceResource(added, replacement);
        mConfig->resourceCloseUndoBlock();
        mConfig->resourceUndoPressed();
        QVERIFY(mConfig->Resources().isEmpty() && mConfig->hasResourceRedo());
        mConfig->resourceRedoPressed();
        QCOMPARE(mConfig->Resources().Items(), QList<cResource*>{replacement});
        QCOMPARE(mConfig->GetSvgData("0"), QByteArray("<svg/>"));
        cImageResource* renamed = New("1", "old.png");
        mConfig->InsertNewResource(renamed);
        mConfig->ResourceUndoManager()->ClearUndoRedo();
        mConfig->RemoveResource(renamed);
        mConfig->UndoDeleteResource(renamed);
        renamed->nameProperty()->setStringValue("new.png");
        mConfig->resourceCloseUndoBlock();
        mConfig->resourceUndoPressed();
        QCOMPARE(renamed->Name(), QString("old.png"));
        QVERIFY(!mConfig->hasResourceUndo());
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
        for (const QPair<int, QString>& size : QList<QPair<int, QString>>{{768, "1024 B"}, {769, "1.0 KB"}, {786433, "1.0 MB"}})
        {
            const cImageResource sized(nullptr, "1", "a.png", QImage(), QByteArray(size.first, 'x'), "png", nullptr);
            QCOMPARE(PropertyTexts(sized).filter("Size in config"), QStringList{"Size in config=" + size.second});
        }
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
    void bytesDecodeOnlyWithinTheBoundAndDeclareTheirSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<QSize>("declared");
        QTest::newRow("png") << Png(QSize(30, 20)) << QSize(30, 20) << QSize(30, 20);
        QTest::newRow("at the bound") << Png(QSize(2048, 1)) << QSize(2048, 1) << QSize(2048, 1);
        QTest::newRow("one above the bound") << Png(QSize(2049, 1)) << QSize() << QSize(2049, 1);
        QTest::newRow("one taller than the bound") << Png(QSize(1, 1081)) << QSize() << QSize(1, 1081);
        QTest::newRow("header claiming a huge size") << kHugeHeader << QSize() << QSize(30000, 20000);
        QTest::newRow("not a picture") << QByteArray("not a picture") << QSize() << QSize(-1, -1);
    }
    void bytesDecodeOnlyWithinTheBoundAndDeclareTheirSize()
    {
        QFETCH(QByteArray, bytes);
        const QImage image = cImageResource::Decode(bytes, cImageResource::MaxDecodedSize());
        QTEST(image.isNull() ? QSize() : image.size(), "decoded");
        QTEST(cImageResource::DeclaredSize(bytes), "declared");
    }
    // "@" stands for a user drawing made of the row's bytes. Unknown requests get the placeholder; drawings are
    // drawn (or not) at the requested size, within bounds; fitted user drawings keep their proportions.
    void requestsAreServedAtTheirSize_data()
    {
        QTest::addColumn<QByteArray>("svg");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QString>("look");
        const auto row = [](const char* name, const QString& id, const QSize& requested, const QSize& expected,
                            const QString& look = QString(), const QByteArray& svg = QByteArray()) {
            QTest::newRow(name) << svg << id << requested << expected << look;
        };
        row("basic", "_basic", QSize(100, 100), QSize(20, 20), "placeholder");
        row("upper-case default", "_Default", QSize(100, 100), QSize(20, 20), "placeholder");
        row("drawing without size", "default_th_0_btn_off_0", QSize(), QSize(20, 20), "placeholder");
        // The button drawing's view box is 40 x 24.
        const QString button = "default_th_0_btn_off_0";
        row("exact", button, QSize(100, 50), QSize(100, 50), "drawn");
        row("fitted to the height", button + ":preserveAspectFit", QSize(100, 50), QSize(83, 50), "drawn");
        row("fitted to the width", button + ":preserveAspectFit", QSize(100, 80), QSize(100, 60), "drawn");
        row("option is case-sensitive", button + ":preserveaspectfit", QSize(100, 50), QSize(100, 50), "drawn");
        row("default picture keeps its natural size", "_default:preserveAspectFit", QSize(300, 100), QSize(128, 128), "drawn");
        row("longest side", button, QSize(8192, 100), QSize(8192, 100));
        row("too many pixels", button, QSize(20000, 10000), QSize(5792, 2896));
        row("too tall", button, QSize(100, 16384), QSize(50, 8192));
        row("huge, fitted", button + ":preserveAspectFit", QSize(100000, 100000), QSize(5287, 3172));
        row("largest", "default_gen_rotary_0", QSize(INT_MAX, INT_MAX), QSize(4096, 4096));
        row("largest fitted", "default_gen_rotary_0:preserveAspectFit", QSize(INT_MAX, INT_MAX), QSize(4096, 4096));
        row("unreadable drawing", "default_no_such_drawing", QSize(30, 20), QSize(30, 20), "clear");
        row("unreadable drawing, fitted", "default_no_such_drawing:preserveAspectFit", QSize(30, 20), QSize(0, 0), "null");
        const QByteArray green = Svg("viewBox=\"0 0 10 20\"", "<rect width=\"10\" height=\"20\" fill=\"#00ff00\"/>");
        row("user drawing", "@", QSize(100, 100), QSize(100, 100), "green", green);
        row("user drawing, fitted", "@:preserveAspectFit", QSize(100, 100), QSize(50, 100), "", green);
        row("user drawing without size", "@", QSize(), QSize(20, 20), "placeholder", green);
        const QString fitted = "@:preserveAspectFit";
        row("no width", fitted, QSize(100, 100), QSize(0, 0), "", Svg("viewBox=\"0 0 0 10\"", ""));
        // Without a view box of its own a drawing is framed by its contents.
        row("contents frame it", fitted, QSize(100, 100), QSize(100, 25), "", Svg("viewBox=\"0 0 0 0\"", "<rect width=\"8\" height=\"2\"/>"));
        row("very tall", fitted, QSize(100, 100), QSize(0, 0), "", Svg("viewBox=\"0 0 1 1e30\""));
    }
    void requestsAreServedAtTheirSize()
    {
        QFETCH(QByteArray, svg);
        QFETCH(QString, id);
        QFETCH(QSize, requested);
        QFETCH(QString, look);
        if (!svg.isEmpty())
            id.replace("@", Add(svg));
        QImage image;
        QTEST(Served(id, requested, &image), "expected");
        if (look == "placeholder")
            QVERIFY(IsPlaceholder(image) && IsPlaceholder(mProvider->requestImage(id, nullptr, requested)));
        else if (look == "green")
            QCOMPARE(image.pixel(50, 50), qRgb(0, 255, 0));
        else if (look == "null")
            QVERIFY(image.isNull());
        else if (!look.isEmpty())
            QCOMPARE(HasVisiblePixels(image), look == "drawn");
        // Unfitted, a user drawing fills the request whatever its proportions.
        if (!svg.isEmpty() && id.endsWith(":preserveAspectFit"))
            QCOMPARE(Served(id.section(':', 0, 0), QSize(100, 100)), QSize(100, 100));
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
    void configIsNotReadOffItsThread()
    {
        const QString id = Add("png bytes", "png", Filled(QSize(4, 4), Qt::blue));
        QImage userImage, drawing;
        const QStringList traces = cTraceCapture::Of([&] {
            std::unique_ptr<QThread> thread(QThread::create([&] {
                userImage = mProvider->requestImage(id, nullptr, QSize());
                drawing = mProvider->requestImage("default_th_1_led_on_0", nullptr, QSize(24, 24));
            }));
            thread->start();
            thread->wait(10000);
        }).filter("Image '0' requested off the config's thread");
        QVERIFY(IsPlaceholder(userImage));
        QCOMPARE(traces.size(), 1);
        QCOMPARE(drawing.size(), QSize(24, 24));
        QVERIFY(HasVisiblePixels(drawing));
    }
};

QTEST_MAIN(tst_Resources)
#include "tst_Resources.moc"
