#include "support/cTraceCapture.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cResourceUndoManager.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtTest>

namespace
{
// A document with layouts, as the editor's document provides them.
class cConfigWithLayouts : public cConfigBase
{
public:
    using cConfigBase::cConfigBase;
    QList<sLayoutResourceUse> mUses;

protected:
    QList<sLayoutResourceUse> LayoutResourceUses() const override { return mUses; }
};

QStringList Ids(const QQmlObjectListModel<cResource>& model, int from = 0)
{
    QStringList ids;
    for (int i = from; i < model.count(); ++i)
        ids << model.At(i)->resourceId();
    return ids;
}

QStringList Names(const QQmlObjectListModel<cResource>& model, int from = 0)
{
    QStringList names;
    for (int i = from; i < model.count(); ++i)
        names << model.At(i)->Name();
    return names;
}

QByteArray Png(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

cImageResource* NewImage(cConfigBase& config, const QString& id, const QString& name, const QString& subtype = "png")
{
    const QByteArray bytes = subtype == "svg" ? QByteArray("<svg/>") : Png(4, 3);
    const QImage image = subtype == "svg" ? QImage() : QImage::fromData(bytes);
    return new cImageResource(&config, id, name, image, bytes, subtype, &config);
}

// Reads <Resource> elements made of (attributes, bytes) pairs.
void ReadResources(cConfigBase& config, const QList<QPair<QString, QByteArray>>& resources, bool dropBytes = false)
{
    QString xml = "<Resources>";
    for (const auto& resource : resources)
        xml += QStringLiteral("<Resource %1>%2</Resource>")
                   .arg(resource.first, QString::fromLatin1(resource.second.toBase64()));
    QXmlStreamReader reader(xml + "</Resources>");
    reader.readNextStartElement();
    config.ReadResourcesXml(reader, dropBytes);
}
}

class tst_cConfigBase : public QObject
{
    Q_OBJECT

private slots:
    void builtInImagesComeFirstInFixedOrder();
    void themesHaveTheirKindsOfDrawings_data();
    void themesHaveTheirKindsOfDrawings();
    void builtInDrawingsAreExactlyTheCarriedFiles();
    void themeColourBelongsToThemedDrawings_data();
    void themeColourBelongsToThemedDrawings();
    void userResourcesAreKeptInNameOrderAndFoundById();
    void versionCheck_data();
    void versionCheck();
    void resourceIdsStayAboveTheLargestInUse();
    void resetDropsUserResourcesQuietly();
    void readingKeepsIdsAndSortsByName_data();
    void readingKeepsIdsAndSortsByName();
    void readingLeavesOutBadResources();
    void selectionFollowsTheResource();
    void addDeleteAndChangeAreUndoable();
    void renamingAResourceIsUndoable();
    void layoutNamesListUsersLastFirst();
};

void tst_cConfigBase::builtInImagesComeFirstInFixedOrder()
{
    cConfigBase config(nullptr);
    const auto& all = config.ResourcesAndDefaults();
    QCOMPARE(all.count(), 151);
    QCOMPARE(all.At(0)->resourceId(), QString("default_th_0_fader_control_0"));
    QCOMPARE(all.At(5)->Name(), QString("Theme 1 Knob 1"));
    QCOMPARE(Ids(all, 144), QStringList({"default_gen_fader_0", "default_gen_fader_1", "default_gen_fader_2",
                                         "default_gen_fader_3", "default_gen_rotary_0", "_default", "_basic"}));
    QCOMPARE(Names(all, 144), QStringList({"Generic Bgr 1", "Generic Bgr 2", "Generic Bgr 3", "Generic Bgr 4",
                                           "Generic Bgr 1", "Default", "Basic"}));

    // Buttons and LEDs come in off/on pairs.
    const int first = Ids(all).indexOf("default_th_0_btn_off_0");
    QCOMPARE(Ids(all).mid(first, 3),
             QStringList({"default_th_0_btn_off_0", "default_th_0_btn_on_0", "default_th_0_btn_off_1"}));
    QCOMPARE(Names(all).mid(first, 2), QStringList({"Theme 1 Off 1", "Theme 1 On 1"}));
}

void tst_cConfigBase::themesHaveTheirKindsOfDrawings_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<int>("drawings");
    QTest::addColumn<int>("rotaryBackgrounds");
    QTest::newRow("theme 0") << 0 << 30 << 0;
    QTest::newRow("theme 4") << 4 << 14 << 2;
    QTest::newRow("no theme above") << 5 << 0 << 0;
}

