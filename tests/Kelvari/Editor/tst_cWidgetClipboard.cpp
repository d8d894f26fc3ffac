#include "cFakeLayoutConfig.h"
#include "support/cHeadlessLayoutView.h"

#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cWidgetCopyBuffer.h"

#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace
{
QPointF Position(const cWidget* widget)
{
    return QPointF(widget->xFraction(), widget->yFraction());
}

bool Near(const QPointF& a, const QPointF& b)
{
    return qAbs(a.x() - b.x()) < 1e-5 && qAbs(a.y() - b.y()) < 1e-5;
}

// Every id on the page, kept XML included.
void CollectIds(const QList<cWidget*>& widgets, QList<int>& ids)
{
    for (const cWidget* widget : widgets)
    {
        ids << widget->GetId();
        if (const auto* container = qobject_cast<const cContainer*>(widget))
            CollectIds(container->GetWidgetChildren()->Items(), ids);
    }
}
}

class tst_cWidgetClipboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void repeatedPastesCascadeAndWrap_data();
    void repeatedPastesCascadeAndWrap();
    void pastesGoIntoTheSourceContainerOnlyWhereItExists();
    void containersTravelWithTheirChildrenUnderFreshIds();
    void pasteAndCutAreStepsOfTheirOwn();
    void newIdsPassIdsKeptInUnknownWidgets();

private:
    QList<cWidget*> Selected(cLayout& layout) { return layout.selectionManager()->GetSelectedWidgets(); }

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mSource, mTarget;
    std::unique_ptr<cHeadlessLayoutView> mSourceView, mTargetView;
};

void tst_cWidgetClipboard::init()
{
    mConfig = std::make_unique<cFakeLayoutConfig>();
    mSource = std::make_unique<cLayout>(*mConfig);
    mTarget = std::make_unique<cLayout>(*mConfig);
    mSourceView = std::make_unique<cHeadlessLayoutView>(*mSource);
    mTargetView = std::make_unique<cHeadlessLayoutView>(*mTarget);
}

void tst_cWidgetClipboard::cleanup()
{
    mSourceView.reset();
    mTargetView.reset();
    mSource.reset();
    mTarget.reset();
}

void tst_cWidgetClipboard::repeatedPastesCascadeAndWrap_data()
{
    QTest::addColumn<QRectF>("copied");
    QTest::addColumn<bool>("sameLayout");
    QTest::addColumn<QList<QPointF>>("pasted");
    const QRectF middle(0.2, 0.2, 0.1, 0.1);
    QTest::newRow("same layout") << middle << true << QList<QPointF>{{0.21, 0.21}, {0.22, 0.22}};
    QTest::newRow("other layout") << middle << false << QList<QPointF>{{0.2, 0.2}, {0.21, 0.21}};
    QTest::newRow("past the right edge")
        << QRectF(0.985, 0.2, 0.01, 0.1) << true << QList<QPointF>{{0, 0.21}, {0.01, 0.22}};
}

void tst_cWidgetClipboard::repeatedPastesCascadeAndWrap()
{
    QFETCH(QRectF, copied);
    QFETCH(bool, sameLayout);
    QFETCH(QList<QPointF>, pasted);
    mSource->selectionManager()->setSelection(mSourceView->Add("rect", copied));
    QSignalSpy allowed(mTarget.get(), &cLayout::isPasteAllowedChanged);
    mSource->copyPressed();
    QVERIFY(mSource->isPasteAllowed() && mTarget->isPasteAllowed());
    QCOMPARE(allowed.count(), 1);

    cLayout& target = sameLayout ? *mSource : *mTarget;
    for (const QPointF& expected : pasted)
    {
        target.pastePressed();
        QCOMPARE(Selected(target).size(), 1);
        QVERIFY2(Near(Position(Selected(target).first()), expected), qPrintable(QString::number(expected.x())));
        for (const cWidget* other : target.GetWidgets()->Items())
            QVERIFY(other->z() <= Selected(target).first()->z());
    }
}

