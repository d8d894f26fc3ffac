#include "ConfigTestData.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ConfigTestData;

namespace
{
QByteArray Document(const QByteArray& root, const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KelvariConfig " + root + ">" + body + "</KelvariConfig>";
}
}

class tst_cConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsLayoutsWidgetsAndResourceBytes();
    void badDocumentsFailWithTheirReason_data();
    void badDocumentsFailWithTheirReason();
    void newerVersionLoadsWithUnknownSectionsDropped();
    void resourcesKeepIdsAndBadPicturesAreLeftOut();
    void imageWidgetsOfManyResourcesShowTheirOwnAfterLoad();
    void writeFailuresAreReported();
    void charactersXmlCannotHoldAreRemovedWhereTextIsSet_data();
    void charactersXmlCannotHoldAreRemovedWhereTextIsSet();
    void hostileWidgetTreesLoadWithinBounds();
};

void tst_cConfigFile::roundTripKeepsLayoutsWidgetsAndResourceBytes()
{
    cConfig config(nullptr);
    for (const char* file : {"folder.png", "stripe.JPEG", "folder.svg"})
        config.addNewImage(ImageUrl(file));
    // Layouts out of order; widgets of every kind, nested ones, and one of a
    // type this program does not know, with content it does not interpret.
    const QByteArray layouts =
        "<Layouts>"
        "<Layout name=\"Wide &amp; &lt;all&gt;\" users=\"\" orientation=\"0\">"
        "<Widget id=\"3\" type=\"image\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" z=\"0.5\" resourceId=\"1\"/>"
        "<Widget id=\"4\" type=\"tab_container\" x=\"0\" y=\"0\" width=\"0.5\" height=\"0.5\" z=\"1\" numTabs=\"2\">"
        "<Tab tabName=\"One\"><Widget id=\"8\" type=\"image\" width=\"0.2\" height=\"0.2\" resourceId=\"2\"/></Tab>"
        "<Tab tabName=\"Two\"><Widget id=\"9\" type=\"text\" width=\"0.2\" height=\"0.2\"/></Tab></Widget>"
        "<Widget id=\"6\" type=\"zrnet_future\" x=\"0.1\" y=\"0.1\" width=\"0.1\" height=\"0.1\" gain=\"-3\">"
        "<Channel number=\"2\"><Name>Vox</Name></Channel></Widget>"
        "</Layout>"
        "<Layout name=\"Tall\" orientation=\"1\" allUsers=\"0\" users=\"ann\" fixedAspectRatio=\"1\">"
        "<Widget id=\"11\" type=\"rect\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"/></Layout>"
        "</Layouts>";
    QByteArray source;
    QVERIFY(config.WriteXml(source));
    const int start = source.indexOf("<Layouts");
    source.replace(start, source.indexOf("</Layouts>") + 10 - start, layouts);

    cConfig read(nullptr);
    QVERIFY(read.ReadXml(source));
    QByteArray written;
    QVERIFY(read.WriteXml(written));
    cConfig again(nullptr);
    QVERIFY(again.ReadXml(written));
    QByteArray rewritten;
    QVERIFY(again.WriteXml(rewritten));

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

void tst_cConfigFile::badDocumentsFailWithTheirReason_data()
{
    const QString invalid = "Invalid config data file";
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("trace");
    QTest::newRow("nothing") << QByteArray() << invalid << "Error reading start element - found ";
    QTest::newRow("not XML") << FileBytes(ImagePath("folder.png")) << invalid << "Error reading start element";
    QTest::newRow("version second") << Document("name=\"x\" version=\"1.0.0\"", "") << invalid
                                    << "Error reading version";
    QTest::newRow("two numbers") << Document("version=\"1.0\"", "<Layouts><Layout name=\"A\"/></Layouts>")
                                 << "Config data file contains an invalid version" << "Invalid config version";
    QTest::newRow("UIOptions twice")
        << Document("version=\"1.0.0\"", "<UIOptions/><Layouts><Layout name=\"A\"/></Layouts><UIOptions/>")
        << invalid << "Duplicate UI Options";
    const QByteArray whole = Document("version=\"1.0.0\"", "<Layouts><Layout name=\"A\"><Widget id=\"1\" "
                                                           "type=\"rect\" width=\"1\" height=\"1\"/></Layout>"
                                                           "</Layouts><Resources/>");
    QTest::newRow("truncated") << whole.left(whole.size() - 20) << invalid << "Error in config data";
    QTest::newRow("content after the root") << whole + "<KelvariConfig/>" << invalid << "Error in config data";
}

void tst_cConfigFile::badDocumentsFailWithTheirReason()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QFETCH(QString, trace);
    cConfig config(nullptr);
    config.Reset(true);
    config.addNewImage(ImageUrl("folder.png"));
    cTraceCapture capture;
    QVERIFY(!config.ReadXml(bytes));
    QCOMPARE(config.LoadFailureText(), reason);
    QVERIFY2(!capture.LinesContaining(trace).isEmpty(), qPrintable(capture.Lines().join('\n')));
    QCOMPARE(config.Layouts().count(), 0);
    QCOMPARE(config.Resources().count(), 0);
}