void tst_cConfigBase::themesHaveTheirKindsOfDrawings()
{
    QFETCH(int, theme);
    QFETCH(int, drawings);
    QFETCH(int, rotaryBackgrounds);
    const QStringList ids = cConfigBase::ThemeDrawingIds(theme);
    QCOMPARE(ids.count(), drawings);
    const QString prefix = QStringLiteral("^default_th_%1_").arg(theme);
    QCOMPARE(ids.filter(QRegularExpression(prefix + "rotary_\\d+$")).count(), rotaryBackgrounds);
    cConfigBase config(nullptr);
    const QStringList all = Ids(config.ResourcesAndDefaults());
    if (!ids.isEmpty())
        QCOMPARE(all.mid(all.indexOf(ids.first()), ids.count()), ids);
}

// The drawings' colours and proportions are checked by the script that generates them.
void tst_cConfigBase::builtInDrawingsAreExactlyTheCarriedFiles()
{
    cConfigBase config(nullptr);
    QSet<QString> listed;
    for (cResource* resource : config.ResourcesAndDefaults().Items())
    {
        if (cConfigBase::IsDrawingId(resource->resourceId()))
            listed << resource->resourceId();
    }
    QSet<QString> carried;
    for (const QString& file : QDir(":/").entryList({"default_th_*", "default_gen_*"}, QDir::Files))
    {
        QVERIFY2(QSvgRenderer(cConfigBase::DrawingPath(file)).isValid(), qPrintable(file));
        carried << file;
    }
    QCOMPARE(listed.size(), 149);
    QCOMPARE(carried, listed);
    QVERIFY(QSvgRenderer(cConfigBase::DefaultImagePath()).isValid());
}

void tst_cConfigBase::themeColourBelongsToThemedDrawings_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("colour");
    QTest::newRow("theme 4") << "default_th_4_rotary_1" << "#0D69B9";
    QTest::newRow("generic") << "default_gen_fader_0" << "";
    QTest::newRow("unknown theme") << "default_th_7_led_on_0" << "";
    QTest::newRow("theme beyond int") << "default_th_99999999999999999999_led_on_0" << "";
}

void tst_cConfigBase::themeColourBelongsToThemedDrawings()
{
    QFETCH(QString, id);
    QFETCH(QString, colour);
    QCOMPARE(cConfigBase::GetThemeColour(id), colour);
}

void tst_cConfigBase::userResourcesAreKeptInNameOrderAndFoundById()
{
    cConfigBase config(nullptr);
    QSignalSpy inserted(&config, &cConfigBase::ResourceInserted);
    cImageResource* svg = NewImage(config, "1", "A", "svg");
    QCOMPARE(config.InsertNewResource(NewImage(config, "0", "b")), 0);
    QCOMPARE(config.InsertNewResource(svg), 0);
    QCOMPARE(config.InsertNewResource(NewImage(config, "2", "a")), 1);
    QCOMPARE(Names(config.Resources()), QStringList({"A", "a", "b"}));
    QCOMPARE(Names(config.ResourcesAndDefaults(), 151), QStringList({"A", "a", "b"}));
    QCOMPARE(inserted.count(), 3);

    QCOMPARE(config.FindImageResource("1"), svg);
    QVERIFY(!config.FindResource("42"));
    QVERIFY(!config.FindImageResource("_default"));
    QCOMPARE(config.GetSvgData("1"), QByteArray("<svg/>"));
    QVERIFY(config.GetSvgData("0").isEmpty());
    QCOMPARE(config.GetImage("0").size(), QSize(4, 3));
    QVERIFY(config.GetImage("7").isNull());
    QVERIFY(!cConfigBase::IsUserResourceId("-1"));
}

void tst_cConfigBase::versionCheck_data()
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

void tst_cConfigBase::versionCheck()
{
    QFETCH(QString, version);
    QFETCH(bool, valid);
    QFETCH(bool, newer);
    cConfigBase config(nullptr);
    QSignalSpy changes(&config, &cConfigBase::configVersionIsNewerChanged);
    QCOMPARE(config.ValidateVersionStringSetIsNewer(version), valid);
    QCOMPARE(config.configVersionIsNewer(), newer);
    QCOMPARE(changes.count(), newer ? 1 : 0);
    // An invalid text leaves the flag as it was.
    QVERIFY(!config.ValidateVersionStringSetIsNewer(""));
    QCOMPARE(config.configVersionIsNewer(), newer);
}

