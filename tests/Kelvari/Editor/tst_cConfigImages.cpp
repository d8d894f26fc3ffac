#include "ConfigTestData.h"

#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace ConfigTestData;

namespace
{
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
}

class tst_cConfigImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filesAsOtherProgramsWriteThemImport_data();
    void filesAsOtherProgramsWriteThemImport();
    void refusedFilesSayWhyAndChangeNothing_data();
    void refusedFilesSayWhyAndChangeNothing();
    void batchIsOneUndoStepAndSelectionFollows();
    void deleteAndChangeAreUndoable();
    void layoutsUsingAResourceAreListedLastFirst();
    void layoutNamesFollowWidgetsInsideContainers();
    void aCopiedLayoutTakesItsPicturesIntoANewDocument();

private:
    // A picture written by ImageMagick into the temporary folder.
    QUrl Convert(const QString& size, const QString& name);

    QTemporaryDir mDir;
};

void tst_cConfigImages::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY2(!QStandardPaths::findExecutable("convert").isEmpty(), "ImageMagick is needed");
}

QUrl tst_cConfigImages::Convert(const QString& size, const QString& name)
{
    const QString path = mDir.filePath(name);
    QProcess::execute("convert", QStringList{"-size", size, "gradient:red-blue", path});
    return QUrl::fromLocalFile(path);
}

void tst_cConfigImages::filesAsOtherProgramsWriteThemImport_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subtype");
    QTest::addColumn<QSize>("size");
    QTest::newRow("png icon") << ImageUrl("folder.png") << "folder.png" << "png" << QSize(64, 64);
    QTest::newRow("JPEG suffix") << ImageUrl("stripe.JPEG") << "stripe.JPEG" << "jpg" << QSize(493, 58);
    QTest::newRow("svg, not decoded") << ImageUrl("folder.svg") << "folder.svg" << "svg" << QSize(0, 0);
    QTest::newRow("exactly the limit") << Convert("2048x1080", "limit.png") << "limit.png" << "png"
                                       << QSize(2048, 1080);
}

void tst_cConfigImages::filesAsOtherProgramsWriteThemImport()
{
    QFETCH(QUrl, url);
    QFETCH(QString, name);
    QFETCH(QString, subtype);
    QFETCH(QSize, size);
    cConfig config(nullptr);
    const QString id = config.addNewImage(url);
    QCOMPARE(id, QString("0"));
    QVERIFY(config.imageFailureString().isEmpty());
    const cImageResource* image = config.FindImageResource(id);
    QCOMPARE(config.getResourceName(id), name);
    QCOMPARE(image->Subtype(), subtype);
    QCOMPARE(image->Image().size(), size);
    QCOMPARE(image->Data(), FileBytes(url.toLocalFile()));
}

void tst_cConfigImages::refusedFilesSayWhyAndChangeNothing_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<QString>("failure");
    QTest::newRow("one pixel too wide") << Convert("2049x10", "wide.png")
                                        << "Image wide.png is too wide.\nMax size is 2048x1080";
    QTest::newRow("one pixel too tall") << Convert("2048x1081", "tall.jpg")
                                        << "Image tall.jpg is too tall.\nMax size is 2048x1080";
    QFile bomb(mDir.filePath("bomb.png"));
    bomb.open(QIODevice::WriteOnly);
    bomb.write(PngDeclaringSize(60000, 60000));
    bomb.close();
    QTest::newRow("huge header") << QUrl::fromLocalFile(bomb.fileName())
                                 << "Image bomb.png is too wide.\nMax size is 2048x1080";
    // Sparse files: a small picture, or a header declaring a huge one, in front of a long body.
    const auto sparse = [this](const QString& name, const QByteArray& head, qint64 size) {
        QFile file(mDir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(head);
        file.resize(size);
        return QUrl::fromLocalFile(file.fileName());
    };
    QTest::newRow("file past the size limit") << sparse("big.png", PngDeclaringSize(4, 4), 1LL << 30)
                                              << "Image big.png is too large.\nMax file size is 32 MB";
    QTest::newRow("huge header, long body") << sparse("huge.png", PngDeclaringSize(60000, 10), 30 << 20)
                                            << "Image huge.png is too wide.\nMax size is 2048x1080";
    QTest::newRow("not an image") << QUrl::fromLocalFile(TEST_DATA_DIR "/README.md")
                                  << "Invalid image data\nREADME.md";
    QTest::newRow("missing file") << QUrl::fromLocalFile("/nonexistent/my #1 picture.png")
                                  << "Could not open file my #1 picture.png";
}

void tst_cConfigImages::refusedFilesSayWhyAndChangeNothing()
{
    QFETCH(QUrl, url);
    QFETCH(QString, failure);
    cConfig config(nullptr);
    const QString kept = config.addNewImage(ImageUrl("folder.png"));
    config.resourceCloseUndoBlock();
    QElapsedTimer timer;
    timer.start();
    const qint64 readBefore = BytesRead();
    QCOMPARE(config.addNewImage(url), QString());
    QCOMPARE(config.imageFailureString(), failure);
    QVERIFY(!config.changeImage(url, kept));
    QCOMPARE(config.imageFailureString(), failure);

    // Nothing is read or decoded past the limits.
    QVERIFY(timer.elapsed() < 1000);
    QVERIFY2(BytesRead() - readBefore < (1 << 20), qPrintable(QString::number(BytesRead() - readBefore)));
    QCOMPARE(config.FindImageResource(kept)->Subtype(), QString("png"));
    config.resourceUndoPressed();
    QCOMPARE(config.Resources().count(), 0);
    QVERIFY(!config.hasResourceUndo());
}

