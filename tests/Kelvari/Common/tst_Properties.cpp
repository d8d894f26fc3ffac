#include "support/cTraceCapture.h"

#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cFloatProperty.h"
#include "Kelvari/Common/cFontProperty.h"
#include "Kelvari/Common/cGroupProperty.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cIntProperty.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cResourceNotifier.h"
#include "Kelvari/Common/cResourceUndoManager.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTextBlockProperty.h"
#include "Kelvari/Common/cTextWidget.h"

#include <QQuickItem>
#include <QtTest>
#include <limits>

// Properties, groups of them across selected widgets, and the undo manager that records their changes.
namespace
{
class cResourceSignals : public cResourceNotifier
{
    QString PictureRequest(const QString& id) const override { return id; }
    void ImageResourceIdChanged() override {}
};

QStringList* Log(cProperty* property, QStringList* log)
{
    QObject::connect(property, &cProperty::ValueAboutToChange, [log] { *log << "ValueAboutToChange"; });
    QObject::connect(property, &cProperty::valueChanged, [log] { *log << "valueChanged"; });
    QObject::connect(property, &cProperty::visibleChanged, [log](bool on) { *log << QStringLiteral("visibleChanged(%1)").arg(on); });
    if (auto* combo = qobject_cast<cComboProperty*>(property))
        QObject::connect(combo, &cComboProperty::comboValuesChanged, [log] { *log << "comboValuesChanged"; });
    return log;
}
const QStringList kChange = {"ValueAboutToChange", "valueChanged"};
}

class tst_Properties : public QObject
{
    Q_OBJECT

    cResourceSignals mConfig;
    QObject mOwner;
    QObject* mUndoOwner = nullptr;
    cResourceUndoManager* mManager = nullptr;
    cIntProperty* mX = nullptr;
    cIntProperty* mY = nullptr;