void tst_cConfigBase::resourceIdsStayAboveTheLargestInUse()
{
    cConfigBase config(nullptr);
    QCOMPARE(config.GetNextResourceId(), 0);
    QCOMPARE(config.GetNextResourceId(), 1);
    config.InsertNewResource(NewImage(config, "7", "seven"));
    config.InsertNewResource(NewImage(config, "3", "three"));
    QCOMPARE(config.GetNextResourceId(), 8);
    config.Reset(true);
    QCOMPARE(config.GetNextResourceId(), 0);
    config.Reset(true);
    ReadResources(config, {{"id=\"3\" type=\"image\" subtype=\"svg\"", "<svg/>"},
                           {"id=\"9\" type=\"image\" subtype=\"svg\"", "<svg/>"}});
    QCOMPARE(config.GetNextResourceId(), 10);
}

void tst_cConfigBase::resetDropsUserResourcesQuietly()
{
    cConfigBase config(nullptr);
    QPointer<cResource> listed = NewImage(config, "0", "listed");
    QPointer<cResource> deleted = NewImage(config, "1", "deleted");
    config.InsertNewResource(listed);
    config.InsertNewResource(deleted);
    config.RemoveResource(deleted.data());
    config.ResourceUndoManager()->AddDeleteResource(deleted, &config);
    config.setSelectedResourceIndex(0);
    config.SetVersionString("2.0.0");
    config.ValidateVersionStringSetIsNewer("2.0.0");
    QSignalSpy removed(&config, &cConfigBase::ResourceRemoved);

    config.Reset(true);

    QVERIFY(!listed && !deleted);
    QCOMPARE(removed.count(), 0);
    QCOMPARE(config.ResourcesAndDefaults().count(), 151);
    QCOMPARE(config.selectedResourceIndex(), -1);
    QVERIFY(!config.hasResourceUndo());
    QCOMPARE(config.version(), QString());
    QVERIFY(!config.configVersionIsNewer());
}

void tst_cConfigBase::readingKeepsIdsAndSortsByName_data()
{
    QTest::addColumn<bool>("dropBytes");
    QTest::newRow("keeping bytes") << false;
    QTest::newRow("dropping raster bytes") << true;
}

void tst_cConfigBase::readingKeepsIdsAndSortsByName()
{
    QFETCH(bool, dropBytes);
    cConfigBase config(nullptr);
    const QByteArray png = Png(5, 6);
    ReadResources(config, {{"id=\"4\" type=\"image\" name=\"zebra.png\" subtype=\"png\"", png},
                           {"id=\"2\" type=\"image\" name=\"Apple.svg\" subtype=\"svg\"", "<svg/>"}},
                  dropBytes);
    QCOMPARE(Ids(config.Resources()), QStringList({"2", "4"}));
    QCOMPARE(Ids(config.ResourcesAndDefaults(), 151), QStringList({"2", "4"}));
    const cImageResource* raster = config.FindImageResource("4");
    QCOMPARE(raster->Name(), QString("zebra.png"));
    QCOMPARE(raster->Data(), dropBytes ? QByteArray() : png);
    QCOMPARE(raster->Image().size(), QSize(5, 6));
    QCOMPARE(config.GetSvgData("2"), QByteArray("<svg/>"));
}

void tst_cConfigBase::readingLeavesOutBadResources()
{
    cConfigBase config(nullptr);
    cTraceCapture trace;
    ReadResources(config, {{"id=\"x1\" type=\"image\" subtype=\"svg\"", "<svg/>"},
                           {"id=\"2147483647\" type=\"image\" subtype=\"svg\"", "<svg/>"},
                           {"id=\"1\" type=\"image\" subtype=\"png\"", "garbage bytes"},
                           {"id=\"2\" type=\"sound\" subtype=\"svg\"", "<svg/>"},
                           {"type=\"image\" subtype=\"svg\"", "<svg/>"},
                           {"id=\"3\" type=\"image\" name=\"ok\" subtype=\"jpg\"", Png(2, 2)}});
    QCOMPARE(trace.LinesContaining("ERROR: Error reading resource id").count(), 2);
    QCOMPARE(trace.LinesContaining("ERROR: Error loading image data from xml").count(), 1);
    QCOMPARE(Ids(config.Resources()), QStringList({"3"}));
    QCOMPARE(config.GetNextResourceId(), 4);
}

