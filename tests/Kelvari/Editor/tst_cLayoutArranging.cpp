#include "cFakeLayoutConfig.h"
#include "support/cHeadlessLayoutView.h"

#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Editor/cLayout.h"

#include <QtTest>

#include <memory>

namespace
{
QRectF Geometry(const cWidget* widget)
{
    return QRectF(widget->xFraction(), widget->yFraction(), widget->widthFraction(), widget->heightFraction());
}

bool Near(const QRectF& a, const QRectF& b)
{
    return qAbs(a.x() - b.x()) < 1e-5 && qAbs(a.y() - b.y()) < 1e-5 && qAbs(a.width() - b.width()) < 1e-5 &&
           qAbs(a.height() - b.height()) < 1e-5;
}

QList<float> Zs(const QList<cWidget*>& widgets)
{
    QList<float> zs;
    for (const cWidget* widget : widgets)
        zs << widget->z();
    return zs;
}
}

class tst_cLayoutArranging : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void restackingRenumbersTheStack_data();
    void restackingRenumbersTheStack();
    void restackingWorksPerContainerInOneStep();
    void alignAndDistributeWithinAGroup_data();
    void alignAndDistributeWithinAGroup();
    void alignIsPerContainerAndFillIsOneStep();

private:
    QList<cWidget*> AddSelected(const QList<QRectF>& rects, cWidget* container = nullptr, int location = -1)
    {
        QList<cWidget*> widgets;
        for (const QRectF& rect : rects)
        {
            widgets << mView->Add("rect", rect, container, location);
            mLayout->selectionManager()->addToSelection(widgets.last());
        }
        return widgets;
    }
    int UndoSteps()
    {
        int steps = 0;
        for (; mLayout->hasUndo(); ++steps)
            mLayout->undoPressed();
        for (int i = 0; i < steps; ++i)
            mLayout->redoPressed();
        return steps;
    }

    std::unique_ptr<cFakeLayoutConfig> mConfig;
    std::unique_ptr<cLayout> mLayout;
    std::unique_ptr<cHeadlessLayoutView> mView;
};

void tst_cLayoutArranging::init()
{
    mConfig = std::make_unique<cFakeLayoutConfig>();
    mLayout = std::make_unique<cLayout>(*mConfig);
    mView = std::make_unique<cHeadlessLayoutView>(*mLayout);
}

void tst_cLayoutArranging::cleanup()
{
    mView.reset();
    mLayout.reset();
}

void tst_cLayoutArranging::restackingRenumbersTheStack_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<float>>("before");
    QTest::addColumn<QList<float>>("after");
    QTest::addColumn<bool>("step");
    // The first widget is selected; the second overlaps it, the third lies apart.
    const QList<float> spread{0.2f, 0.9f, 0.5f};
    QTest::newRow("to front") << "sendToFrontPressed" << spread << QList<float>{1, 0.5f, 0} << true;
    QTest::newRow("to back") << "sendToBackPressed" << QList<float>{0.9f, 0.2f, 0.5f} << QList<float>{0, 0.5f, 1}
                             << true;
    QTest::newRow("forward onto the first overlapping one")
        << "bringForwardPressed" << QList<float>{0.2f, 0.5f, 0.9f} << QList<float>{0.5f, 0, 1} << true;
    QTest::newRow("forward past one that does not overlap")
        << "bringForwardPressed" << spread << QList<float>{1, 0.5f, 0} << true;
    QTest::newRow("forward with nothing overlapping above")
        << "bringForwardPressed" << QList<float>{0.2f, 0.1f, 0.5f} << QList<float>{0.2f, 0.1f, 0.5f} << false;
    QTest::newRow("backward") << "sendBackwardPressed" << QList<float>{0.9f, 0.2f, 0.5f} << QList<float>{0, 0.5f, 1}
                              << true;
    QTest::newRow("equal z keep their order") << "sendToFrontPressed" << QList<float>{0, 0, 0}
                                              << QList<float>{1, 0, 0.5f} << true;
}

