#include "ConfigTestData.h"
#include "support/cTestImageFiles.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Editor/cConfigUndoManager.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>
#include <memory>

Q_DECLARE_METATYPE(sLayoutDetails)

using namespace ConfigTestData;

namespace
{
sLayoutDetails Details(const QString& name, int orientation = 0)
{
    sLayoutDetails details;
    details.name = name;
    details.orientation = orientation;
    return details;
}

void Add(cConfig& config, const sLayoutDetails& d)
{
    config.createNewLayout(d.allUsers, d.users, d.desktop, d.phone, d.tablet, d.orientation, d.allScenes, d.scenes,
                           d.fixedAspectRatio, d.aspectRatio1, d.aspectRatio2, d.name);
}

// The layouts' names in order and the selected index, as one text.
QString State(const cConfig& config)
{
    return LayoutNames(config).join(',') + " @" + QString::number(config.selectedLayoutIndex());
}

// The resources' names in order and the selected index, as one text.
QString ResourceState(const cConfig& config)
{
    return ResourceNames(config).join(',') + " @" + QString::number(config.selectedResourceIndex());
}

// Runs the document's action, then gives its state.
QString After(cConfig& config, void (cConfig::*action)())
{
    (config.*action)();
    return State(config);
}

// Bytes this process has read so far, from every file.
qint64 BytesRead()
{
    QFile io("/proc/self/io");
    io.open(QIODevice::ReadOnly);
    const QRegularExpressionMatch match = QRegularExpression("rchar: *(\\d+)").match(io.readAll());
    return match.captured(1).toLongLong();
}

cImageWidget* AddImage(cLayout* layout, const QString& id, cWidget* container = nullptr, int location = -1)
{
    auto* image = qobject_cast<cImageWidget*>(layout->createAndAddWidget("image", container, location, 0, 0, 1, 1));
    image->GetImageProperty()->setStringValue(id);
    return image;
}

cWidget* AddTabs(cLayout* layout)
{
    return qobject_cast<cWidget*>(layout->createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
}

// Adds a layout "P" to a document that has none, showing one picture on the page and another on a tab of a tab
// container.
cLayout* AddPicturePage(cConfig& config, const QString& onPage, const QString& onTab, int tab)
{
    AddLayout(config, "P");
    cLayout* layout = config.Layouts().At(0);
    AddImage(layout, onPage);
    AddImage(layout, onTab, AddTabs(layout), tab);
    return layout;
}

QString ImageId(const cWidget* widget)
{
    return qobject_cast<const cImageWidget*>(widget)->GetImageProperty()->stringValue();
}
}

// The config document: its layouts, clipboard, history, pictures, and its file.
class tst_ConfigDocument : public QObject
{
    Q_OBJECT

    cTestImageFiles mImages;
    QTemporaryDir mDir;

private slots:
    // The emptied history is the saved state of the new document; edits inside a layout count as well. A
    // layout action without a document is traced and not recorded.
    void resetGivesACleanDocumentAndDirtyFollowsSavePoints()
    {
        cConfig config(nullptr);
        Add(config, Details("A"));
        config.SetSavePoint();
        Add(config, Details("B"));
        config.SetNextId(40);
        config.setSelectedLayoutIndex(0);
        QPointer<cLayout> old = config.Layouts().At(0);
        config.Reset(true);
        QVERIFY(!old && !config.hasUndo() && !config.dirty());
        QCOMPARE(config.Layouts().At(0)->LayoutDetails(), Details("Layout 1"));
        QCOMPARE(State(config) + QString::number(config.GetNextId()), QString("Layout 1 @-10"));
        Add(config, Details("C"));
        QCOMPARE(After(config, &cConfig::undoPressed), QString("Layout 1 @-1"));
        QVERIFY(!config.dirty());
        QCOMPARE(After(config, &cConfig::redoPressed), QString("Layout 1,C @-1"));
        config.SetSavePoint();
        config.undoPressed();
        QVERIFY(config.dirty());
        config.redoPressed();
        QVERIFY(!config.dirty());
        config.Layouts().At(0)->createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f);
        config.Layouts().At(0)->closeUndoBlock();
        QVERIFY(config.dirty());
        cConfigUndoManager manager(nullptr);
        cTraceCapture trace;
        manager.AddNewLayoutAction(nullptr, nullptr);
        manager.AddDeleteLayoutAction(nullptr, nullptr);
        QVERIFY(!manager.HasUndo());
        QCOMPARE(trace.LinesContaining("no config").size(), 2);
    }

    void layoutsKeepTheirSortOrder_data()
    {
        QTest::addColumn<sLayoutDetails>("first");
        QTest::addColumn<sLayoutDetails>("second");
        sLayoutDetails phone = Details("phone"), tablet = Details("tablet"), upper = Details("upper"),
                       lower = Details("lower"), someScenes = Details("scenes");
        phone.desktop = phone.tablet = tablet.desktop = tablet.phone = false;
        upper.allUsers = lower.allUsers = someScenes.allScenes = false;
        upper.users = "B";
        lower.users = "a";
        QTest::newRow("phone false first") << tablet << phone;
        QTest::newRow("greater orientation first") << Details("portrait", 1) << Details("landscape");
        QTest::newRow("users by code unit") << upper << lower;
        QTest::newRow("all scenes false first") << someScenes << Details("all");
    }
    void layoutsKeepTheirSortOrder()
    {
        QFETCH(sLayoutDetails, first);
        QFETCH(sLayoutDetails, second);
        for (const bool firstAddedFirst : {true, false})
        {
            cConfig config(nullptr);
            Add(config, firstAddedFirst ? first : second);
            Add(config, firstAddedFirst ? second : first);
            QCOMPARE(LayoutNames(config), QStringList({first.name, second.name}));
        }
    }