    cProperty* Make(const QString& kind)
    {
        const QList<cProperty*> all = {
            new cIntProperty("I", 3, &mOwner, 0, 10), new cNumberOfTabsProperty("Number of tabs", 4, &mOwner),
            new cFloatProperty("F", 1.5f, &mOwner, 0, 2), new cSizeFractionProperty("S", 0.25f, &mOwner, 0, 1),
            new cStringProperty("Str", "abc", &mOwner, true), new cTextBlockProperty("Text", "line", &mOwner, true),
            new cComboProperty("Align", 0, {"Left", "Center", "Right"}, &mOwner), new cImageProperty("Image", mConfig, &mOwner),
            new cColourProperty("Colour", QColor("white"), &mOwner, true), new cFontProperty("Font", "lato", &mOwner, true)};
        return all.value(QStringList({"int", "tabs", "float", "size", "string", "textblock", "combo", "image", "colour",
                                      "font"}).indexOf(kind));
    }
    void Close() { mManager->CloseUndoBlock(); }

private slots:
    void init()
    {
        mUndoOwner = new QObject;
        mManager = new cResourceUndoManager(mUndoOwner);
        mX = new cIntProperty("X", 10, mUndoOwner, 0, 100);
        mY = new cIntProperty("Y", 20, mUndoOwner, 0, 100);
        for (cIntProperty* property : {mX, mY})
            connect(property, &cProperty::ValueAboutToChange, mManager, &cResourceUndoManager::PropertyValueAboutToChange);
    }
    void cleanup()
    {
        qDeleteAll(mOwner.children());
        delete mUndoOwner;
    }
    // A row's value is set, and set again as text when it is text; the text shown follows. A value that does not
    // convert, or a float that is not finite, keeps the stored value with one trace for each time it is set.
    void aChangeIsAnnouncedWhileTheOldValueIsStored_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trace");
        const auto row = [](const char* name, const char* kind, const QVariant& value, const char* text, const char* trace = "") {
            QTest::newRow(name) << kind << value << text << trace;
        };
        row("int", "int", 7, "7");
        row("tabs", "tabs", 2, "2");
        row("float rounded", "float", 0.12345f, "0.1235");
        row("float tiny negative", "float", -0.00001f, "0");
        row("size third", "size", 0.33333f, "33.33");
        row("size tiny", "size", 0.0001f, "0.01");
        row("string", "string", "xyz", "xyz");
        row("textblock", "textblock", "two\nlines", "two\nlines");
        row("combo index", "combo", 2, "Right");
        row("combo outside", "combo", 5, "");
        row("colour half red", "colour", QColor(255, 0, 0, 128), "#80ff0000");
        row("colour 8 digits", "colour", "#800000ff", "#800000ff");
        row("colour unknown name is ignored", "colour", "notacolour", "#ffffff");
        row("image", "image", "12", "12");
        row("font", "font", "exo2", "exo2");
        row("int not a number", "int", "not a number", "3", "ERROR: Error setting property int\t");
        row("size not a number", "size", "not a number", "25", "ERROR: Error setting property float\t");
        row("combo not a number", "combo", "not a number", "Left", "ERROR: Error setting property combo int\t");
        row("float not finite", "float", std::numeric_limits<float>::quiet_NaN(), "1.5", "ERROR: Error setting property float");
    }
    void aChangeIsAnnouncedWhileTheOldValueIsStored()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, trace);
        cProperty* property = Make(kind);
        const QVariant oldValue = property->value();
        QVariant seen;
        connect(property, &cProperty::ValueAboutToChange, [&] { seen = property->value(); });
        // The tab count also tells what is coming, for moving the children of tabs about to go.
        auto* tabs = qobject_cast<cNumberOfTabsProperty*>(property);
        int coming = 0;
        connect(property, &cProperty::ValueAboutToChange, [&] { coming = tabs ? tabs->ComingValue() : 0; });
        QStringList log;
        Log(property, &log);
        property->setValue(oldValue);
        property->setStringValue(property->stringValue());
        QCOMPARE(log, QStringList());
        const bool floating = value.userType() == QMetaType::Float && !qIsFinite(value.toFloat());
        const QStringList lines = cTraceCapture::Of([&] {
            property->setValue(value);
            if (value.type() == QVariant::String)
                property->setStringValue(value.toString());
            if (floating)
            {
                property->setValue(QString::number(value.toFloat()));
                static_cast<cFloatProperty*>(property)->setFloatValue(value.toFloat());
            }
        });
        QCOMPARE(property->stringValue(), text);
        QCOMPARE(lines.size(), trace.isEmpty() ? 0 : floating ? 3 : 1);
        for (const QString& line : lines)
            QVERIFY2(line.startsWith(trace), qPrintable(line));
        const bool kept = !trace.isEmpty() || text == "#ffffff";
        QCOMPARE(log, kept ? QStringList() : kChange);
        QCOMPARE(seen, kept ? QVariant() : oldValue);
        QCOMPARE(coming, tabs ? 2 : 0);
    }
    void updateComboValuesSignalOrder_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("expected");
        const QStringList current = {"Left", "Center", "Right"}, other = {"A", "B", "C", "D"};
        QTest::newRow("same list, same index") << current << 1 << QStringList();
        QTest::newRow("same list, new index") << current << 2 << kChange;
        QTest::newRow("new list, same index")
            << other << 1 << QStringList{"ValueAboutToChange", "comboValuesChanged", "valueChanged"};
        QTest::newRow("new list, new index")
            << other << 3 << QStringList{"ValueAboutToChange", "comboValuesChanged", "ValueAboutToChange", "valueChanged"};
    }
    void updateComboValuesSignalOrder()
    {
        QFETCH(QStringList, choices);
        QFETCH(int, index);
        cComboProperty combo("Align", 1, {"Left", "Center", "Right"}, &mOwner);
        QStringList log;
        Log(&combo, &log);
        combo.UpdateComboValues(choices, index);
        QTEST(log, "expected");
        QCOMPARE(combo.comboValues(), choices);
        QCOMPARE(combo.IntValue(), index);
    }
    // Inserts and removes of its resource and of others are followed by the image widget's item test.
    void imagePropertyFollowsItsOwnResourceOnly()
    {
        cImageProperty image("Image", mConfig, &mOwner);
        image.setStringValue("7");
        QSignalSpy imageChanged(&image, &cImageProperty::ImageChanged);
        emit mConfig.ResourceChanged("8");
        emit mConfig.ResourceChanged("7");
        QCOMPARE(imageChanged.count(), 1);
        QStringList log;
        Log(&image, &log);
        image.setVisible(true);
        image.setVisible(false);
        image.setVisible(false);
        QCOMPARE(log, QStringList{"visibleChanged(0)"});
    }
    void groupOfDifferingMembersReadsEmptyAndAWriteSetsThemAll()
    {
        QList<cTextWidget*> texts;
        cGroupProperty* group = nullptr;
        for (const char* text : {"A", "B", "C"})
        {
            texts << new cTextWidget(texts.size(), &mOwner);
            cProperty* property = texts.last()->GetProperty("Text");
            property->setValue(text);
            group = group ? group : new cGroupProperty(property, &mOwner);
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
    void groupBoundsVisibilityAndChoicesFollowEveryMember()
    {
        cIntProperty a("N", 1, &mOwner, 1, 10), b("N", 1, &mOwner, 0, 5);
        cFloatProperty c("F", 0, &mOwner, -2, 0.5f), d("F", 0, &mOwner, 0, 2);
        cGroupProperty ints(&a, &mOwner), floats(&c, &mOwner);
        ints.ConnectProperty(&a, nullptr);
        ints.ConnectProperty(&b, nullptr);
        floats.ConnectProperty(&c, nullptr);
        floats.ConnectProperty(&d, nullptr);
        QCOMPARE(QList<int>({ints.lowIntBound(), ints.highIntBound()}), QList<int>({0, 10}));
        QCOMPARE(QList<float>({floats.lowFloatBound(), floats.highFloatBound()}), QList<float>({-2, 2}));
        QVERIFY(ints.visible());
        b.setVisible(false);
        QVERIFY(!ints.visible());
        a.setVisible(true);
        QVERIFY(!ints.visible());
        b.setVisible(true);
        QVERIFY(ints.visible());
        cComboProperty e("C", 0, {"x", "y"}, &mOwner), f("C", 1, {"x", "y"}, &mOwner);
        cGroupProperty combos(&e, &mOwner);
        combos.ConnectProperty(&e, nullptr);
        combos.ConnectProperty(&f, nullptr);
        QCOMPARE(combos.comboValues(), QStringList({"x", "y"}));
        QVERIFY(combos.hasMultipleValues());
        QSignalSpy lists(&combos, &cGroupProperty::comboValuesChanged);
        QSignalSpy values(&combos, &cProperty::valueChanged);
        e.UpdateComboValues({"x", "y", "z"}, 0);
        QCOMPARE(lists.count(), 0);
        f.UpdateComboValues({"x", "y", "z"}, 0);
        QCOMPARE(lists.count(), 1);
        // The members now agree on the value too, once their change is over.
        QTRY_COMPARE(values.count(), 1);
        QVERIFY(!combos.hasMultipleValues());
    }
    void groupGeometryIsMeasuredFromBaseValuesAndNeverBecomesNaN()
    {
        QQuickItem canvas;
        canvas.setSize(QSizeF(1000, 500));
        QQuickItem* reference = &canvas;
        cTextWidget shown(1, &mOwner), unlaid(2, &mOwner);
        QQuickItem shownItem(&canvas), zeroParent(&canvas), unlaidItem(&zeroParent);
        shown.setQQuickItem(&shownItem, true);
        unlaid.setQQuickItem(&unlaidItem, true);
        shown.setXFraction(0.3f);
        unlaid.setXFraction(0.3f);
        cGroupProperty x(shown.GetXProperty(), &mOwner);
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
        auto* gone = new cTextWidget(3, &mOwner);
        x.ConnectProperty(gone->GetXProperty(), gone);
        delete gone;
        x.SetFloatValueUsingScalingFactor(2);
        x.setValue(0.5f);
        QCOMPARE(x.LinkedProperties().size(), 2);
    }
    // Steps on two watched properties: "x=30" sets one, "|" closes the block, "u" undoes, "r" redoes, "s" sets the
    // save point, "c" clears the history, and "?" notes the values with u, r and s for undo, redo and saved. The
    // counts of the has-undo, has-redo, is-saved and y change signals follow.
    void undoSteps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a block records only real changes") << "y=21 | x=50 x=10 | x=11 x=12 y=60 y=21 | u ? r ? u u ?"
            << "10 21 ur; 12 21 u; 10 20 rs; 2 3 2 4";
        QTest::newRow("undo closes the open block; a new change drops the redo") << "x=30 u ? r ? u y=25 ? r ?"
            << "10 20 rs; 30 20 u; 10 25 u; 10 25 u; 5 4 5 1";
        QTest::newRow("signals only at the boundaries") << "u r ? x=30 ? | ? x=40 | s s ? u ? u ? r r ?"
            << "10 20 s; 30 20 u; 30 20 u; 40 20 us; 30 20 ur; 10 20 r; 40 20 us; 3 2 4 0";
        // A value being typed is a change until saved: the save closes its block.
        QTest::newRow("an open block is unsaved until it ends where it began or is saved")
            << "s x=30 ? x=10 | ? x=40 s ?" << "30 20 u; 10 20 s; 40 20 us; 3 0 4 0";
        QTest::newRow("clearing keeps saved only for an empty save point") << "s x=30 | c ? x=40 | s c ? y=50 | s ?"
            << "30 20 s; 40 20 ; 40 50 us; 5 0 6 1";
        // Each new block could take the memory of the discarded saved block; the saved state must not come back.
        QString steps, expected;
        for (int value = 30; value < 40; ++value)
        {
            steps += QStringLiteral("x=%1 | s u y=%1 | ? u c ").arg(value);
            expected += QStringLiteral("10 %1 u; ").arg(value);
        }
        QTest::newRow("a discarded save point never returns") << steps << expected + "40 40 21 20";
    }
    void undoSteps()
    {
        QFETCH(QString, steps);
        QStringList seen;
        int counts[4] = {};
        QObject context;
        connect(mManager, &cUndoManager::HasUndoChanged, &context, [&] { ++counts[0]; });
        connect(mManager, &cUndoManager::HasRedoChanged, &context, [&] { ++counts[1]; });
        connect(mManager, &cUndoManager::IsSavedChanged, &context, [&] { ++counts[2]; });
        connect(mY, &cProperty::valueChanged, &context, [&] { ++counts[3]; });
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts))
        {
            if (step.startsWith("x=") || step.startsWith("y="))
                (step[0] == 'x' ? mX : mY)->SetIntValue(step.mid(2).toInt());
            else if (step == "|")
                Close();
            else if (step == "u")
                mManager->Undo();
            else if (step == "r")
                mManager->Redo();
            else if (step == "s")
                mManager->SetSavePoint();
            else if (step == "c")
                mManager->ClearUndoRedo();
            else
                seen << QStringLiteral("%1 %2 %3%4%5").arg(mX->IntValue()).arg(mY->IntValue())
                            .arg(mManager->HasUndo() ? "u" : "").arg(mManager->HasRedo() ? "r" : "").arg(mManager->IsSaved() ? "s" : "");
        }
        seen << QStringLiteral("%1 %2 %3 %4").arg(counts[0]).arg(counts[1]).arg(counts[2]).arg(counts[3]);
        QTEST(seen.join("; "), "expected");
    }
    void undoOfAChoiceRestoresIndexAndChoices()
    {
        auto* choice = new cComboProperty("Mode", 0, {"Off", "On"}, mUndoOwner);
        mManager->AddPropertyChangeAction(choice);
        choice->UpdateComboValues({"Low", "Mid", "High"}, 2);
        Close();
        mManager->Undo();
        QCOMPARE(choice->comboValues(), QStringList({"Off", "On"}));
        QCOMPARE(choice->IntValue(), 0);
        mManager->Redo();
        QCOMPARE(choice->comboValues(), QStringList({"Low", "Mid", "High"}));
        QCOMPARE(choice->IntValue(), 2);
        // Same index with new choices is no step.
        mManager->ClearUndoRedo();
        connect(choice, &cProperty::ValueAboutToChange, mManager, &cResourceUndoManager::PropertyValueAboutToChange);
        choice->UpdateComboValues({"A", "B", "C"}, 2);
        Close();
        QVERIFY(!mManager->HasUndo());
    }
    void onlyEditablePropertiesOfAResourceAreWatched()
    {
        QObject resource;
        auto* name = new cStringProperty("Name", "a", &resource, true);
        auto* type = new cStringProperty("Type", "png", &resource, false);
        mManager->LinkPropertiesToUndoManager(&resource);
        type->setStringValue("svg");
        Close();
        QVERIFY(!mManager->HasUndo());
        name->setStringValue("b");
        Close();
        mManager->Undo();
        QCOMPARE(name->stringValue(), QString("a"));
    }
};

QTEST_MAIN(tst_Properties)
#include "tst_Properties.moc"