void tst_cLayoutArranging::restackingRenumbersTheStack()
{
    QFETCH(QString, operation);
    QFETCH(QList<float>, before);
    const QList<cWidget*> widgets{mView->Add("rect", QRectF(0.1, 0.1, 0.2, 0.2)),
                                  mView->Add("rect", QRectF(0.2, 0.2, 0.2, 0.2)),
                                  mView->Add("rect", QRectF(0.6, 0.6, 0.1, 0.1))};
    for (int i = 0; i < widgets.size(); ++i)
        widgets.at(i)->SetZ(before.at(i));
    mLayout->closeUndoBlock();
    const int steps = UndoSteps();
    mLayout->selectionManager()->setSelection(widgets.first());
    QVERIFY(QMetaObject::invokeMethod(mLayout.get(), qPrintable(operation)));
    QTEST(Zs(widgets), "after");
    QTEST(UndoSteps() == steps + 1, "step");
}

void tst_cLayoutArranging::restackingWorksPerContainerInOneStep()
{
    auto* left = qobject_cast<cContainer*>(mView->Add("tab_container", QRectF(0, 0, 0.5, 1)));
    auto* right = qobject_cast<cContainer*>(mView->Add("tab_container", QRectF(0.5, 0, 0.5, 1)));
    QList<cWidget*> all;
    for (cContainer* container : {left, right})
        for (int i = 0; i < 3; ++i)
            all << mView->Add("rect", QRectF(0.1 * i, 0.1, 0.3, 0.3), container, i % 2);
    const QList<float> before = Zs(all);
    QCOMPARE(before, QList<float>({0, 0.5f, 1, 0, 0.5f, 1}));
    mLayout->selectionManager()->setSelection(all.at(2));
    mLayout->selectionManager()->addToSelection(all.at(5));
    mLayout->sendToBackPressed();
    QCOMPARE(Zs(all), QList<float>({0.5f, 1, 0, 0.5f, 1, 0}));
    mLayout->undoPressed();
    QCOMPARE(Zs(all), before);

    // Five widgets spread over 0 to 1; one alone gets 0.
    QList<cWidget*> five = all.mid(0, 5);
    mLayout->NormalizeZ(five);
    QCOMPARE(Zs(five), QList<float>({0, 0.25f, 0.5f, 0.75f, 1}));
    mLayout->NormalizeZ(all.mid(5));
    QCOMPARE(all.last()->z(), 0.0f);
}