    // With all users, any other layout for all users matches whatever its text. Details are duplicate
    // only when one layout matches them all, not when each of three shares one of them. (The layout manager's
    // page test checks the plain matches.)
    void duplicateChecksIgnoreTheGivenLayoutAndNeedOneLayoutMatchingAll()
    {
        cConfig config(nullptr);
        config.createNewLayout(false, "ann", true, false, true, 0, false, "Live", false, 4, 3, "Main");
        Add(config, Details("Other"));
        cLayout* main = config.Layouts().At(0);
        QCOMPARE(QList<bool>({config.isLayoutNameDuplicate(main, "Main"), config.isLayoutNameDuplicate(nullptr, "main"),
                              config.isLayoutUsersDuplicate(main, false, "ann"), config.isLayoutUsersDuplicate(main, true, "bob"),
                              config.isLayoutScenesDuplicate(nullptr, false, "x"),
                              config.isLayoutDeviceInformationDuplicate(nullptr, true, false, true, 0),
                              config.isLayoutDeviceInformationDuplicate(nullptr, true, false, true, 1)}),
                 QList<bool>({false, false, false, true, false, true, false}));
        cConfig three(nullptr);
        three.createNewLayout(false, "ann", true, true, true, 0, true, "", false, 4, 3, "Users");
        three.createNewLayout(true, "", false, true, false, 1, true, "", false, 4, 3, "Devices");
        three.createNewLayout(true, "", true, true, true, 0, false, "Live", false, 4, 3, "Scenes");
        QVERIFY(three.isLayoutUsersDuplicate(nullptr, false, "ann") && three.isLayoutScenesDuplicate(nullptr, false, "Live"));
        QVERIFY(three.isLayoutDeviceInformationDuplicate(nullptr, false, true, false, 1));
        QVERIFY(!three.isLayoutDetailsDuplicate(nullptr, false, "ann", false, true, false, 1, false, "Live"));
        cLayout* scenes = three.Layouts().At(LayoutNames(three).indexOf("Scenes"));
        QVERIFY(three.isLayoutDetailsDuplicate(nullptr, true, "", true, true, true, 0, false, "Live"));
        QVERIFY(!three.isLayoutDetailsDuplicate(scenes, true, "", true, true, true, 0, false, "Live"));
    }

    // The clipboard outlives a reset.
    void cutRemovesOnlyTheSelectedLayoutUndoably()
    {
        cConfig config(nullptr);
        config.Reset(true);
        Add(config, Details("B"));
        QCOMPARE(After(config, &cConfig::cutPressed), QString("Layout 1,B @-1"));
        QVERIFY(!config.isPasteAllowed());
        config.setSelectedLayoutIndex(1);
        QCOMPARE(After(config, &cConfig::cutPressed), QString("Layout 1 @-1"));
        config.pastePressed();
        QCOMPARE(After(config, &cConfig::discardPendingPaste), QString("Layout 1 @-1"));
        QCOMPARE(After(config, &cConfig::undoPressed), QString("Layout 1,B @1"));
        config.Reset(true);
        QVERIFY(config.isPasteAllowed());
    }

    // Back by undo while another is selected, the present choice stays the only one.
    void selectedIndexFollowsTheFlaggedLayout()
    {
        cConfig config(nullptr);
        Add(config, Details("A"));
        Add(config, Details("B"));
        cLayout* a = config.Layouts().At(0);
        cLayout* b = config.Layouts().At(1);
        config.setSelectedLayoutIndex(1);
        QCOMPARE(After(config, &cConfig::deletePressed), QString("A @-1"));
        QCOMPARE(After(config, &cConfig::undoPressed), QString("A,B @1"));
        QCOMPARE(After(config, &cConfig::redoPressed), QString("A @-1"));
        config.undoPressed();
        config.setSelectedLayoutIndex(0);
        QCOMPARE(After(config, &cConfig::deletePressed), QString("B @-1"));
        QCOMPARE(config.GetSelectedLayout(), nullptr);
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        QVERIFY(config.isPasteAllowed());
        QCOMPARE(After(config, &cConfig::undoPressed), QString("B,A @0"));
        QVERIFY(!a->selected() && b->selected());
        Add(config, Details("Z", 2));
        QCOMPARE(State(config), QString("Z,B,A @1"));
        b->setLayoutDetails(true, "", true, true, true, 3, true, "", false, 4, 3, false, "B");
        QCOMPARE(State(config), QString("B,Z,A @0"));
        QCOMPARE(After(config, &cConfig::undoPressed), QString("Z,A,B @2"));
        QCOMPARE(After(config, &cConfig::undoPressed), QString("A,B @1"));
    }