void tst_cConfigFile::newerVersionLoadsWithUnknownSectionsDropped()
{
    cConfig config(nullptr);
    QVERIFY(config.ReadXml(Document("version=\"2.0.0\" flavour=\"x\"",
                                    "<Future><Layouts><Layout name=\"hidden\"/></Layouts></Future>"
                                    "<Layouts><Layout name=\"A\"/><Group name=\"G\"/></Layouts><Resources/>")));
    QVERIFY(config.configVersionIsNewer());
    QCOMPARE(config.version(), QString("2.0.0"));
    QCOMPARE(LayoutNames(config), QStringList{"A"});
    QByteArray written;
    QVERIFY(config.WriteXml(written));
    QVERIFY(written.contains("version=\"1.0.0\""));
    QVERIFY(!written.contains("Future") && !written.contains("Group"));
}

void tst_cConfigFile::resourcesKeepIdsAndBadPicturesAreLeftOut()
{
    const QByteArray png = FileBytes(ImagePath("folder.png")).toBase64();
    const auto resource = [](const char* id, const QByteArray& data) {
        return "<Resource id=\"" + QByteArray(id) + "\" type=\"image\" name=\"" + id + ".png\" subtype=\"png\">" +
               data + "</Resource>";
    };
    cConfig config(nullptr);
    cTraceCapture capture;
    QVERIFY(config.ReadXml(Document(
        "version=\"1.0.0\"", "<Resources>" + resource("9", png) + resource("3", png) +
                                 resource("4", "bm90IGFuIGltYWdl") +
                                 resource("5", PngDeclaringSize(60000, 60000).toBase64()) + "</Resources>")));
    QCOMPARE(capture.LinesContaining("Error loading image data from xml").count(), 2);
    QCOMPARE(ResourceNames(config), QStringList({"3.png", "9.png"}));
    QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("10"));
}

