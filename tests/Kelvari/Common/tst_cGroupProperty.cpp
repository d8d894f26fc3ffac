#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cFloatProperty.h"
#include "Kelvari/Common/cGroupProperty.h"
#include "Kelvari/Common/cIntProperty.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTextWidget.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

class tst_cGroupProperty : public QObject
{
    Q_OBJECT

private slots:
    void differingMembersReadEmptyAndAWriteSetsThemAll();
    void boundsAreTheUnionOfTheMembers();
    void visibilityFollowsEveryMemberChange();
    void comboListsAreRelayedOnlyWhenAllAgree();
    void geometryIsMeasuredFromBaseValuesAndNeverBecomesNaN();
};

void tst_cGroupProperty::differingMembersReadEmptyAndAWriteSetsThemAll()
{
    QObject owner;
    QList<cTextWidget*> texts;
    cGroupProperty* group = nullptr;
    for (const char* text : {"A", "B", "C"})
    {
        texts << new cTextWidget(texts.size(), &owner);
        cProperty* property = texts.last()->GetProperty("Text");
        property->setValue(text);
        if (!group)
            group = new cGroupProperty(property, &owner);
        group->ConnectProperty(property, texts.last());
    }
    QCOMPARE(group->type(), cProperty::Group);
    QCOMPARE(group->groupType(), cProperty::TextBlock);
    QVERIFY(group->hasMultipleValues());
    QCOMPARE(group->stringValue(), QString());

    // Writing the first member's own value still reaches the others.
    group->setValue("A");
    QVERIFY(!group->hasMultipleValues());
    for (const cTextWidget* text : texts)
        QCOMPARE(text->GetProperty("Text")->stringValue(), QString("A"));

    QSignalSpy changes(group, &cProperty::valueChanged);
    group->setValue("A");
    group->setStringValue("ignored");
    QCOMPARE(changes.count(), 0);
    QCOMPARE(group->stringValue(), QString("A"));
}

void tst_cGroupProperty::boundsAreTheUnionOfTheMembers()
{
    QObject owner;
    cIntProperty a("N", 1, &owner, 1, 10), b("N", 1, &owner, 0, 5);
    cFloatProperty c("F", 0, &owner, -2, 0.5f), d("F", 0, &owner, 0, 2);
    cGroupProperty ints(&a, &owner), floats(&c, &owner);
    for (auto* member : {&a, &b})
        ints.ConnectProperty(member, nullptr);
    for (auto* member : {&c, &d})
        floats.ConnectProperty(member, nullptr);
    QCOMPARE(ints.lowIntBound(), 0);
    QCOMPARE(ints.highIntBound(), 10);
    QCOMPARE(floats.lowFloatBound(), -2.0f);
    QCOMPARE(floats.highFloatBound(), 2.0f);
}

void tst_cGroupProperty::visibilityFollowsEveryMemberChange()
{
    QObject owner;
    cStringProperty a("S", "", &owner, true), b("S", "", &owner, true);
    cGroupProperty group(&a, &owner);
    group.ConnectProperty(&a, nullptr);
    group.ConnectProperty(&b, nullptr);
    QVERIFY(group.visible());
    b.setVisible(false);
    QVERIFY(!group.visible());
    a.setVisible(true);
    QVERIFY(!group.visible());
    a.setVisible(false);
    a.setVisible(true);
    QVERIFY(group.visible());
}

void tst_cGroupProperty::comboListsAreRelayedOnlyWhenAllAgree()
{
    QObject owner;
    cComboProperty a("C", 0, {"x", "y"}, &owner), b("C", 1, {"x", "y"}, &owner);
    cGroupProperty group(&a, &owner);
    group.ConnectProperty(&a, nullptr);
    group.ConnectProperty(&b, nullptr);
    QCOMPARE(group.comboValues(), QStringList({"x", "y"}));
    QVERIFY(group.hasMultipleValues());
    QSignalSpy lists(&group, &cGroupProperty::comboValuesChanged);
    QSignalSpy values(&group, &cProperty::valueChanged);
    a.UpdateComboValues({"x", "y", "z"}, 0);
    QCOMPARE(lists.count(), 0);
    b.UpdateComboValues({"x", "y", "z"}, 0);
    QCOMPARE(lists.count(), 1);
    // The members now agree on the value too.
    QCOMPARE(values.count(), 1);
}

void tst_cGroupProperty::geometryIsMeasuredFromBaseValuesAndNeverBecomesNaN()
{
    QQuickItem canvas;
    canvas.setSize(QSizeF(1000, 500));
    QQuickItem* reference = &canvas;
    QObject owner;
    cTextWidget shown(1, &owner), unlaid(2, &owner);
    QQuickItem shownItem(&canvas), zeroParent(&canvas), unlaidItem(&zeroParent);
    shown.setQQuickItem(&shownItem, true);
    unlaid.setQQuickItem(&unlaidItem, true);
    shown.setXFraction(0.3f);
    unlaid.setXFraction(0.3f);
    cGroupProperty x(shown.GetXProperty(), &owner);
    x.ConnectProperty(shown.GetXProperty(), &shown);
    x.ConnectProperty(unlaid.GetXProperty(), &unlaid);

    x.SetFloatValueUsingScalingFactorAndOffset(2, 0.5f, reference);
    QCOMPARE(shown.xFraction(), 0.1f);
    // The same step again starts from the same base.
    x.SetFloatValueUsingScalingFactorAndOffset(2, 0.5f, reference);
    QCOMPARE(shown.xFraction(), 0.1f);
    x.SetFloatValueUsingDelta(0.1f, reference);
    QCOMPARE(shown.xFraction(), 0.4f);
    // A member whose parent item has no size yet is left alone rather than made NaN.
    QCOMPARE(unlaid.xFraction(), 0.3f);
    x.ResetOriginalFloatValues();
    x.SetFloatValueUsingScalingFactor(0.5f);
    QCOMPARE(shown.xFraction(), 0.2f);
    QCOMPARE(unlaid.xFraction(), 0.15f);

    // A member destroyed while grouped is forgotten, not written.
    auto* gone = new cTextWidget(3, &owner);
    x.ConnectProperty(gone->GetXProperty(), gone);
    delete gone;
    x.SetFloatValueUsingScalingFactor(2);
    x.setValue(0.5f);
    QCOMPARE(x.LinkedProperties().size(), 2);
}

QTEST_MAIN(tst_cGroupProperty)
#include "tst_cGroupProperty.moc"