void tst_cConfigImages::batchIsOneUndoStepAndSelectionFollows()
{
    cConfig config(nullptr);
    config.addNewImage(ImageUrl("stripe.JPEG"));
    config.addNewImage(Convert("20x20", "m.png"));
    config.resourceCloseUndoBlock();
    config.setSelectedResourceIndex(1);
    const cResource* selected = config.Resources().At(1);

    QCOMPARE(config.addNewImage(ImageUrl("folder.png")), QString("2"));
    QCOMPARE(config.addNewImage(Convert("20x20", "a.png")), QString("3"));
    QCOMPARE(config.addNewImage(ImageUrl("folder.svg")), QString("4"));
    config.resourceCloseUndoBlock();

    QCOMPARE(ResourceNames(config), QStringList({"a.png", "folder.png", "folder.svg", "m.png", "stripe.JPEG"}));
    QCOMPARE(config.selectedResourceIndex(), 4);
    QVERIFY(selected->selected());
    config.resourceUndoPressed();
    QCOMPARE(ResourceNames(config), QStringList({"m.png", "stripe.JPEG"}));
    QCOMPARE(config.selectedResourceIndex(), 1);
}

void tst_cConfigImages::deleteAndChangeAreUndoable()
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
    const cImageResource* changed = config.FindImageResource("0");
    QCOMPARE(changed->Name(), QString("renamed.png"));
    QCOMPARE(changed->Subtype(), QString("svg"));
    QVERIFY(!config.changeImage(ImageUrl("folder.svg"), "77"));
    QCOMPARE(config.imageFailureString(), QString("No image resource has the id 77"));
    QCOMPARE(config.Resources().count(), 2);
    config.resourceUndoPressed();
    QCOMPARE(config.FindImageResource("0")->Subtype(), QString("png"));
    QCOMPARE(config.getResourceName("nowhere"), QString("Unknown"));
}

void tst_cConfigImages::layoutsUsingAResourceAreListedLastFirst()
{
    cConfig config(nullptr);
    const QString id = config.addNewImage(ImageUrl("folder.png"));
    QList<cImageWidget*> widgets;
    for (const char* name : {"P1", "P2"})
    {
        config.createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, name);
        QObject* widget = config.Layouts().At(widgets.size())->createAndAddWidget("image", nullptr, -1, 0, 0, 1, 1);
        widgets << qobject_cast<cImageWidget*>(widget);
        widgets.last()->GetImageProperty()->setStringValue(id);
    }
    const cResource* resource = config.FindImageResource(id);
    QCOMPARE(resource->LayoutNames(), QString("P2\nP1\n"));

    config.Layouts().At(0)->SetName("First");
    QCOMPARE(resource->LayoutNames(), QString("P2\nFirst\n"));
    widgets.at(1)->GetImageProperty()->setStringValue("_default");
    QCOMPARE(resource->LayoutNames(), QString("First\n"));
    config.deleteLayout(config.Layouts().At(0));
    QCOMPARE(resource->LayoutNames(), QString());
}

void tst_cConfigImages::layoutNamesFollowWidgetsInsideContainers()
{
    cConfig config(nullptr);
    const QString id = config.addNewImage(ImageUrl("folder.png"));
    config.createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, "P");
    cLayout* layout = config.Layouts().At(0);
    auto* tabs = qobject_cast<cWidget*>(layout->createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    auto* image = qobject_cast<cImageWidget*>(layout->createAndAddWidget("image", tabs, 1, 0, 0, 1, 1));
    image->GetImageProperty()->setStringValue(id);
    layout->closeUndoBlock();
    const cResource* resource = config.FindImageResource(id);
    QCOMPARE(resource->LayoutNames(), QString("P\n"));

    layout->DeleteWidget(image);
    layout->closeUndoBlock();
    QCOMPARE(resource->LayoutNames(), QString());
    layout->undoPressed();
    QCOMPARE(resource->LayoutNames(), QString("P\n"));
    layout->redoPressed();
    QCOMPARE(resource->LayoutNames(), QString());
}

void tst_cConfigImages::aCopiedLayoutTakesItsPicturesIntoANewDocument()
{
    cConfig config(nullptr);
    const QString folder = config.addNewImage(ImageUrl("folder.png"));
    const QString stripe = config.addNewImage(ImageUrl("stripe.JPEG"));
    config.createNewLayout(true, "", true, true, true, 0, true, "", false, 4, 3, "P");
    cLayout* layout = config.Layouts().At(0);
    auto* top = qobject_cast<cImageWidget*>(layout->createAndAddWidget("image", nullptr, -1, 0, 0, 1, 1));
    auto* tabs = qobject_cast<cContainer*>(layout->createAndAddWidget("tab_container", nullptr, -1, 0, 0, 1, 1));
    auto* nested = qobject_cast<cImageWidget*>(layout->createAndAddWidget("image", tabs, 2, 0, 0, 1, 1));
    top->GetImageProperty()->setStringValue(stripe);
    nested->GetImageProperty()->setStringValue(folder);
    config.setSelectedLayoutIndex(0);
    config.copyPressed();

    // New, then a document that has the same folder picture and another under the stripe's old id.
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
    const auto* pastedTabs = qobject_cast<const cContainer*>(pasted->GetWidgets()->At(1));
    QCOMPARE(imageId(pastedTabs->GetWidgetChildren()->At(0)), QString("1"));
    QVERIFY(!pasted->hasUndo());

    config.undoPressed();
    QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
    QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg"}));
    QVERIFY(!config.hasUndo());
    config.redoPressed();
    QCOMPARE(ResourceNames(config), QStringList({"folder.png", "folder.svg", "stripe.JPEG"}));
    QCOMPARE(config.Layouts().count(), 2);
}

QTEST_MAIN(tst_cConfigImages)
#include "tst_cConfigImages.moc"