void tst_cConfigFile::imageWidgetsOfManyResourcesShowTheirOwnAfterLoad()
{
    // 60 pictures of distinct colours, 180 image widgets on 3 layouts taking them out of order.
    constexpr int pictures = 60;
    QByteArray layouts;
    QByteArray resources;
    for (int layout = 0; layout < 3; ++layout)
    {
        layouts += "<Layout name=\"L" + QByteArray::number(layout) + "\">";
        for (int w = 0; w < 60; ++w)
        {
            const int id = 60 * layout + w;
            layouts += "<Widget id=\"" + QByteArray::number(id) + "\" type=\"image\" x=\"0\" y=\"0\" width=\"0.1\" " +
                       "height=\"0.1\" resourceId=\"" + QByteArray::number(1 + id * 7 % pictures) + "\"/>";
        }
        layouts += "</Layout>";
    }
    for (int p = 1; p <= pictures; ++p)
    {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(QColor(p, 255 - p, 128));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        resources += "<Resource id=\"" + QByteArray::number(p) + "\" type=\"image\" name=\"p" + QByteArray::number(p) +
                     "\" subtype=\"png\">" + png.toBase64() + "</Resource>";
    }
    cConfig config(nullptr);
    QVERIFY(config.ReadXml(Document("version=\"1.0.0\"", "<Layouts>" + layouts + "</Layouts><Resources>" + resources +
                                                             "</Resources>")));
    QList<cImageWidget*> widgets;
    for (const cLayout* layout : config.Layouts().Items())
    {
        for (cWidget* widget : layout->GetWidgets()->Items())
            widgets << qobject_cast<cImageWidget*>(widget);
    }
    QCOMPARE(widgets.size(), 180);
    for (cImageWidget* widget : qAsConst(widgets))
    {
        const int id = 1 + widget->GetId() * 7 % pictures;
        QCOMPARE(widget->GetImageProperty()->stringValue(), QString::number(id));
        const QImage shown = config.GetImage(widget->GetImageProperty()->stringValue());
        QCOMPARE(shown.pixelColor(0, 0), QColor(id, 255 - id, 128));
    }

    // After the load each resource's news still reaches exactly the widgets showing it, also after an id change.
    widgets.first()->GetImageProperty()->setStringValue("5");
    QList<QSharedPointer<QSignalSpy>> spies;
    for (cImageWidget* widget : qAsConst(widgets))
        spies << QSharedPointer<QSignalSpy>::create(widget, &cImageWidget::imageChanged);
    emit config.ResourceChanged("5");
    for (int w = 0; w < widgets.size(); ++w)
        QCOMPARE(spies.at(w)->count(), widgets.at(w)->GetImageProperty()->stringValue() == "5" ? 1 : 0);
    QCOMPARE(spies.first()->count(), 1);
}

void tst_cConfigFile::writeFailuresAreReported()
{
    cConfig config(nullptr);
    config.addNewImage(ImageUrl("stripe.JPEG"));
    QFile full("/dev/full");
    QVERIFY(full.open(QIODevice::WriteOnly));
    QVERIFY(!config.WriteXml(full));
    QCOMPARE(config.LoadFailureText(), QString("Error writing file /dev/full"));

    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/folder.xml");
    QVERIFY(!config.SaveXml(missing));
    QCOMPARE(config.LoadFailureText(), "Error opening file " + missing + " for writing");
}

void tst_cConfigFile::charactersXmlCannotHoldAreRemovedWhereTextIsSet_data()
{
    QTest::addColumn<QString>("bad");
    QTest::newRow("U+0001") << QString(QChar(0x1));
    QTest::newRow("vertical tab") << QString("\v");
    QTest::newRow("form feed") << QString("\f");
    QTest::newRow("U+FFFE") << QString(QChar(0xFFFE));
    QTest::newRow("lone surrogate") << QString(QChar(0xD800));
}

// What the user sees is what is saved, and saving works.
void tst_cConfigFile::charactersXmlCannotHoldAreRemovedWhereTextIsSet()
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
    QCOMPARE(readLayout->name(), QString("P1"));
    QCOMPARE(readLayout->users(), QString("ann"));
    QCOMPARE(readLayout->scenes(), QString("live"));
    QCOMPARE(readLayout->GetWidgets()->At(0)->GetProperty("Text")->stringValue(), QString("a\tb\n😀"));
    QCOMPARE(readLayout->GetWidgets()->At(1)->GetProperty("Tab 2")->stringValue(), QString());
}

void tst_cConfigFile::hostileWidgetTreesLoadWithinBounds()
{
    // Nesting far past anything the editor builds, which used to exhaust the stack, and the one widget
    // id after which no id exists, which used to overflow the id counter.
    const int levels = 50000;
    QByteArray nested;
    for (int i = 1; i <= levels; ++i)
        nested += "<Widget id=\"" + QByteArray::number(i) +
                  "\" type=\"tab_container\" width=\"1\" height=\"1\"><Tab>";
    for (int i = 0; i < levels; ++i)
        nested += "</Tab></Widget>";
    cConfig config(nullptr);
    cTraceCapture capture;
    QVERIFY(config.ReadXml(Document("version=\"1.0.0\"",
                                    "<Layouts><Layout name=\"A\">" + nested +
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

QTEST_MAIN(tst_cConfigFile)
#include "tst_cConfigFile.moc"