void tst_cLayoutArranging::alignAndDistributeWithinAGroup_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<QRectF>>("before");
    QTest::addColumn<QList<QRectF>>("after");
    const QRectF a(0.1, 0.1, 0.1, 0.2), b(0.4, 0.5, 0.2, 0.1);
    QTest::newRow("top") << "alignTopPressed" << QList<QRectF>{a, b, QRectF(0.7, 0.3, 0.1, 0.1)}
                         << QList<QRectF>{a, QRectF(0.4, 0.1, 0.2, 0.1), QRectF(0.7, 0.1, 0.1, 0.1)};
    QTest::newRow("bottom") << "alignBottomPressed" << QList<QRectF>{a, b}
                            << QList<QRectF>{QRectF(0.1, 0.4, 0.1, 0.2), b};
    QTest::newRow("vertical centres") << "alignHCentrePressed"
                                      << QList<QRectF>{QRectF(0, 0, 0.1, 0.2), QRectF(0.5, 0.6, 0.1, 0.4)}
                                      << QList<QRectF>{QRectF(0, 0.4, 0.1, 0.2), QRectF(0.5, 0.3, 0.1, 0.4)};
    QTest::newRow("left") << "alignLeftPressed" << QList<QRectF>{a, b} << QList<QRectF>{a, QRectF(0.1, 0.5, 0.2, 0.1)};
    QTest::newRow("right") << "alignRightPressed" << QList<QRectF>{a, b}
                           << QList<QRectF>{QRectF(0.5, 0.1, 0.1, 0.2), b};
    QTest::newRow("horizontal centres") << "alignVCentrePressed" << QList<QRectF>{a, b}
                                        << QList<QRectF>{QRectF(0.3, 0.1, 0.1, 0.2), QRectF(0.25, 0.5, 0.2, 0.1)};
    QTest::newRow("distribute vertically")
        << "distributeVPressed"
        << QList<QRectF>{QRectF(0, 0.8, 0.1, 0.1), QRectF(0.2, 0, 0.1, 0.1), QRectF(0.4, 0.2, 0.1, 0.1)}
        << QList<QRectF>{QRectF(0, 0.8, 0.1, 0.1), QRectF(0.2, 0, 0.1, 0.1), QRectF(0.4, 0.4, 0.1, 0.1)};
    QTest::newRow("distribute horizontally, overlapping")
        << "distributeHPressed"
        << QList<QRectF>{QRectF(0, 0, 0.4, 0.1), QRectF(0.1, 0, 0.4, 0.1), QRectF(0.5, 0, 0.2, 0.1)}
        << QList<QRectF>{QRectF(0, 0, 0.4, 0.1), QRectF(0.25, 0, 0.4, 0.1), QRectF(0.5, 0, 0.2, 0.1)};
    QTest::newRow("distribute one") << "distributeVPressed" << QList<QRectF>{a} << QList<QRectF>{a};
}

void tst_cLayoutArranging::alignAndDistributeWithinAGroup()
{
    QFETCH(QString, operation);
    QFETCH(QList<QRectF>, before);
    QFETCH(QList<QRectF>, after);
    const QList<cWidget*> widgets = AddSelected(before);
    QVERIFY(QMetaObject::invokeMethod(mLayout.get(), qPrintable(operation)));
    for (int i = 0; i < widgets.size(); ++i)
        QVERIFY2(Near(Geometry(widgets.at(i)), after.at(i)), qPrintable(QString::number(i)));
    mLayout->undoPressed();
    for (int i = 0; i < widgets.size(); ++i)
        QVERIFY(Near(Geometry(widgets.at(i)), before.at(i)));
}

void tst_cLayoutArranging::alignIsPerContainerAndFillIsOneStep()
{
    auto* tabs = qobject_cast<cContainer*>(mView->Add("tab_container", QRectF(0.5, 0.5, 0.5, 0.5)));
    const QList<cWidget*> top = AddSelected({QRectF(0.1, 0.1, 0.1, 0.1), QRectF(0.2, 0.3, 0.1, 0.1)});
    const QList<cWidget*> inside = AddSelected({QRectF(0.3, 0.1, 0.2, 0.2), QRectF(0.6, 0.5, 0.2, 0.2)}, tabs, 0);
    // Counting the steps undoes creations, which deselects.
    const int steps = UndoSteps();
    mLayout->selectionManager()->SelectMultiple(top + inside);
    mLayout->alignLeftPressed();
    QCOMPARE(top.at(1)->xFraction(), 0.1f);
    QCOMPARE(inside.at(1)->xFraction(), 0.3f);
    QCOMPARE(UndoSteps(), steps + 2);

    mLayout->selectionManager()->SelectMultiple(top + inside);
    mLayout->fillVerticalPressed();
    for (const cWidget* widget : top + inside)
        QVERIFY(Near(Geometry(widget), QRectF(widget->xFraction(), 0, widget->widthFraction(), 1)));
    QVERIFY(Near(mLayout->selectionManager()->selectionRect(), QRectF(0.1, 0, 0.65, 1)));
    QCOMPARE(UndoSteps(), steps + 3);
}

QTEST_MAIN(tst_cLayoutArranging)
#include "tst_cLayoutArranging.moc"
