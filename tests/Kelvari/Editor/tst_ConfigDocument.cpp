#include "ConfigTestData.h"
#include "support/cTestImageFiles.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Editor/cConfigUndoManager.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

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

QByteArray Document(const QByteArray& body, const QByteArray& root = "version=\"1.0.0\"")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KelvariConfig " + root + ">" + body + "</KelvariConfig>";
}

QByteArray Png(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Bytes this process has read so far, from every file.
qint64 BytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    io.open(QIODevice::ReadOnly);
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

cImageWidget* AddImage(cLayout* layout, const QString& id, cWidget* container = nullptr, int location = -1)
{
    auto* image = qobject_cast<cImageWidget*>(layout->createAndAddWidget("image", container, location, 0, 0, 1, 1));
    image->GetImageProperty()->setStringValue(id);
    return image;
}
}

// The config document: its layouts, clipboard, history, pictures, and its file.
class tst_ConfigDocument : public QObject
{
    Q_OBJECT

    cTestImageFiles mImages;
    QTemporaryDir mDir;

private slots:
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
        QVERIFY(!old);
        QCOMPARE(config.Layouts().At(0)->LayoutDetails(), Details("Layout 1"));
        QCOMPARE(config.selectedLayoutIndex(), -1);
        QVERIFY(!config.dirty() && !config.hasUndo());
        QCOMPARE(config.GetNextId(), 0);