void tst_cConfigBase::selectionFollowsTheResource()
{
    cConfigBase config(nullptr);
    for (const QString& name : QStringList{"c", "d", "e"})
        config.InsertNewResource(NewImage(config, QString::number(config.GetNextResourceId()), name));
    config.setSelectedResourceIndex(1);
    cResource* selected = config.Resources().At(1);
    config.InsertNewResource(NewImage(config, "9", "a"));
    QCOMPARE(config.selectedResourceIndex(), 2);
    config.RemoveResource(0);
    QCOMPARE(config.selectedResourceIndex(), 1);
    QCOMPARE(config.Resources().At(1), selected);

    // A replacement takes over the selection.
    auto* old = static_cast<cImageResource*>(selected);
    cImageResource* replacement = NewImage(config, old->resourceId(), "d", "svg");
    QSignalSpy changed(&config, &cConfigBase::ResourceChanged);
    config.ReplaceResource(old, replacement);
    QCOMPARE(config.ResourcesAndDefaults().At(152), replacement);
    QVERIFY(replacement->selected() && !old->selected());
    QCOMPARE(changed.count(), 1);

    config.RemoveResource(1);
    QCOMPARE(config.selectedResourceIndex(), -1);
    config.setSelectedResourceIndex(99);
    for (cResource* resource : config.Resources().Items())
        QVERIFY(!resource->selected());
}

void tst_cConfigBase::addDeleteAndChangeAreUndoable()
{
    cConfigBase config(nullptr);
    cImageResource* added = NewImage(config, "0", "a");
    config.InsertNewResource(added);
    config.ResourceUndoManager()->AddNewResource(added, &config);
    config.resourceCloseUndoBlock();
    config.resourceUndoPressed();
    QCOMPARE(config.Resources().count(), 0);
    QVERIFY(config.hasResourceRedo());
    config.resourceRedoPressed();
    QCOMPARE(config.Resources().At(0), added);

    config.RemoveResource(0);
    config.ResourceUndoManager()->AddDeleteResource(added, &config);
    config.resourceCloseUndoBlock();
    config.resourceUndoPressed();
    QCOMPARE(config.ResourcesAndDefaults().At(151), added);

    cImageResource* replacement = NewImage(config, "0", "a", "svg");
    config.ResourceUndoManager()->AddChangeResource(added, replacement, &config);
    config.resourceCloseUndoBlock();
    config.ReplaceResource(added, replacement);
    config.resourceUndoPressed();
    QCOMPARE(config.Resources().At(0), added);
    QVERIFY(config.GetSvgData("0").isEmpty());
    config.resourceRedoPressed();
    QCOMPARE(config.GetSvgData("0"), QByteArray("<svg/>"));
}

void tst_cConfigBase::renamingAResourceIsUndoable()
{
    cConfigBase config(nullptr);
    cImageResource* resource = NewImage(config, "0", "old.png");
    config.InsertNewResource(resource);
    resource->nameProperty()->setStringValue("new.png");
    config.resourceCloseUndoBlock();
    config.resourceUndoPressed();
    QCOMPARE(resource->Name(), QString("old.png"));
    // Re-inserting by undo links nothing twice: one rename is one step.
    config.RemoveResource(resource);
    config.UndoDeleteResource(resource);
    resource->nameProperty()->setStringValue("other.png");
    config.resourceCloseUndoBlock();
    config.resourceUndoPressed();
    QCOMPARE(resource->Name(), QString("old.png"));
    QVERIFY(!config.hasResourceUndo());
}

void tst_cConfigBase::layoutNamesListUsersLastFirst()
{
    cConfigWithLayouts config(nullptr);
    cImageResource* shared = NewImage(config, "3", "shared");
    cImageResource* unused = NewImage(config, "4", "unused");
    config.InsertNewResource(shared);
    config.InsertNewResource(unused);
    config.mUses = {{"P1", {"3", "_default"}}, {"P2", {"3"}}};
    config.ImageResourceIdChanged();
    QCOMPARE(shared->LayoutNames(), QString("P2\nP1\n"));
    QCOMPARE(unused->LayoutNames(), QString());
    config.mUses = {{"P1", {"4"}}};
    config.UpdateResourceLayoutNames();
    QCOMPARE(shared->LayoutNames(), QString());

    cImageResource* replacement = NewImage(config, "4", "unused", "svg");
    config.ReplaceResource(unused, replacement);
    QCOMPARE(replacement->LayoutNames(), QString("P1\n"));
}

QTEST_MAIN(tst_cConfigBase)
#include "tst_cConfigBase.moc"