void tst_cWidgetClipboard::pastesGoIntoTheSourceContainerOnlyWhereItExists()
{
    auto* tabs = qobject_cast<cTabContainer*>(mSourceView->Add("tab_container", QRectF(0.5, 0.5, 0.5, 0.5)));
    cWidget* child = mSourceView->Add("rect", QRectF(0.2, 0.2, 0.2, 0.2), tabs, 1);
    mSource->selectionManager()->setSelection(child);
    mSource->copyPressed();

    // The tab shown takes it.
    tabs->setCurrentTabIndex(2);
    mSource->pastePressed();
    cWidget* inTab = Selected(*mSource).first();
    QCOMPARE(mSource->FindContainer(inTab), tabs);
    QCOMPARE(tabs->getContainerLocation(inTab), 2);
    QVERIFY(Near(Position(inTab), QPointF(0.2, 0.2)));
    QCOMPARE(mSourceView->ItemOf(inTab)->parentItem(), tabs->LinkedContainerQuickItems(2).value(0));

    // Without the container: on the page, where it was on the page.
    mTarget->pastePressed();
    cWidget* onPage = Selected(*mTarget).first();
    QCOMPARE(mTarget->GetWidgets()->Items(), QList<cWidget*>{onPage});
    QVERIFY(Near(Position(onPage), QPointF(0.6, 0.6)));
    QCOMPARE(onPage->widthFraction(), 0.1f);

    // A container gone since the copy is not taken for the top level's own rectangle.
    mSource->selectionManager()->setSelection(tabs);
    mSource->deletePressed();
    mSource->clearUndoRedo();
    mSource->pastePressed();
    QVERIFY(Near(Position(Selected(*mSource).first()), QPointF(0.6, 0.6)));
}

void tst_cWidgetClipboard::containersTravelWithTheirChildrenUnderFreshIds()
{
    auto* tabs = qobject_cast<cTabContainer*>(mSourceView->Add("tab_container", QRectF(0.1, 0.1, 0.5, 0.5)));
    cWidget* child = mSourceView->Add("rect", QRectF(0.2, 0.2, 0.2, 0.2), tabs, 1);
    mSourceView->Add("text", QRectF(0.7, 0.7, 0.2, 0.2));
    mSource->selectionManager()->setSelection(tabs);
    mSource->selectionManager()->addToSelection(child);
    mSource->copyPressed();
    QCOMPARE(mConfig->WidgetCopyBuffer().Records().size(), 1);

    mSource->pastePressed();
    mTarget->pastePressed();
    auto* copy = qobject_cast<cTabContainer*>(Selected(*mTarget).value(0));
    QVERIFY(copy);
    QCOMPARE(copy->GetTabs()->At(1)->GetWidgets().size(), 1);
    QCOMPARE(mTargetView->ItemOf(copy->GetTabs()->At(1)->GetWidgets().first())->parentItem(),
             copy->LinkedContainerQuickItems(1).value(0));
    QList<int> ids;
    CollectIds(mSource->GetWidgets()->Items() + mTarget->GetWidgets()->Items(), ids);
    QCOMPARE(ids.size(), 7);
    QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), 7);
}

void tst_cWidgetClipboard::pasteAndCutAreStepsOfTheirOwn()
{
    cWidget* widget = mSourceView->Add("rect", QRectF(0.2, 0.2, 0.1, 0.1));
    mSource->selectionManager()->setSelection(widget);
    mSource->copyPressed();
    mSource->pastePressed();
    mSource->pastePressed();
    cWidget* second = Selected(*mSource).first();
    mSource->selectionManager()->incrementGroupEditOverlayX(0.1f);
    QVERIFY(Near(Position(second), QPointF(0.32, 0.22)));

    mSource->undoPressed();
    QVERIFY(Near(Position(second), QPointF(0.22, 0.22)));
    QCOMPARE(mSource->GetWidgets()->count(), 3);
    mSource->undoPressed();
    QCOMPARE(mSource->GetWidgets()->count(), 2);
    QCOMPARE(mSource->selectionManager()->selectionCount(), 0);
    mSource->redoPressed();
    QCOMPARE(mSource->GetWidgets()->count(), 3);
    QVERIFY(mSourceView->ItemOf(second));

    mSource->selectionManager()->selectAll();
    mSource->cutPressed();
    QVERIFY(mSource->GetWidgets()->isEmpty());
    QCOMPARE(mConfig->WidgetCopyBuffer().Records().size(), 3);
    mSource->undoPressed();
    QCOMPARE(mSource->GetWidgets()->count(), 3);
}

void tst_cWidgetClipboard::newIdsPassIdsKeptInUnknownWidgets()
{
    QXmlStreamReader reader(QStringLiteral("<Layout><Widget id=\"1\" type=\"future\" x=\"0\" y=\"0\" width=\"0.1\""
                                           " height=\"0.1\"><Widget id=\"30\" type=\"rect\"/></Widget></Layout>"));
    reader.readNextStartElement();
    std::unique_ptr<cLayout> loaded(cLayout::CreateFromXml(reader, *mConfig));
    QCOMPARE(mConfig->GetNextId(), 31);

    mSource->selectionManager()->setSelection(mSourceView->Add("rect", QRectF(0.2, 0.2, 0.1, 0.1)));
    mSource->copyPressed();
    mSource->pastePressed();
    QCOMPARE(Selected(*mSource).first()->GetId(), 33);
}

QTEST_MAIN(tst_cWidgetClipboard)
#include "tst_cWidgetClipboard.moc"