        // The emptied history is the saved state of the new document.
        Add(config, Details("C"));
        config.undoPressed();
        QVERIFY(!config.dirty());
        QCOMPARE(config.Layouts().count(), 1);
        config.redoPressed();
        QCOMPARE(LayoutNames(config), QStringList({"Layout 1", "C"}));
        config.SetSavePoint();
        config.undoPressed();
        QVERIFY(config.dirty());
        config.redoPressed();
        QVERIFY(!config.dirty());
        // Edits inside a layout count as well.
        config.Layouts().At(0)->createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f);
        config.Layouts().At(0)->closeUndoBlock();
        QVERIFY(config.dirty());
        // A layout action without a document is traced and not recorded.
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

    void detailsChangeMovesTheLayoutUndoably()
    {
        cConfig config(nullptr);
        // Equal ones stay in the order they came.
        for (const sLayoutDetails& details : {Details("C"), Details("B", 1), Details("A", 2), Details("C2")})
            Add(config, details);
        QCOMPARE(LayoutNames(config), QStringList({"A", "B", "C", "C2"}));
        cLayout* moved = config.Layouts().At(0);
        moved->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, false, "A2");
        QCOMPARE(LayoutNames(config), QStringList({"B", "C", "C2", "A2"}));
        config.undoPressed();
        QCOMPARE(LayoutNames(config), QStringList({"A", "B", "C", "C2"}));
        QCOMPARE(moved->orientation(), 2);
    }

    // With all users, any other layout for all users matches whatever its text. Details are duplicate
    // only when one layout matches them all, not when each of three shares one of them.
    void duplicateChecksIgnoreTheGivenLayoutAndNeedOneLayoutMatchingAll()
    {
        cConfig config(nullptr);
        config.createNewLayout(false, "ann", true, false, true, 0, false, "Live", false, 4, 3, "Main");
        Add(config, Details("Other"));
        cLayout* main = config.Layouts().At(0);
        QVERIFY(config.isLayoutNameDuplicate(nullptr, "Main"));
        QVERIFY(!config.isLayoutNameDuplicate(main, "Main") && !config.isLayoutNameDuplicate(nullptr, "main"));
        QVERIFY(config.isLayoutUsersDuplicate(nullptr, false, "ann") && !config.isLayoutUsersDuplicate(main, false, "ann"));
        QVERIFY(config.isLayoutUsersDuplicate(main, true, "bob"));
        QVERIFY(config.isLayoutScenesDuplicate(nullptr, false, "Live") && !config.isLayoutScenesDuplicate(nullptr, false, "x"));
        QVERIFY(config.isLayoutDeviceInformationDuplicate(nullptr, true, false, true, 0));
        QVERIFY(!config.isLayoutDeviceInformationDuplicate(nullptr, true, false, true, 1));

        cConfig three(nullptr);
        three.createNewLayout(false, "ann", true, true, true, 0, true, "", false, 4, 3, "Users");
        three.createNewLayout(true, "", false, true, false, 1, true, "", false, 4, 3, "Devices");
        three.createNewLayout(true, "", true, true, true, 0, false, "Live", false, 4, 3, "Scenes");
        QVERIFY(three.isLayoutUsersDuplicate(nullptr, false, "ann"));
        QVERIFY(three.isLayoutDeviceInformationDuplicate(nullptr, false, true, false, 1));
        QVERIFY(three.isLayoutScenesDuplicate(nullptr, false, "Live"));
        QVERIFY(!three.isLayoutDetailsDuplicate(nullptr, false, "ann", false, true, false, 1, false, "Live"));
        cLayout* scenes = three.Layouts().At(LayoutNames(three).indexOf("Scenes"));
        QVERIFY(three.isLayoutDetailsDuplicate(nullptr, true, "", true, true, true, 0, false, "Live"));
        QVERIFY(!three.isLayoutDetailsDuplicate(scenes, true, "", true, true, true, 0, false, "Live"));
    }

    void pasteRenumbersWidgetsAndWaitsForAcceptance()
    {
        cConfig config(nullptr);
        QVERIFY(config.ReadXml(Document("<Layouts><Layout name=\"P\"><Widget id=\"5\" type=\"tab_container\" "
                                        "width=\"0.5\" height=\"0.5\"><Tab tabName=\"A\"><Widget id=\"12\" "
                                        "type=\"text\" width=\"0.1\" height=\"0.1\"/></Tab></Widget></Layout></Layouts>")));
        QVERIFY(!config.isPasteAllowed());
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        QVERIFY(config.isPasteAllowed());
        config.SetNextId(12);
        QSignalSpy dialog(&config, &cConfig::requestDetailsDialog);
        config.pastePressed();
        // A second paste while one waits would lose the first.
        config.pastePressed();
        QCOMPARE(dialog.count(), 1);
        auto* pending = dialog.at(0).at(0).value<cLayout*>();
        QCOMPARE(pending->name(), QString("P copy"));
        QStringList ids;
        auto found = QRegularExpression("<Widget id=\"(\\d+)\"").globalMatch(config.GetLayoutXml(pending));
        while (found.hasNext())
            ids << found.next().captured(1);
        QCOMPARE(ids, QStringList({"12", "13"}));
        QCOMPARE(config.GetNextId(), 14);
        QCOMPARE(config.Layouts().count(), 1);
        config.acceptPendingPaste();
        QCOMPARE(LayoutNames(config), QStringList({"P", "P copy"}));
        QCOMPARE(config.GetSelectedLayout(), pending);
        config.undoPressed();
        QCOMPARE(LayoutNames(config), QStringList{"P"});
    }

    // The clipboard outlives a reset.
    void discardAndCutLeaveTheListAsExpected()
    {
        cConfig config(nullptr);
        config.Reset(true);
        Add(config, Details("B"));
        config.cutPressed();
        QCOMPARE(config.Layouts().count(), 2);
        QVERIFY(!config.isPasteAllowed());
        config.setSelectedLayoutIndex(1);
        config.cutPressed();
        QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
        config.pastePressed();
        config.discardPendingPaste();
        QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
        QVERIFY(config.isPasteAllowed());
        config.undoPressed();
        QCOMPARE(LayoutNames(config), QStringList({"Layout 1", "B"}));
        config.Reset(true);
        QVERIFY(config.isPasteAllowed());
    }

    void selectedIndexFollowsTheFlaggedLayout()
    {
        cConfig config(nullptr);
        Add(config, Details("A"));
        Add(config, Details("B"));
        cLayout* a = config.Layouts().At(0);
        cLayout* b = config.Layouts().At(1);
        const auto selected = [&] { return config.Layouts().Items().value(config.selectedLayoutIndex()); };
        config.setSelectedLayoutIndex(1);
        config.deletePressed();
        QCOMPARE(config.selectedLayoutIndex(), -1);
        config.undoPressed();
        QCOMPARE(selected(), b);
        config.redoPressed();
        QCOMPARE(config.selectedLayoutIndex(), -1);
        config.undoPressed();

        config.setSelectedLayoutIndex(0);
        config.deletePressed();
        QCOMPARE(config.selectedLayoutIndex(), -1);
        QCOMPARE(config.GetSelectedLayout(), nullptr);
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        QVERIFY(config.isPasteAllowed());
        // Back by undo while another is selected: the present choice stays the only one.
        config.undoPressed();
        QCOMPARE(selected(), b);
        QVERIFY(!a->selected());

        Add(config, Details("Z", 2));
        QCOMPARE(LayoutNames(config), QStringList({"Z", "B", "A"}));
        QCOMPARE(selected(), b);
        b->setLayoutDetails(true, "", true, true, true, 3, true, "", false, 4, 3, false, "B");
        QCOMPARE(selected(), b);
        config.undoPressed();
        QCOMPARE(LayoutNames(config), QStringList({"Z", "A", "B"}));
        QCOMPARE(selected(), b);
        config.undoPressed();
        QCOMPARE(config.selectedLayoutIndex(), 1);
        QCOMPARE(selected(), b);
    }

    // Layouts out of order; widgets of every kind, nested ones, and one of a type this program does
    // not know, with content it does not interpret.
    void roundTripKeepsLayoutsWidgetsAndResourceBytes()
    {
        cConfig config(nullptr);
        for (const char* file : {"folder.png", "stripe.JPEG", "folder.svg"})
            config.addNewImage(ImageUrl(file));
        QByteArray source;
        QVERIFY(config.WriteXml(source));
        const int start = source.indexOf("<Layouts");
        source.replace(start, source.indexOf("</Layouts>") + 10 - start,
            "<Layouts><Layout name=\"Wide &amp; &lt;all&gt;\" users=\"\" orientation=\"0\">"
            "<Widget id=\"3\" type=\"image\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" z=\"0.5\" resourceId=\"1\"/>"
            "<Widget id=\"4\" type=\"tab_container\" x=\"0\" y=\"0\" width=\"0.5\" height=\"0.5\" z=\"1\" numTabs=\"2\">"
            "<Tab tabName=\"One\"><Widget id=\"8\" type=\"image\" width=\"0.2\" height=\"0.2\" resourceId=\"2\"/></Tab>"
            "<Tab tabName=\"Two\"><Widget id=\"9\" type=\"text\" width=\"0.2\" height=\"0.2\"/></Tab></Widget>"
            "<Widget id=\"6\" type=\"zrnet_future\" x=\"0.1\" y=\"0.1\" width=\"0.1\" height=\"0.1\" gain=\"-3\">"
            "<Channel number=\"2\"><Name>Vox</Name></Channel></Widget></Layout>"
            "<Layout name=\"Tall\" orientation=\"1\" allUsers=\"0\" users=\"ann\" fixedAspectRatio=\"1\">"
            "<Widget id=\"11\" type=\"rect\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"/></Layout></Layouts>");
        cConfig read(nullptr), again(nullptr);
        QByteArray written, rewritten;
        QVERIFY(read.ReadXml(source) && read.WriteXml(written) && again.ReadXml(written) && again.WriteXml(rewritten));
        QCOMPARE(rewritten, written);
        QVERIFY(written.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KelvariConfig version=\"1.0.0\">\n"
                                   "    <UIOptions/>\n    <Units/>\n    <Layouts>\n"));
        QCOMPARE(LayoutNames(again), QStringList({"Tall", "Wide & <all>"}));
        QVERIFY(!again.configVersionIsNewer() && !again.dirty() && !again.hasUndo());
        QVERIFY(written.contains("gain=\"-3\"") && written.contains("<Name>Vox</Name>"));
        QCOMPARE(again.GetNextId(), 12);
        QCOMPARE(ResourceNames(again), QStringList({"folder.png", "folder.svg", "stripe.JPEG"}));
        for (const cResource* resource : again.Resources().Items())
            QCOMPARE(qobject_cast<const cImageResource*>(resource)->Data(), FileBytes(ImagePath(resource->Name())));
        QCOMPARE(again.FindImageResource("1")->Image().size(), QSize(493, 58));
        QCOMPARE(again.FindImageResource("2")->LayoutNames(), QString("Wide & <all>\n"));
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
        QTest::newRow("not XML") << FileBytes(ImagePath("folder.png")) << invalid << "Error reading start element";
        QTest::newRow("version second") << Document("", "name=\"x\" version=\"1.0.0\"") << invalid
                                        << "Error reading version";
        QTest::newRow("two numbers") << Document("<Layouts><Layout name=\"A\"/></Layouts>", "version=\"1.0\"")
                                     << "Config data file contains an invalid version" << "Invalid config version";
        QTest::newRow("UIOptions twice") << Document("<UIOptions/><Layouts><Layout name=\"A\"/></Layouts><UIOptions/>")
                                         << invalid << "Duplicate UI Options";
        QTest::newRow("truncated") << whole.left(whole.size() - 20) << invalid << "Error in config data";
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
        QVERIFY(config.ReadXml(Document("<Future><Layouts><Layout name=\"hidden\"/></Layouts></Future>"
                                        "<Layouts><Layout name=\"A\"/><Group name=\"G\"/></Layouts><Resources/>",
                                        "version=\"2.0.0\" flavour=\"x\"")));
        QVERIFY(config.configVersionIsNewer());
        QCOMPARE(config.version(), QString("2.0.0"));
        QCOMPARE(LayoutNames(config), QStringList{"A"});
        QByteArray written;
        QVERIFY(config.WriteXml(written));
        QVERIFY(written.contains("version=\"1.0.0\"") && !written.contains("Future") && !written.contains("Group"));
    }

    void resourcesKeepIdsAndBadPicturesAreLeftOut()
    {
        const QByteArray png = FileBytes(ImagePath("folder.png")).toBase64();
        QByteArray resources;
        for (const auto& [id, data] : {std::make_pair("9", png), std::make_pair("3", png),
                                       std::make_pair("4", QByteArray("bm90IGFuIGltYWdl")),
                                       std::make_pair("5", PngDeclaringSize(60000, 60000).toBase64())})
            resources += "<Resource id=\"" + QByteArray(id) + "\" type=\"image\" name=\"" + id +
                         ".png\" subtype=\"png\">" + data + "</Resource>";
        cConfig config(nullptr);
        cTraceCapture capture;
        QVERIFY(config.ReadXml(Document("<Resources>" + resources + "</Resources>")));
        QCOMPARE(capture.LinesContaining("Error loading image data from xml").count(), 2);
        QCOMPARE(ResourceNames(config), QStringList({"3.png", "9.png"}));
        QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("10"));
    }

    // 60 pictures of distinct colours, 180 image widgets on 3 layouts taking them out of order; after
    // the load each resource's news still reaches exactly the widgets showing it, also after an id change.
    void imageWidgetsOfManyResourcesShowTheirOwnAfterLoad()
    {
        constexpr int pictures = 60;
        const auto pictureOf = [](int widgetId) { return 1 + widgetId * 7 % pictures; };
        QByteArray body = "<Layouts>";
        for (int id = 0; id < 180; ++id)
            body += (id % 60 ? QByteArray() : "<Layout name=\"L" + QByteArray::number(id) + "\">") + "<Widget id=\"" +
                    QByteArray::number(id) + "\" type=\"image\" width=\"0.1\" height=\"0.1\" resourceId=\"" +
                    QByteArray::number(pictureOf(id)) + "\"/>" + (id % 60 == 59 ? "</Layout>" : "");
        body += "</Layouts><Resources>";
        for (int p = 1; p <= pictures; ++p)
        {
            QImage image(2, 2, QImage::Format_RGB32);
            image.fill(QColor(p, 255 - p, 128));
            body += "<Resource id=\"" + QByteArray::number(p) + "\" type=\"image\" name=\"p" + QByteArray::number(p) +
                    "\" subtype=\"png\">" + Png(image).toBase64() + "</Resource>";
        }
        cConfig config(nullptr);
        QVERIFY(config.ReadXml(Document(body + "</Resources>")));
        QList<cImageWidget*> widgets;
        for (const cLayout* layout : config.Layouts().Items())
            for (cWidget* widget : layout->GetWidgets()->Items())
                widgets << qobject_cast<cImageWidget*>(widget);
        QCOMPARE(widgets.size(), 180);
        for (cImageWidget* widget : qAsConst(widgets))
        {
            const int id = pictureOf(widget->GetId());
            QCOMPARE(widget->GetImageProperty()->stringValue(), QString::number(id));
            QCOMPARE(config.GetImage(QString::number(id)).pixelColor(0, 0), QColor(id, 255 - id, 128));
        }
        widgets.first()->GetImageProperty()->setStringValue("5");
        QList<QSharedPointer<QSignalSpy>> spies;
        for (cImageWidget* widget : qAsConst(widgets))
            spies << QSharedPointer<QSignalSpy>::create(widget, &cImageWidget::imageChanged);
        emit config.ResourceChanged("5");
        for (int w = 0; w < widgets.size(); ++w)
            QCOMPARE(spies.at(w)->count(), widgets.at(w)->GetImageProperty()->stringValue() == "5" ? 1 : 0);
        QCOMPARE(spies.first()->count(), 1);
    }

    void writeFailuresAreReported()
    {
        cConfig config(nullptr);
        config.addNewImage(ImageUrl("stripe.JPEG"));
        QFile full("/dev/full");
        QVERIFY(full.open(QIODevice::WriteOnly));
        QVERIFY(!config.WriteXml(full));
        QCOMPARE(config.LoadFailureText(), QString("Error writing file /dev/full"));
        const QString missing = mDir.filePath("no/such/folder.xml");
        QVERIFY(!config.SaveXml(missing));
        QCOMPARE(config.LoadFailureText(), "Error opening file " + missing + " for writing");
    }

    void charactersXmlCannotHoldAreRemovedWhereTextIsSet_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::newRow("U+0001") << QString(QChar(0x1));
        QTest::newRow("vertical tab") << QString("\v");
        QTest::newRow("form feed") << QString("\f");
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
        auto* tabs = qobject_cast<cWidget*>(layout->createAndAddWidget("tab_container", nullptr, -1, 0, 0, 0.5f, 0.5f));
        tabs->GetProperty("Tab 2")->setStringValue(bad);
        QCOMPARE(layout->name(), QString("P1"));
        QCOMPARE(label->GetProperty("Text")->stringValue(), QString("a\tb\n😀"));
        QCOMPARE(capture.LinesContaining("ERROR: Removed 1 character(s) a config file cannot hold from").size(), 6);
        QByteArray bytes;
        QVERIFY(config.WriteXml(bytes));
        cConfig read(nullptr);
        QVERIFY(read.ReadXml(bytes));
        QCOMPARE(ResourceNames(read), QStringList{"picture"});
        const cLayout* readLayout = read.Layouts().At(0);
        QCOMPARE(QStringList({readLayout->name(), readLayout->users(), readLayout->scenes()}),
                 QStringList({"P1", "ann", "live"}));
        QCOMPARE(readLayout->GetWidgets()->At(0)->GetProperty("Text")->stringValue(), QString("a\tb\n😀"));
        QCOMPARE(readLayout->GetWidgets()->At(1)->GetProperty("Tab 2")->stringValue(), QString());
    }

    // Nesting far past anything the editor builds, which used to exhaust the stack, and the one widget
    // id after which no id exists, which used to overflow the id counter.
    void hostileWidgetTreesLoadWithinBounds()
    {
        const int levels = 50000;
        QByteArray nested;
        for (int i = 1; i <= levels; ++i)
            nested += "<Widget id=\"" + QByteArray::number(i) + "\" type=\"tab_container\" width=\"1\" height=\"1\"><Tab>";
        for (int i = 0; i < levels; ++i)
            nested += "</Tab></Widget>";
        cConfig config(nullptr);
        cTraceCapture capture;
        QVERIFY(config.ReadXml(Document("<Layouts><Layout name=\"A\">" + nested +
                                        "<Widget id=\"2147483647\" type=\"rect\" width=\"1\" height=\"1\"/>"
                                        "<Widget id=\"60000\" type=\"rect\" width=\"1\" height=\"1\"/>"
                                        "</Layout></Layouts>")));
        const QList<cWidget*> top = config.Layouts().At(0)->GetWidgets()->Items();
        QCOMPARE(top.size(), 2);
        int depth = 0;
        for (auto* container = qobject_cast<cContainer*>(top.first()); container;
             container = qobject_cast<cContainer*>(container->GetWidgetChildren()->Items().value(0)))
            ++depth;
        QCOMPARE(depth, cEditorWidgetFactory::MaximumLoadNesting + 1);
        QCOMPARE(capture.LinesContaining("containers; not loaded").count(), 1);
        QCOMPARE(capture.LinesContaining("Error loading widget id").count(), 1);
        QCOMPARE(config.GetNextId(), 60001);
        QByteArray written;
        QVERIFY(config.WriteXml(written));
    }

    void filesAsOtherProgramsWriteThemImport_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subtype");
        QTest::addColumn<QSize>("size");
        QTest::newRow("png icon") << ImageUrl("folder.png") << "folder.png" << "png" << QSize(64, 64);
        QTest::newRow("JPEG suffix") << ImageUrl("stripe.JPEG") << "stripe.JPEG" << "jpg" << QSize(493, 58);
        QTest::newRow("svg, not decoded") << ImageUrl("folder.svg") << "folder.svg" << "svg" << QSize(0, 0);
        QTest::newRow("exactly the limit") << mImages.write("limit.png", 2048, 1080) << "limit.png" << "png"
                                           << QSize(2048, 1080);
    }
    void filesAsOtherProgramsWriteThemImport()
    {
        QFETCH(QUrl, url);
        cConfig config(nullptr);
        const QString id = config.addNewImage(url);
        QCOMPARE(id, QString("0"));
        QVERIFY(config.imageFailureString().isEmpty());
        QTEST(config.getResourceName(id), "name");
        QTEST(config.FindImageResource(id)->Subtype(), "subtype");
        QTEST(config.FindImageResource(id)->Image().size(), "size");
        QCOMPARE(config.FindImageResource(id)->Data(), FileBytes(url.toLocalFile()));
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
        QTest::newRow("one pixel too wide") << mImages.write("wide.png", 2049, 10)
                                            << "Image wide.png is too wide.\nMax size is 2048x1080";
        QTest::newRow("one pixel too tall") << mImages.write("tall.jpg", 2048, 1081)
                                            << "Image tall.jpg is too tall.\nMax size is 2048x1080";
        const QByteArray bomb = PngDeclaringSize(60000, 60000);
        QTest::newRow("huge header") << file("bomb.png", bomb, bomb.size())
                                     << "Image bomb.png is too wide.\nMax size is 2048x1080";
        QTest::newRow("file past the size limit") << file("big.png", PngDeclaringSize(4, 4), 1LL << 30)
                                                  << "Image big.png is too large.\nMax file size is 32 MB";
        QTest::newRow("huge header, long body") << file("huge.png", PngDeclaringSize(60000, 10), 30 << 20)
                                                << "Image huge.png is too wide.\nMax size is 2048x1080";
        QTest::newRow("not an image") << QUrl::fromLocalFile(TEST_DATA_DIR "/README.md")
                                      << "Invalid image data\nREADME.md";
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

    void batchIsOneUndoStepAndSelectionFollows()
    {
        cConfig config(nullptr);
        config.addNewImage(ImageUrl("stripe.JPEG"));
        config.addNewImage(mImages.write("m.png", 20, 20));
        config.resourceCloseUndoBlock();
        config.setSelectedResourceIndex(1);
        const cResource* selected = config.Resources().At(1);
        QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("2"));
        QCOMPARE(config.addNewImage(mImages.write("a.png", 20, 20)), QString("3"));
        QCOMPARE(config.addNewImage(ImageUrl("folder.svg")), QString("4"));
        config.resourceCloseUndoBlock();
        QCOMPARE(ResourceNames(config), QStringList({"a.png", "folder.png", "folder.svg", "m.png", "stripe.JPEG"}));
        QCOMPARE(config.selectedResourceIndex(), 4);
        QVERIFY(selected->selected());
        config.resourceUndoPressed();
        QCOMPARE(ResourceNames(config), QStringList({"m.png", "stripe.JPEG"}));
        QCOMPARE(config.selectedResourceIndex(), 1);
    }

    void deleteAndChangeAreUndoable()
    {
        cConfig config(nullptr);
        config.addNewImage(ImageUrl("folder.png"));
        config.addNewImage(ImageUrl("stripe.JPEG"));
        config.FindImageResource("0")->nameProperty()->setValue("renamed.png");
        config.resourceCloseUndoBlock();
        config.setSelectedResourceIndex(0);
        config.deleteImage(0);
        config.deleteImage(5);
        QCOMPARE(ResourceNames(config), QStringList{"stripe.JPEG"});
        QCOMPARE(config.selectedResourceIndex(), -1);
        config.resourceUndoPressed();
        QCOMPARE(ResourceNames(config), QStringList({"renamed.png", "stripe.JPEG"}));
        QCOMPARE(config.selectedResourceIndex(), -1);

        QVERIFY(config.changeImage(ImageUrl("folder.svg"), "0"));
        QCOMPARE(config.FindImageResource("0")->Name(), QString("renamed.png"));
        QCOMPARE(config.FindImageResource("0")->Subtype(), QString("svg"));
        QVERIFY(!config.changeImage(ImageUrl("folder.svg"), "77"));
        QCOMPARE(config.imageFailureString(), QString("No image resource has the id 77"));
        QCOMPARE(config.Resources().count(), 2);
        config.resourceUndoPressed();
        QCOMPARE(config.FindImageResource("0")->Subtype(), QString("png"));
        QCOMPARE(config.getResourceName("nowhere"), QString("Unknown"));
    }

    void layoutsUsingAResourceAreListedLastFirstAlsoFromInsideContainers()
    {
        cConfig config(nullptr);
        const QString id = config.addNewImage(ImageUrl("folder.png"));
        for (const char* name : {"P1", "P2"})
            config.createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, name);
        AddImage(config.Layouts().At(0), id);
        cImageWidget* second = AddImage(config.Layouts().At(1), id);
        const cResource* resource = config.FindImageResource(id);
        QCOMPARE(resource->LayoutNames(), QString("P2\nP1\n"));
        config.Layouts().At(0)->SetName("First");
        QCOMPARE(resource->LayoutNames(), QString("P2\nFirst\n"));
        second->GetImageProperty()->setStringValue("_default");
        QCOMPARE(resource->LayoutNames(), QString("First\n"));
        config.deleteLayout(config.Layouts().At(0));
        QCOMPARE(resource->LayoutNames(), QString());

        cLayout* layout = config.Layouts().At(0);
        auto* tabs = qobject_cast<cWidget*>(layout->createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
        cImageWidget* image = AddImage(layout, id, tabs, 1);
        layout->closeUndoBlock();
        QCOMPARE(resource->LayoutNames(), QString("P2\n"));
        layout->DeleteWidget(image);
        layout->closeUndoBlock();
        QCOMPARE(resource->LayoutNames(), QString());
        layout->undoPressed();
        QCOMPARE(resource->LayoutNames(), QString("P2\n"));
        layout->redoPressed();
        QCOMPARE(resource->LayoutNames(), QString());
    }

    // New, then a document that has the same folder picture and another under the stripe's old id.
    void aCopiedLayoutTakesItsPicturesIntoANewDocument()
    {
        cConfig config(nullptr);
        const QString folder = config.addNewImage(ImageUrl("folder.png"));
        const QString stripe = config.addNewImage(ImageUrl("stripe.JPEG"));
        config.createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, "P");
        cLayout* layout = config.Layouts().At(0);
        AddImage(layout, stripe);
        AddImage(layout, folder, qobject_cast<cWidget*>(layout->createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1)), 2);
        config.setSelectedLayoutIndex(0);
        config.copyPressed();
        config.Reset(true);
        QCOMPARE(config.addNewImage(ImageUrl("folder.svg")), QString("0"));
        QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("1"));
        config.resourceCloseUndoBlock();
        config.pastePressed();
        config.acceptPendingPaste();

        QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg", "stripe.JPEG"}));
        const cLayout* pasted = config.GetSelectedLayout();
        const auto imageId = [](const cWidget* widget) {
            return qobject_cast<const cImageWidget*>(widget)->GetImageProperty()->stringValue();
        };
        QCOMPARE(imageId(pasted->GetWidgets()->At(0)), QString("2"));
        QCOMPARE(config.FindImageResource("2")->Data(), FileBytes(ImagePath("stripe.JPEG")));
        QCOMPARE(config.FindImageResource("2")->LayoutNames(), QString("P copy\n"));
        QCOMPARE(imageId(qobject_cast<const cContainer*>(pasted->GetWidgets()->At(1))->GetWidgetChildren()->At(0)),
                 QString("1"));
        QVERIFY(!pasted->hasUndo());
        config.undoPressed();
        QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
        QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg"}));
        QVERIFY(!config.hasUndo());
        config.redoPressed();
        QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg", "stripe.JPEG"}));
        QCOMPARE(config.Layouts().count(), 2);
    }
};

QTEST_MAIN(tst_ConfigDocument)
#include "tst_ConfigDocument.moc"