    // Layouts out of order; widgets of every kind, nested ones, and one of a type this program does not
    // know, with content it does not interpret; pictures as other programs write them, one at the size limit,
    // read back in another order than their ids, each widget showing its own. A full disk is reported.
    void roundTripKeepsLayoutsWidgetsAndResourceBytes()
    {
        cConfig config(nullptr);
        const QList<QUrl> files{ImageUrl("folder.png"), ImageUrl("stripe.JPEG"), ImageUrl("folder.svg"),
                                mImages.write("limit.png", 2048, 1080)};
        for (const QUrl& file : files)
            QCOMPARE(config.addNewImage(file), QString::number(files.indexOf(file)));
        QVERIFY(config.imageFailureString().isEmpty());
        QByteArray source;
        QVERIFY(config.WriteXml(source));
        const QByteArray tall = "<Layout name=\"Tall\" allUsers=\"0\" users=\"ann,bob\" desktop=\"0\" phone=\"1\" "
                                "tablet=\"0\" orientation=\"2\" allScenes=\"0\" scenes=\"Live\" fixedAspectRatio=\"1\" "
                                "aspectRatio1=\"16\" aspectRatio2=\"9\">";
        const int start = source.indexOf("<Layouts");
        source.replace(start, source.indexOf("</Layouts>") + 10 - start,
            "<Layouts><Layout name=\"Wide &amp; &lt;all&gt;\" users=\"\" orientation=\"0\">"
            "<Widget id=\"3\" type=\"image\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" z=\"0.5\" resourceId=\"1\"/>"
            "<Widget id=\"4\" type=\"tab_container\" x=\"0\" y=\"0\" width=\"0.5\" height=\"0.5\" z=\"1\" numTabs=\"2\">"
            "<Tab tabName=\"One\"><Widget id=\"8\" type=\"image\" width=\"0.2\" height=\"0.2\" resourceId=\"0\"/></Tab>"
            "<Tab tabName=\"Two\"><Widget id=\"9\" type=\"text\" width=\"0.2\" height=\"0.2\"/></Tab></Widget>"
            "<Widget id=\"6\" type=\"zrnet_future\" x=\"0.1\" y=\"0.1\" width=\"0.1\" height=\"0.1\" gain=\"-3\">"
            "<Channel number=\"2\"><Name>Vox</Name></Channel></Widget></Layout>" + tall +
            "<Widget id=\"11\" type=\"rect\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"/></Layout></Layouts>");
        cConfig read(nullptr), again(nullptr);
        QByteArray written, rewritten;
        QVERIFY(read.ReadXml(source) && read.WriteXml(written) && again.ReadXml(written) && again.WriteXml(rewritten));
        QCOMPARE(rewritten, written);
        QVERIFY(written.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KelvariConfig version=\"1.0.0\">\n"
                                   "    <UIOptions/>\n    <Units/>\n    <Layouts>\n"));
        QVERIFY(written.contains(tall) &&
                written.contains("<Layout name=\"Wide &amp; &lt;all&gt;\" allUsers=\"1\" users=\"\" desktop=\"1\" phone=\"1\" "
                                 "tablet=\"1\" orientation=\"0\" allScenes=\"1\" scenes=\"\" fixedAspectRatio=\"0\" "
                                 "aspectRatio1=\"4\" aspectRatio2=\"3\">"));
        QVERIFY(written.contains("gain=\"-3\"") && written.contains("<Name>Vox</Name>"));
        QCOMPARE(State(again), QString("Tall,Wide & <all> @-1"));
        QVERIFY(!again.configVersionIsNewer() && !again.hasUndo());
        QCOMPARE(again.GetNextId(), 12);
        QStringList resources;
        for (const cResource* resource : again.Resources().Items())
        {
            const auto* image = qobject_cast<const cImageResource*>(resource);
            resources << resource->resourceId() + ' ' + resource->Name() + ' ' + image->Subtype() + ' ' +
                             QString::number(image->Image().width()) + 'x' + QString::number(image->Image().height());
            QCOMPARE(image->Data(), FileBytes(files.value(resource->resourceId().toInt()).toLocalFile()));
        }
        QCOMPARE(resources.join(", "), QString("0 folder.png png 64x64, 2 folder.svg svg 0x0, "
                                               "3 limit.png png 2048x1080, 1 stripe.JPEG jpg 493x58"));
        const QList<cWidget*> wide = again.Layouts().At(1)->GetWidgets()->Items();
        QCOMPARE(again.GetImage(ImageId(wide.at(0))).size(), QSize(493, 58));
        const cWidget* nested = qobject_cast<const cContainer*>(wide.at(1))->GetWidgetChildren()->At(0);
        QCOMPARE(again.GetImage(ImageId(nested)).size(), QSize(64, 64));
        QCOMPARE(again.FindImageResource("0")->LayoutNames(), QString("Wide & <all>\n"));
        QFile full("/dev/full");
        QVERIFY(full.open(QIODevice::WriteOnly) && !again.WriteXml(full));
        QCOMPARE(again.LoadFailureText(), QString("Error writing file /dev/full"));
    }

    // A file may hold the largest id the reader takes; pictures added and pasted after reading it come back.
    void picturesAddedOrPastedAfterTheLargestReadableIdReadBack()
    {
        cConfig config(nullptr);
        AddLayout(config, "P");
        AddImage(config.Layouts().At(0), config.addNewImage(ImageUrl("stripe.JPEG")));
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        QVERIFY(config.ReadXml(Document("<Layouts/><Resources><Resource id=\"2147483646\" type=\"image\" name=\"top.svg\" "
                                        "subtype=\"svg\">" + FileBytes(ImagePath("folder.svg")).toBase64() +
                                        "</Resource></Resources>")));
        for (const QUrl& file : {ImageUrl("folder.png"), ImageUrl("folder.svg")})
            config.addNewImage(file);
        config.pastePressed();
        config.acceptPendingPaste();
        QByteArray written;
        cConfig again(nullptr);
        QVERIFY(config.WriteXml(written) && again.ReadXml(written));
        QStringList ids;
        for (const cResource* resource : again.Resources().Items())
            ids << resource->resourceId() + ' ' + resource->Name();
        QCOMPARE(ids.join(", "), QString("0 folder.png, 1 folder.svg, 2 stripe.JPEG, 2147483646 top.svg"));
        QCOMPARE(ImageId(again.Layouts().At(0)->GetWidgets()->At(0)), QString("2"));
    }

    // Past the largest id a file can hold, a new picture passes the ids of resources the read left out, which a
    // widget may still name: the widget keeps showing no picture, and is saved so.
    void aNewPicturePastTheLargestIdPassesTheIdsOfPicturesLeftOut()
    {
        cConfig config(nullptr), again(nullptr);
        bool read = false;
        cTraceCapture::Of([&] {
            read = config.ReadXml(Document("<Layouts><Layout name=\"A\">" +
                                           WidgetXml("id=\"1\" type=\"image\" width=\"1\" height=\"1\" resourceId=\"0\"") +
                                           "</Layout></Layouts><Resources><Resource id=\"2147483646\" type=\"image\" "
                                           "name=\"top.svg\" subtype=\"svg\">" + FileBytes(ImagePath("folder.svg")).toBase64() +
                                           "</Resource><Resource id=\"0\" type=\"image\" name=\"lost.png\" subtype=\"png\">"
                                           "AAAA</Resource><Resource id=\"1\" type=\"sound\" name=\"cue.wav\">AAAA</Resource>"
                                           "</Resources>"));
        });
        QVERIFY(read);
        QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("2"));
        const cWidget* image = config.Layouts().At(0)->GetWidgets()->At(0);
        QVERIFY(config.GetImage(ImageId(image)).isNull());
        QByteArray written;
        QVERIFY(config.WriteXml(written) && again.ReadXml(written));
        QCOMPARE(ImageId(again.Layouts().At(0)->GetWidgets()->At(0)), QString("0"));
        QVERIFY(again.GetImage("0").isNull());
    }

    void badDocumentsFailWithTheirReason_data()
    {
        const QString invalid = "Invalid config data file";
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("trace");
        const QByteArray whole = Document("<Layouts><Layout name=\"A\"><Widget id=\"1\" type=\"rect\" width=\"1\" "
                                          "height=\"1\"/></Layout></Layouts><Resources/>");
        QTest::newRow("nothing") << QByteArray() << invalid << "Error reading start element - found ";
        QTest::newRow("version second") << Document("", "name=\"x\" version=\"1.0.0\"") << invalid << "Error reading version";
        QTest::newRow("two numbers") << Document("<Layouts><Layout name=\"A\"/></Layouts>", "version=\"1.0\"")
                                     << "Config data file contains an invalid version" << "Invalid config version";
        QTest::newRow("UIOptions twice") << Document("<UIOptions/><Layouts><Layout name=\"A\"/></Layouts><UIOptions/>")
                                         << invalid << "Duplicate UI Options";
        QTest::newRow("Units twice") << Document("<Units/><Layouts><Layout name=\"A\"/></Layouts><Units/>") << invalid
                                     << "Duplicate Units";
        QTest::newRow("content after the root") << whole + "<KelvariConfig/>" << invalid << "Error in config data";
    }
    void badDocumentsFailWithTheirReason()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, trace);
        cConfig config(nullptr);
        config.Reset(true);
        config.addNewImage(ImageUrl("folder.png"));
        cTraceCapture capture;
        QVERIFY(!config.ReadXml(bytes));
        QTEST(config.LoadFailureText(), "reason");
        QVERIFY2(!capture.LinesContaining(trace).isEmpty(), qPrintable(capture.Lines().join('\n')));
        QCOMPARE(config.Layouts().count() + config.Resources().count(), 0);
    }

    void newerVersionLoadsWithUnknownSectionsDropped()
    {
        cConfig config(nullptr);
        QVERIFY(config.ReadXml(Document("<Future><Layouts><Layout name=\"hidden\"/></Layouts></Future><Layouts>"
                                        "<Layout name=\"A\"/><Group name=\"G\"/></Layouts><Resources/>",
                                        "version=\"2.0.0\" flavour=\"x\"")));
        QVERIFY(config.configVersionIsNewer());
        QCOMPARE(config.version(), QString("2.0.0"));
        QCOMPARE(LayoutNames(config), QStringList{"A"});
        QByteArray written;
        QVERIFY(config.WriteXml(written));
        QVERIFY(written.contains("version=\"1.0.0\"") && !written.contains("Future") && !written.contains("Group"));
    }

    void charactersXmlCannotHoldAreRemovedWhereTextIsSet_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::newRow("U+0001") << QString(QChar(0x1));
        QTest::newRow("vertical tab") << QString("\v");
        QTest::newRow("U+FFFE") << QString(QChar(0xFFFE));
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    }
    // What the user sees is what is saved, and saving works.
    void charactersXmlCannotHoldAreRemovedWhereTextIsSet()
    {
        QFETCH(QString, bad);
        cTraceCapture capture;
        cConfig config(nullptr);
        config.addNewImage(ImageUrl("folder.png"));
        config.Resources().At(0)->nameProperty()->setStringValue("pic" + bad + "ture");
        config.createNewLayout(false, "ann" + bad, true, false, false, 0, false, bad + "live", false, 4, 3, "P" + bad + "1");
        cLayout* layout = config.Layouts().At(0);
        auto* label = qobject_cast<cWidget*>(layout->createAndAddWidget("text", nullptr, -1, 0, 0, 0.2f, 0.2f));
        label->GetProperty("Text")->setStringValue("a" + bad + "\tb\n😀");
        AddTabs(layout)->GetProperty("Tab 2")->setStringValue(bad);
        QCOMPARE(QStringList({layout->name(), label->GetProperty("Text")->stringValue()}), QStringList({"P1", "a\tb\n😀"}));
        QCOMPARE(capture.LinesContaining("ERROR: Removed 1 character(s) a config file cannot hold from").size(), 6);
        QByteArray bytes;
        cConfig read(nullptr);
        QVERIFY(config.WriteXml(bytes) && read.ReadXml(bytes));
        QCOMPARE(ResourceNames(read), QStringList{"picture"});
        const cLayout* readLayout = read.Layouts().At(0);
        QCOMPARE(QStringList({readLayout->name(), readLayout->users(), readLayout->scenes(),
                              readLayout->GetWidgets()->At(0)->GetProperty("Text")->stringValue(),
                              readLayout->GetWidgets()->At(1)->GetProperty("Tab 2")->stringValue()}),
                 QStringList({"P1", "ann", "live", "a\tb\n😀", ""}));
    }

    // Nesting far past anything the editor builds used to exhaust the stack; other hostile documents are the
    // config reader's fuzz target's.
    void deepNestingLoadsUpToItsLimit()
    {
        const int levels = 50000;
        QByteArray nested;
        for (int i = 1; i <= levels; ++i)
            nested += "<Widget id=\"" + QByteArray::number(i) + "\" type=\"tab_container\" width=\"1\" height=\"1\"><Tab>";
        nested += QByteArray("</Tab></Widget>").repeated(levels);
        cConfig config(nullptr);
        cTraceCapture capture;
        QVERIFY(config.ReadXml(Document("<Layouts><Layout name=\"A\">" + nested + "</Layout></Layouts>")));
        int depth = 0;
        for (auto* container = qobject_cast<cContainer*>(config.Layouts().At(0)->GetWidgets()->At(0)); container;
             container = qobject_cast<cContainer*>(container->GetWidgetChildren()->Items().value(0)))
            ++depth;
        QCOMPARE(depth, cEditorWidgetFactory::MaximumLoadNesting + 1);
        QCOMPARE(capture.LinesContaining("containers; not loaded").count(), 1);
        QCOMPARE(config.ReadReport().Text(), QString("%1 widgets nested deeper than 32 containers left out\n"
                                                     "Saving writes the file without them.").arg(levels - depth));
        QByteArray written;
        QVERIFY(config.WriteXml(written));
    }

    // Ids are unique in a document: a later widget with an earlier one's id, on another layout or inside a
    // container, gets a fresh one, and the report counts it; the file saved then reads back as it is.
    void duplicateWidgetIdsGetFreshOnesWhenRead()
    {
        const auto widget = [](int id, const QByteArray& inside = QByteArray()) {
            return "<Widget id=\"" + QByteArray::number(id) + "\" type=\"" + (inside.isEmpty() ? "rect" : "tab_container") +
                   "\" width=\"1\" height=\"1\">" + inside + "</Widget>";
        };
        cConfig config(nullptr), again(nullptr);
        cTraceCapture capture;
        QVERIFY(config.ReadXml(Document("<Layouts><Layout name=\"A\">" + widget(5) + widget(5, "<Tab>" + widget(9) + widget(5) +
                                        "</Tab>") + "</Layout><Layout name=\"B\">" + widget(9) + widget(7) + "</Layout></Layouts>")));
        QStringList ids;
        for (const cLayout* layout : config.Layouts().Items())
        {
            for (const cWidget* top : layout->GetWidgets()->Items())
            {
                ids << QString::number(top->GetId());
                if (const auto* container = qobject_cast<const cContainer*>(top))
                    for (const cWidget* inner : container->GetWidgetChildren()->Items())
                        ids << QString::number(inner->GetId());
            }
        }
        QCOMPARE(ids.join(','), QString("5,10,9,11,12,7"));
        QCOMPARE(capture.LinesContaining("is taken by an earlier widget").size(), 3);
        QCOMPARE(config.ReadReport().Text(), QString("3 widgets given a new id, as an earlier widget had theirs"));
        QCOMPARE(config.GetNextId(), 13);
        QByteArray written;
        QVERIFY(config.WriteXml(written) && again.ReadXml(written));
        QCOMPARE(again.ReadReport().Text(), QString());
    }

    // Past the largest id a file can hold, repeated ids get the lowest free ones, each once, passing ids of
    // widgets and of Widget elements kept inside one; found without a walk of the document for each, so such a
    // file loads about as fast as the same file without the large id (the floor, taken at its fastest).
    void repeatedIdsPastTheLargestGetFreeOnesInTimeLinearInTheFile()
    {
        constexpr int repeats = 10000;
        const auto document = [](const QByteArray& first) {
            QByteArray widgets = first + RectXml(0) + RectXml(3) +
                                 WidgetXml("id=\"4\" type=\"future\" width=\"1\" height=\"1\"", "<Widget id=\"5\"/>");
            for (int i = 0; i < repeats; ++i)
                widgets += RectXml(1);
            return Document("<Layouts><Layout name=\"A\">" + widgets + "</Layout></Layouts>");
        };
        const QByteArray floorFile = document(RectXml(6)), largestFile = document(RectXml(2147483646));
        const auto load = [](const QByteArray& bytes, std::unique_ptr<cConfig>& config) {
            config = std::make_unique<cConfig>(nullptr);
            QElapsedTimer timer;
            timer.start();
            bool read = false;
            cTraceCapture::Of([&] { read = config->ReadXml(bytes); });
            return read ? timer.nsecsElapsed() : -1;
        };
        std::unique_ptr<cConfig> config;
        qint64 floor = std::numeric_limits<qint64>::max();
        for (int run = 0; run < 3; ++run)
            floor = std::min(floor, load(floorFile, config));
        QVERIFY(floor > 0);
        // The quadratic walk took about a thousand times the floor; the room is for a busy machine.
        constexpr qint64 room = 25;
        qint64 largest = std::numeric_limits<qint64>::max();
        for (int run = 0; run < 5 && largest > room * floor; ++run)
            largest = std::min(largest, load(largestFile, config));
        QVERIFY2(largest <= room * floor, qPrintable(QString("%1 ms against %2 ms").arg(largest / 1e6).arg(floor / 1e6)));
        QList<int> ids{5};
        for (const cWidget* widget : config->Layouts().At(0)->GetWidgets()->Items())
            ids << widget->GetId();
        QCOMPARE(ids.takeAt(1), 2147483646);
        std::sort(ids.begin(), ids.end());
        QCOMPARE(ids.size(), repeats + 4);
        QCOMPARE(QList<int>({ids.first(), ids.last(), int(QSet<int>(ids.cbegin(), ids.cend()).size())}),
                 QList<int>({0, repeats + 3, repeats + 4}));
        QCOMPARE(config->ReadReport().Text(), QString("%1 widgets given a new id, as an earlier widget had theirs").arg(repeats - 1));
        QCOMPARE(config->GetNextId(), repeats + 4);
    }

    void whatReadingLeavesOutIsReportedByKind_data()
    {
        QTest::addColumn<QByteArray>("widgets");
        QTest::addColumn<QByteArray>("resources");
        QTest::addColumn<QString>("report");
        const QByteArray size = "width=\"0.5\" height=\"0.5\"";
        const QByteArray rect = "type=\"rect\" " + size;
        QTest::newRow("widgets without a usable id")
            << WidgetXml(rect) + WidgetXml("id=\"-1\" " + rect) + TabsXml(size, {RectXml(1) + RectXml(2), RectXml(3)})
            << QByteArray() << "3 widgets without a usable id left out, with 3 widgets inside them";
        QTest::newRow("widget with the largest id")
            << TabsXml("id=\"2147483647\" " + size, {RectXml(1)}) << QByteArray()
            << "1 widget with the id 2147483647 left out, with 1 widget inside it";
        QTest::newRow("widgets without a type")
            << WidgetXml("id=\"1\" type=\"\" " + size) + WidgetXml("id=\"2\" " + size, "<Tab>" + RectXml(3) + "</Tab>")
            << QByteArray() << "2 widgets without a type left out, with 1 widget inside them";
        QTest::newRow("widgets with a negative size")
            << TabsXml("id=\"1\" width=\"-0.5\" height=\"0.5\"", {RectXml(2) + TabsXml("id=\"3\" " + size, {RectXml(4)})}) +
                   WidgetXml("id=\"5\" type=\"text\" width=\"0.5\" height=\"-1\"")
            << QByteArray() << "2 widgets with a negative width or height left out, with 3 widgets inside them";
        QTest::newRow("widgets without a width or height")
            << WidgetXml("id=\"1\" type=\"rect\" height=\"0.5\"") + WidgetXml("id=\"2\" type=\"text\" width=\"0.5\"") +
                   TabsXml("id=\"3\"", {RectXml(4)})
            << QByteArray() << "3 widgets without a width or height left out, with 1 widget inside them";
        QList<QByteArray> tabs;
        for (int tab = 0; tab < 10; ++tab)
            tabs << RectXml(10 + tab);
        tabs << RectXml(30) + RectXml(31) << TabsXml("id=\"32\" " + size, {RectXml(33)});
        QTest::newRow("tabs past the tenth")
            << TabsXml("id=\"1\" numTabs=\"10\" " + size, tabs) << QByteArray()
            << "2 tabs past the tenth of a tab container left out, with 4 widgets on them";
        QTest::newRow("elements this program does not know")
            << "<Group>" + RectXml(1) + "<Row>" + RectXml(2) + "</Row></Group><Note/>" +
                   TabsXml("id=\"3\" " + size, {RectXml(4) + "<Group>" + RectXml(5) + "</Group>"})
            << QByteArray() << "3 elements this program does not know left out, with 3 widgets inside them";
        QTest::newRow("resources that are no pictures")
            << QByteArray() << QByteArray("<Resource id=\"4\" type=\"sound\" name=\"cue.wav\">AAAA</Resource>"
                                          "<Resource id=\"5\" name=\"notes\"/>")
            << "2 resources of a type this program does not know left out: cue.wav, notes";
        QTest::newRow("pictures without a usable id")
            << QByteArray() << QByteArray("<Resource id=\"x1\" type=\"image\" name=\"a.svg\" subtype=\"svg\">AAAA</Resource>"
                                          "<Resource type=\"image\" subtype=\"svg\">AAAA</Resource>")
            << "2 pictures without a usable id left out: a.svg";
    }

    // What the reader leaves out is counted by kind, with the widgets that went with it, and named where it has
    // a name; the rest loads, and the file saved then reads back with nothing left out.
    void whatReadingLeavesOutIsReportedByKind()
    {
        QFETCH(QByteArray, widgets);
        QFETCH(QByteArray, resources);
        QFETCH(QString, report);
        cConfig config(nullptr), again(nullptr);
        bool read = false;
        cTraceCapture::Of([&] {
            read = config.ReadXml(Document("<Layouts><Layout name=\"A\">" + widgets + RectXml(50) + "</Layout></Layouts>"
                                           "<Resources>" + resources + "</Resources>"));
        });
        QVERIFY(read);
        QCOMPARE(config.ReadReport().Text(), report + "\nSaving writes the file without them.");
        QCOMPARE(config.Layouts().At(0)->GetWidgets()->Items().last()->GetId(), 50);
        QByteArray written;
        QVERIFY(config.WriteXml(written) && again.ReadXml(written));
        QCOMPARE(again.ReadReport().Text(), QString());
    }

    // Kept XML of an unknown widget and of a tab container is written back as it was read, however deep, and
    // reads back the same; a document that would not fit in memory, as an upload writes it, fails and says why.
    void keptXmlIsSavedAtTheSizeItWasReadAndAnInMemoryWriteHasALimit()
    {
        const QByteArray kept = QByteArray("<a>").repeated(5000) + "deep" + QByteArray("</a>").repeated(5000);
        const QByteArray source = Document("<Layouts><Layout name=\"A\"><Widget id=\"1\" type=\"zrnet_future\" width=\"1\" "
                                           "height=\"1\">" + kept + "</Widget><Widget id=\"2\" type=\"tab_container\" "
                                           "width=\"1\" height=\"1\"><Tab tabName=\"T\"/>" + kept + "</Widget></Layout></Layouts>");
        cConfig config(nullptr), again(nullptr);
        QByteArray written, rewritten;
        QVERIFY(config.ReadXml(source) && config.WriteXml(written) && again.ReadXml(written) && again.WriteXml(rewritten));
        QVERIFY2(written.size() < source.size() + 1000, qPrintable(QString::number(written.size())));
        QCOMPARE(rewritten, written);
        QCOMPARE(written.count(kept), 2);
        QVERIFY(config.WriteXml(written, written.size()));
        QVERIFY(!config.WriteXml(written, written.size() - 1) && written.isEmpty());
        QCOMPARE(config.LoadFailureText(), QString("The config is larger than the %1 bytes that can be held in memory")
                                               .arg(rewritten.size() - 1));
    }

    // Sparse files: a small picture, or a header declaring a huge one, in front of a long body.
    void refusedFilesSayWhyReadNothingPastTheLimitsAndChangeNothing_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("failure");
        const auto file = [this](const QString& name, const QByteArray& head, qint64 size) {
            QFile file(mDir.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(head);
            file.resize(size);
            return QUrl::fromLocalFile(file.fileName());
        };
        QTest::newRow("one pixel too tall") << mImages.write("tall.jpg", 2048, 1081)
                                            << "Image tall.jpg is too tall.\nMax size is 2048x1080";
        QTest::newRow("file past the size limit") << file("big.png", FileBytes(ImagePath("folder.png")), 1LL << 30)
                                                  << "Image big.png is too large.\nMax file size is 32 MB";
        QTest::newRow("huge header, long body") << file("huge.png", PngWithHeader("0000ea600000000a0802000000010f3770"),
                                                        30 << 20)
                                                << "Image huge.png is too wide.\nMax size is 2048x1080";
        QTest::newRow("not an image") << QUrl::fromLocalFile(TEST_DATA_DIR "/README.md") << "Invalid image data\nREADME.md";
        QTest::newRow("missing file") << QUrl::fromLocalFile("/nonexistent/my #1 picture.png")
                                      << "Could not open file my #1 picture.png";
    }
    void refusedFilesSayWhyReadNothingPastTheLimitsAndChangeNothing()
    {
        QFETCH(QUrl, url);
        cConfig config(nullptr);
        const QString kept = config.addNewImage(ImageUrl("folder.png"));
        config.resourceCloseUndoBlock();
        const qint64 readBefore = BytesRead();
        QCOMPARE(config.addNewImage(url), QString());
        QTEST(config.imageFailureString(), "failure");
        QVERIFY(!config.changeImage(url, kept));
        QTEST(config.imageFailureString(), "failure");
        QVERIFY2(BytesRead() - readBefore < (1 << 20), qPrintable(QString::number(BytesRead() - readBefore)));
        QCOMPARE(config.FindImageResource(kept)->Subtype(), QString("png"));
        config.resourceUndoPressed();
        QCOMPARE(config.Resources().count(), 0);
        QVERIFY(!config.hasResourceUndo());
    }

    // What the page's buttons reach beyond the resource list's own undo and selection: a delete off the list
    // does nothing, a change of an unknown id says why, and an unknown id's name is "Unknown".
    void addDeleteAndChangeAreUndoable()
    {
        cConfig config(nullptr);
        config.addNewImage(ImageUrl("stripe.JPEG"));
        config.addNewImage(mImages.write("m.png", 20, 20));
        config.resourceCloseUndoBlock();
        config.setSelectedResourceIndex(1);
        config.deleteImage(1);
        config.deleteImage(5);
        QCOMPARE(ResourceState(config), QString("m.png @-1"));
        config.resourceUndoPressed();
        QCOMPARE(ResourceNames(config), QStringList({"m.png", "stripe.JPEG"}));
        QVERIFY(config.changeImage(ImageUrl("folder.svg"), "1"));
        QCOMPARE(QStringList({config.getResourceName("1"), config.FindImageResource("1")->Subtype()}),
                 QStringList({"m.png", "svg"}));
        QVERIFY(!config.changeImage(ImageUrl("folder.svg"), "77") && config.Resources().count() == 2);
        QCOMPARE(config.imageFailureString(), QString("No image resource has the id 77"));
        config.resourceUndoPressed();
        QCOMPARE(config.FindImageResource("1")->Subtype() + config.getResourceName("nowhere"), QString("pngUnknown"));
    }

    // The lists follow renamed and deleted layouts, image choices, and widgets inside containers.
    void layoutsUsingAResourceFollowTheirWidgets()
    {
        cConfig config(nullptr);
        const QString id = config.addNewImage(ImageUrl("folder.png"));
        for (const char* name : {"P1", "P2"})
            config.createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, name);
        AddImage(config.Layouts().At(0), id);
        cImageWidget* second = AddImage(config.Layouts().At(1), id);
        const cResource* resource = config.FindImageResource(id);
        config.Layouts().At(0)->SetName("First");
        QCOMPARE(resource->LayoutNames(), QString("P2\nFirst\n"));
        second->GetImageProperty()->setStringValue("_default");
        QCOMPARE(resource->LayoutNames(), QString("First\n"));
        config.deleteLayout(config.Layouts().At(0));
        QCOMPARE(resource->LayoutNames(), QString());
        cLayout* layout = config.Layouts().At(0);
        cImageWidget* image = AddImage(layout, id, AddTabs(layout), 1);
        layout->closeUndoBlock();
        QCOMPARE(resource->LayoutNames(), QString("P2\n"));
        layout->DeleteWidget(image);
        layout->closeUndoBlock();
        QCOMPARE(resource->LayoutNames(), QString());
        layout->undoPressed();
        QCOMPARE(resource->LayoutNames(), QString("P2\n"));
    }

    // Into a new document that has the same folder picture and another under the stripe's old id; the copy
    // waits for its details (a second paste would lose it) with its widgets under fresh ids.
    void aCopiedLayoutIsPastedWithFreshIdsAndItsPictures()
    {
        cConfig config(nullptr);
        const QString folder = config.addNewImage(ImageUrl("folder.png"));
        const QString stripe = config.addNewImage(ImageUrl("stripe.JPEG"));
        AddPicturePage(config, stripe, folder, 2);
        QVERIFY(!config.isPasteAllowed());
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        config.Reset(true);
        QCOMPARE(config.addNewImage(ImageUrl("folder.svg")), QString("0"));
        QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("1"));
        config.resourceCloseUndoBlock();
        config.SetNextId(12);
        QSignalSpy dialog(&config, &cConfig::requestDetailsDialog);
        config.pastePressed();
        config.pastePressed();
        QCOMPARE(dialog.count(), 1);
        auto* pending = dialog.at(0).at(0).value<cLayout*>();
        QCOMPARE(pending->name(), QString("P copy"));
        const QString xml = config.GetLayoutXml(pending);
        QVERIFY(xml.contains("<Widget id=\"12\"") && xml.contains("<Widget id=\"14\"") && xml.count("<Widget id=") == 3);
        QCOMPARE(config.GetNextId(), 15);
        QCOMPARE(config.Layouts().count(), 1);
        config.acceptPendingPaste();
        QCOMPARE(State(config), QString("P copy,Layout 1 @0"));
        QCOMPARE(config.GetSelectedLayout(), pending);
        QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg", "stripe.JPEG"}));
        QCOMPARE(ImageId(pending->GetWidgets()->At(0)), QString("2"));
        QCOMPARE(config.FindImageResource("2")->Data(), FileBytes(ImagePath("stripe.JPEG")));
        QCOMPARE(config.FindImageResource("2")->LayoutNames(), QString("P copy\n"));
        QCOMPARE(ImageId(qobject_cast<const cContainer*>(pending->GetWidgets()->At(1))->GetWidgetChildren()->At(0)),
                 QString("1"));
        QVERIFY(!pending->hasUndo());
        config.undoPressed();
        QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
        QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg"}));
        QVERIFY(!config.hasUndo());
        config.redoPressed();
        QCOMPARE(ResourceNames(config) << State(config),
                 QStringList({"folder.png", "folder.svg", "stripe.JPEG", "P copy,Layout 1 @0"}));
    }

    // A widget whose picture was deleted names no picture; copied, and pasted after New into a document that
    // has a picture under that id, it still names none, nor after more pictures come. The other widget's
    // picture comes along.
    void pastedWidgetsWhosePictureIsGoneNameNoPicture_data()
    {
        QTest::addColumn<bool>("wholeLayout");
        QTest::newRow("layout") << true;
        QTest::newRow("widgets") << false;
    }
    void pastedWidgetsWhosePictureIsGoneNameNoPicture()
    {
        QFETCH(bool, wholeLayout);
        cConfig config(nullptr);
        const QString stripe = config.addNewImage(ImageUrl("stripe.JPEG"));
        const QString gone = config.addNewImage(ImageUrl("folder.png"));
        cLayout* layout = AddPicturePage(config, stripe, gone, 0);
        config.deleteImage(ResourceNames(config).indexOf("folder.png"));
        config.setSelectedLayoutIndex(0);
        layout->selectionManager()->selectAll();
        wholeLayout ? config.copyPressed() : layout->copyPressed();
        config.Reset(true);
        QCOMPARE(QStringList({config.addNewImage(ImageUrl("folder.svg")), config.addNewImage(mImages.write("m.png", 20, 20))}),
                 QStringList({"0", "1"}));
        config.resourceCloseUndoBlock();
        cLayout* pasted = config.Layouts().At(0);
        if (wholeLayout)
        {
            QSignalSpy dialog(&config, &cConfig::requestDetailsDialog);
            config.pastePressed();
            pasted = dialog.value(0).value(0).value<cLayout*>();
            config.acceptPendingPaste();
        }
        else
        {
            pasted->pastePressed();
        }
        QVERIFY(pasted);
        QList<cWidget*> top = pasted->GetWidgets()->Items();
        QCOMPARE(top.size(), 2);
        if (!qobject_cast<const cContainer*>(top.at(1)))
            top.swapItemsAt(0, 1);
        const auto* tabs = qobject_cast<const cContainer*>(top.at(1));
        QVERIFY(tabs && tabs->GetWidgetChildren()->count() == 1);
        const QString named = ImageId(tabs->GetWidgetChildren()->At(0));
        QCOMPARE(ImageId(top.at(0)), QString("2"));
        QCOMPARE(config.FindImageResource("2")->Data(), FileBytes(ImagePath("stripe.JPEG")));
        QVERIFY2(!config.FindResource(named), qPrintable(named));
        config.addNewImage(ImageUrl("folder.png"));
        config.addNewImage(ImageUrl("folder.svg"));
        QVERIFY2(!config.FindResource(named), qPrintable(named));
    }

    // Pasted into its own document, a widget keeps the picture it named, not another that holds the same
    // bytes; pasted into another, the picture it brings is a resource step of its own, closed.
    void pastedWidgetsKeepTheirOwnPictureAndAddTheirsInAStepOfItsOwn()
    {
        cConfig config(nullptr);
        const QString named = config.addNewImage(ImageUrl("folder.png"));
        config.Resources().At(0)->nameProperty()->setStringValue("z.png");
        config.addNewImage(ImageUrl("folder.png"));
        config.resourceCloseUndoBlock();
        QCOMPARE(ResourceNames(config), QStringList({"folder.png", "z.png"}));
        AddLayout(config, "P");
        cLayout* layout = config.Layouts().At(0);
        AddImage(layout, named);
        layout->selectionManager()->selectAll();
        layout->copyPressed();
        layout->pastePressed();
        QCOMPARE(QStringList({ImageId(layout->GetWidgets()->At(1)), QString::number(config.Resources().count())}),
                 QStringList({named, "2"}));
        config.Reset(true);
        config.addNewImage(ImageUrl("stripe.JPEG"));
        config.resourceCloseUndoBlock();
        config.Layouts().At(0)->pastePressed();
        config.addNewImage(ImageUrl("folder.svg"));
        config.resourceUndoPressed();
        QCOMPARE(ResourceNames(config), QStringList({"stripe.JPEG", "z.png"}));
        QCOMPARE(ImageId(config.Layouts().At(0)->GetWidgets()->At(0)), QString("1"));
    }
};

QTEST_MAIN(tst_ConfigDocument)
#include "tst_ConfigDocument.moc"
