#include "Kelvari/Common/QQmlObjectListModel.h"

#include "support/cTraceCapture.h"

#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

// Shaped like the object model's properties: "value" and "stringValue" share one notify signal.
class cPlainItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QString stringValue READ stringValue NOTIFY valueChanged)
    Q_PROPERTY(bool visible MEMBER mVisible)

public:
    explicit cPlainItem(const QString& name = QString(), QObject* parent = nullptr)
        : QObject(parent), mName(name)
    {
    }
    QString name() const { return mName; }
    void setName(const QString& name)
    {
        if (name == mName)
            return;
        mName = name;
        emit nameChanged();
    }
    int value() const { return mValue; }
    void setValue(int value)
    {
        if (value == mValue)
            return;
        mValue = value;
        emit valueChanged();
    }
    QString stringValue() const { return QString::number(mValue); }

signals:
    void nameChanged();
    void valueChanged();

private:
    QString mName;
    int mValue = 0;
    bool mVisible = true;
};

// Carries property names that QML delegates already use.
class cClashingItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id MEMBER mId)
    Q_PROPERTY(QString label MEMBER mLabel)
    Q_PROPERTY(QString model MEMBER mModel)

private:
    int mId = 0;
    QString mLabel;
    QString mModel;
};

namespace
{
using tModel = QQmlObjectListModel<cPlainItem>;

QString Names(const tModel& model)
{
    QStringList names;
    for (cPlainItem* item : model.Items())
        names << item->name();
    return names.join(',');
}

// Fills a model with parented items named by the letters of names.
void Fill(tModel& model, QObject& owner, const QString& names)
{
    for (const QChar letter : names)
        model.append(new cPlainItem(letter, &owner));
}

// Records the structural signals of a model in the order they come.
class cRecorder
{
public:
    explicit cRecorder(tModel& model)
    {
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &mContext,
                         [this](const QModelIndex&, int first, int last) {
                             mEvents << QStringLiteral("inserted %1-%2").arg(first).arg(last);
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &mContext,
                         [this](const QModelIndex&, int first, int last) {
                             mEvents << QStringLiteral("removed %1-%2").arg(first).arg(last);
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, &mContext,
                         [this](const QModelIndex&, int first, int, const QModelIndex&, int pos) {
                             mEvents << QStringLiteral("moved %1>%2").arg(first).arg(pos);
                         });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &mContext,
                         [this](const QModelIndex& from, const QModelIndex& to, const QVector<int>& roles) {
                             QStringList numbers;
                             for (int role : roles)
                                 numbers << QString::number(role);
                             mEvents << QStringLiteral("changed %1-%2 [%3]")
                                            .arg(from.row())
                                            .arg(to.row())
                                            .arg(numbers.join(','));
                         });
        QObject::connect(&model, &QQmlObjectListModelBase::countChanged, &mContext,
                         [this, &model] { mEvents << QStringLiteral("count %1").arg(model.count()); });
    }
    QStringList mEvents;

private:
    QObject mContext;
};
}

class tst_QQmlObjectListModel : public QObject
{
    Q_OBJECT

private slots:
    void rolesFollowTheItemProperties_data();
    void rolesFollowTheItemProperties();
    void forbiddenNamesGetNoRoleAndAWarning();
    void roleForNameFindsTheRoleNumber_data();
    void roleForNameFindsTheRoleNumber();

    void dataServesTheItemAndItsProperties();
    void dataOutsideTheRowsIsInvalid();
    void setDataWritesThePropertyAndEmitsOnlyThroughTheItem();
    void setDataRefusesTheObjectRoleUnknownRolesAndOutsideRows();

    void appendingAnItemAnnouncesOneRowThenTheCount();
    void nullAndForeignObjectsAreIgnored();
    void insertOutsideTheRowsIsTracedAndIgnored();
    void appendingAListLeavesOutNullEntries();
    void emptyListAppendsNothing();

    void moveReordersRows_data();
    void moveReordersRows();
    void moveOutsideTheRowsIsTracedAndIgnored_data();
    void moveOutsideTheRowsIsTracedAndIgnored();

    void removeTakesOneRow();
    void removeOutsideTheRowsIsTracedAndIgnored();
    void removeOfAnUnlistedObjectChangesNothing();
    void clearTakesAllRows();
    void clearOfAnEmptyModelEmitsNothing();

    void parentlessItemsAreAdoptedAndDeletedWhenTheyLeave();
    void parentedItemsAreNeverDeleted();
    void destroyingTheModelDeletesOnlyItsOwnItems();
    void anOwnedItemPutBackBeforeItsDeletionSurvives();
    void anItemListedTwiceStaysUntilItsLastRowGoes();
    void anItemDeletedElsewhereLeavesItsRow();

    void aPropertyChangeRefreshesOnlyItsRowAndRole();
    void sharedNotifySignalsReportTheLaterProperty();
    void aRemovedItemNoLongerRefreshesRows();

    void readAccessOutsideTheRowsGivesNull();
    void firstAndLastOfAnEmptyModelAreTracedNull();
    void readAccessorsReflectTheRows();
    void toVarArrayHoldsTypedItemsInOrder();

    void uidIndexFollowsTheUidProperty();
    void displayRoleServesTheNamedProperty();
};

void tst_QQmlObjectListModel::rolesFollowTheItemProperties_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("item") << 256 << QByteArray("qtObject");
    QTest::newRow("inherited objectName") << 257 << QByteArray("objectName");
    QTest::newRow("name") << 258 << QByteArray("name");
    QTest::newRow("value") << 259 << QByteArray("value");
    QTest::newRow("stringValue") << 260 << QByteArray("stringValue");
    QTest::newRow("visible without notify") << 261 << QByteArray("visible");
}

void tst_QQmlObjectListModel::rolesFollowTheItemProperties()
{
    QFETCH(int, role);
    QFETCH(QByteArray, name);
    const tModel model;
    QCOMPARE(model.roleNames().size(), 6);
    QCOMPARE(model.roleNames().value(role), name);
}

void tst_QQmlObjectListModel::forbiddenNamesGetNoRoleAndAWarning()
{
    QTest::ignoreMessage(QtWarningMsg, "Can't have \"id\" as a role name in QQmlObjectListModel<cClashingItem>");
    QTest::ignoreMessage(QtWarningMsg,
                         "Can't have \"model\" as a role name in QQmlObjectListModel<cClashingItem>");
    const QQmlObjectListModel<cClashingItem> model;
    const QHash<int, QByteArray> expected{{256, "qtObject"}, {257, "objectName"}, {259, "label"}};
    QCOMPARE(model.roleNames(), expected);
    QCOMPARE(model.roleForName("id"), -1);
}

void tst_QQmlObjectListModel::roleForNameFindsTheRoleNumber_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("role");
    QTest::newRow("value") << QByteArray("value") << 259;
    QTest::newRow("qtObject") << QByteArray("qtObject") << 256;
    QTest::newRow("objectName") << QByteArray("objectName") << 257;
    QTest::newRow("no such role") << QByteArray("colour") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
}

void tst_QQmlObjectListModel::roleForNameFindsTheRoleNumber()
{
    QFETCH(QByteArray, name);
    QFETCH(int, role);
    const tModel model;
    QCOMPARE(model.roleForName(name), role);
}

void tst_QQmlObjectListModel::dataServesTheItemAndItsProperties()
{
    tModel model;
    auto* item = new cPlainItem("w");
    item->setValue(7);
    model.append(item);
    const QModelIndex row = model.index(0);
    QCOMPARE(model.data(row, 256).value<QObject*>(), item);
    QCOMPARE(model.data(row, 258).toString(), QString("w"));
    QCOMPARE(model.data(row, 259).toInt(), 7);
    QCOMPARE(model.data(row, 260).toString(), QString("7"));
    QVERIFY(!model.data(row, 300).isValid());
    QVERIFY(!model.data(row, Qt::DisplayRole).isValid());
}

void tst_QQmlObjectListModel::dataOutsideTheRowsIsInvalid()
{
    tModel model;
    model.append(new cPlainItem("w"));
    QVERIFY(!model.data(model.index(1), 256).isValid());
    QVERIFY(!model.data(QModelIndex(), 258).isValid());
}

void tst_QQmlObjectListModel::setDataWritesThePropertyAndEmitsOnlyThroughTheItem()
{
    tModel model;
    auto* item = new cPlainItem("w");
    model.append(item);
    cRecorder recorder(model);
    QVERIFY(model.setData(model.index(0), 5, 259));
    QCOMPARE(item->value(), 5);
    QCOMPARE(recorder.mEvents, QStringList{"changed 0-0 [260]"});
    recorder.mEvents.clear();
    QVERIFY(model.setData(model.index(0), false, 261));
    QCOMPARE(item->property("visible").toBool(), false);
    QCOMPARE(recorder.mEvents, QStringList());
}

void tst_QQmlObjectListModel::setDataRefusesTheObjectRoleUnknownRolesAndOutsideRows()
{
    tModel model;
    auto* item = new cPlainItem("w");
    model.append(item);
    QVERIFY(!model.setData(model.index(0), QVariant::fromValue<QObject*>(nullptr), 256));
    QVERIFY(!model.setData(model.index(0), 1, 300));
    QVERIFY(!model.setData(model.index(1), 1, 259));
    QVERIFY(!model.setData(model.index(0), "5", 260));
    QCOMPARE(model.At(0), item);
    QCOMPARE(item->value(), 0);
}

void tst_QQmlObjectListModel::appendingAnItemAnnouncesOneRowThenTheCount()
{
    tModel model;
    cRecorder recorder(model);
    model.append(new cPlainItem("w"));
    model.prepend(new cPlainItem("v"));
    model.insert(1, new cPlainItem("x"));
    const QStringList expected{"inserted 0-0", "count 1", "inserted 0-0", "count 2", "inserted 1-1", "count 3"};
    QCOMPARE(recorder.mEvents, expected);
    QCOMPARE(Names(model), QString("v,x,w"));
    QCOMPARE(model.property("count").toInt(), 3);
}

void tst_QQmlObjectListModel::nullAndForeignObjectsAreIgnored()
{
    tModel model;
    QObject foreign;
    cRecorder recorder(model);
    QQmlObjectListModelBase& surface = model;
    surface.append(static_cast<QObject*>(nullptr));
    surface.append(&foreign);
    surface.prepend(&foreign);
    surface.insert(0, &foreign);
    model.append(static_cast<cPlainItem*>(nullptr));
    QCOMPARE(recorder.mEvents, QStringList());
    QCOMPARE(model.count(), 0);
    QCOMPARE(foreign.parent(), nullptr);
    QCOMPARE(model.indexOf(&foreign), -1);
    QVERIFY(!model.contains(&foreign));
}

void tst_QQmlObjectListModel::insertOutsideTheRowsIsTracedAndIgnored()
{
    tModel model;
    model.append(new cPlainItem("w"));
    cPlainItem stray("s");
    cRecorder recorder(model);
    cTraceCapture trace;
    model.insert(2, &stray);
    model.insert(-1, &stray);
    QCOMPARE(trace.LinesContaining("Insert at").size(), 2);
    QCOMPARE(recorder.mEvents, QStringList());
    QCOMPARE(Names(model), QString("w"));
    QCOMPARE(stray.parent(), nullptr);
}

void tst_QQmlObjectListModel::appendingAListLeavesOutNullEntries()
{
    tModel model;
    model.append(new cPlainItem("v"));
    cRecorder recorder(model);
    model.append(QList<cPlainItem*>{new cPlainItem("w"), nullptr, new cPlainItem("x")});
    QCOMPARE(recorder.mEvents, (QStringList{"inserted 1-2", "count 3"}));
    QCOMPARE(Names(model), QString("v,w,x"));
    for (cPlainItem* item : model.Items())
        QCOMPARE(item->parent(), &model);
}

void tst_QQmlObjectListModel::emptyListAppendsNothing()
{
    tModel model;
    cRecorder recorder(model);
    model.append(QList<cPlainItem*>());
    model.append(QList<cPlainItem*>{nullptr});
    QCOMPARE(recorder.mEvents, QStringList());
}

void tst_QQmlObjectListModel::moveReordersRows_data()
{
    QTest::addColumn<int>("idx");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("announced");
    QTest::newRow("first in front of last") << 0 << 3 << "x,y,w,z" << true;
    QTest::newRow("last to the front") << 3 << 0 << "z,w,x,y" << true;
    QTest::newRow("first to the end") << 0 << 4 << "x,y,z,w" << true;
    QTest::newRow("backwards") << 2 << 1 << "w,y,x,z" << true;
    QTest::newRow("onto itself") << 1 << 1 << "w,x,y,z" << false;
    QTest::newRow("in front of its successor") << 1 << 2 << "w,x,y,z" << false;
}

void tst_QQmlObjectListModel::moveReordersRows()
{
    QFETCH(int, idx);
    QFETCH(int, pos);
    QFETCH(QString, order);
    QFETCH(bool, announced);
    QObject owner;
    tModel model;
    Fill(model, owner, "wxyz");
    cRecorder recorder(model);
    model.move(idx, pos);
    QCOMPARE(Names(model), order);
    const QStringList expected = announced ? QStringList{QStringLiteral("moved %1>%2").arg(idx).arg(pos)}
                                           : QStringList();
    QCOMPARE(recorder.mEvents, expected);
}

void tst_QQmlObjectListModel::moveOutsideTheRowsIsTracedAndIgnored_data()
{
    QTest::addColumn<int>("idx");
    QTest::addColumn<int>("pos");
    QTest::newRow("negative row") << -1 << 2;
    QTest::newRow("row past the end") << 4 << 0;
    QTest::newRow("negative destination") << 1 << -1;
    QTest::newRow("destination past the end") << 0 << 5;
}

void tst_QQmlObjectListModel::moveOutsideTheRowsIsTracedAndIgnored()
{
    QFETCH(int, idx);
    QFETCH(int, pos);
    QObject owner;
    tModel model;
    Fill(model, owner, "wxyz");
    cRecorder recorder(model);
    cTraceCapture trace;
    model.move(idx, pos);
    QCOMPARE(trace.LinesContaining("Move of row").size(), 1);
    QCOMPARE(Names(model), QString("w,x,y,z"));
    QCOMPARE(recorder.mEvents, QStringList());
}

void tst_QQmlObjectListModel::removeTakesOneRow()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cRecorder recorder(model);
    model.remove(1);
    model.remove(model.At(1));
    QCOMPARE(recorder.mEvents, (QStringList{"removed 1-1", "count 2", "removed 1-1", "count 1"}));
    QCOMPARE(Names(model), QString("w"));
}

void tst_QQmlObjectListModel::removeOutsideTheRowsIsTracedAndIgnored()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cRecorder recorder(model);
    cTraceCapture trace;
    model.remove(7);
    model.remove(-1);
    QCOMPARE(trace.LinesContaining("Remove of row").size(), 2);
    QCOMPARE(recorder.mEvents, QStringList());
    QCOMPARE(Names(model), QString("w,x,y"));
}

void tst_QQmlObjectListModel::removeOfAnUnlistedObjectChangesNothing()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cPlainItem unlisted("u");
    QObject foreign;
    cRecorder recorder(model);
    cTraceCapture trace;
    model.remove(&unlisted);
    model.remove(&foreign);
    model.remove(static_cast<QObject*>(nullptr));
    QCOMPARE(trace.Lines(), QStringList());
    QCOMPARE(recorder.mEvents, QStringList());
    QCOMPARE(Names(model), QString("w,x,y"));
}

void tst_QQmlObjectListModel::clearTakesAllRows()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cRecorder recorder(model);
    model.clear();
    QCOMPARE(recorder.mEvents, (QStringList{"removed 0-2", "count 0"}));
    QVERIFY(model.isEmpty());
    QCOMPARE(model.size(), 0);
}

void tst_QQmlObjectListModel::clearOfAnEmptyModelEmitsNothing()
{
    tModel model;
    cRecorder recorder(model);
    model.clear();
    QCOMPARE(recorder.mEvents, QStringList());
}

void tst_QQmlObjectListModel::parentlessItemsAreAdoptedAndDeletedWhenTheyLeave()
{
    tModel model;
    QPointer<cPlainItem> removed = new cPlainItem("w");
    QPointer<cPlainItem> cleared = new cPlainItem("x");
    model.append(removed.data());
    model.append(cleared.data());
    QCOMPARE(removed->parent(), &model);
    model.remove(0);
    model.clear();
    QVERIFY(removed);
    QVERIFY(cleared);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!removed);
    QVERIFY(!cleared);
}

void tst_QQmlObjectListModel::parentedItemsAreNeverDeleted()
{
    QObject owner;
    tModel model;
    QPointer<cPlainItem> removed = new cPlainItem("w", &owner);
    QPointer<cPlainItem> cleared = new cPlainItem("x", &owner);
    model.append(removed.data());
    model.append(cleared.data());
    model.remove(removed.data());
    model.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(removed);
    QVERIFY(cleared);
    QCOMPARE(removed->parent(), &owner);
}

void tst_QQmlObjectListModel::destroyingTheModelDeletesOnlyItsOwnItems()
{
    QObject owner;
    QPointer<cPlainItem> owned = new cPlainItem("w");
    QPointer<cPlainItem> borrowed = new cPlainItem("x", &owner);
    {
        tModel model;
        model.append(owned.data());
        model.append(borrowed.data());
    }
    QVERIFY(!owned);
    QVERIFY(borrowed);
}

void tst_QQmlObjectListModel::anOwnedItemPutBackBeforeItsDeletionSurvives()
{
    tModel model;
    QPointer<cPlainItem> item = new cPlainItem("w");
    model.append(item.data());
    model.remove(0);
    model.append(item.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(item);
    QCOMPARE(model.At(0), item.data());
    cRecorder recorder(model);
    item->setValue(3);
    QCOMPARE(recorder.mEvents, QStringList{"changed 0-0 [260]"});
}

void tst_QQmlObjectListModel::anItemListedTwiceStaysUntilItsLastRowGoes()
{
    tModel model;
    QPointer<cPlainItem> item = new cPlainItem("w");
    model.append(item.data());
    model.append(item.data());
    model.remove(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(item);
    cRecorder recorder(model);
    item->setName("v");
    QCOMPARE(recorder.mEvents, QStringList{"changed 0-0 [258]"});
    model.remove(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!item);
}

void tst_QQmlObjectListModel::anItemDeletedElsewhereLeavesItsRow()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cRecorder recorder(model);
    delete model.At(1);
    QCOMPARE(recorder.mEvents, (QStringList{"removed 1-1", "count 2"}));
    QCOMPARE(Names(model), QString("w,y"));
    QCOMPARE(model.data(model.index(1), 258).toString(), QString("y"));
}

void tst_QQmlObjectListModel::aPropertyChangeRefreshesOnlyItsRowAndRole()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cRecorder recorder(model);
    model.At(2)->setName("z");
    QCOMPARE(recorder.mEvents, QStringList{"changed 2-2 [258]"});
}

void tst_QQmlObjectListModel::sharedNotifySignalsReportTheLaterProperty()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cRecorder recorder(model);
    model.At(1)->setValue(4);
    QCOMPARE(recorder.mEvents, QStringList{"changed 1-1 [260]"});
}

void tst_QQmlObjectListModel::aRemovedItemNoLongerRefreshesRows()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cPlainItem* item = model.At(0);
    model.remove(item);
    cRecorder recorder(model);
    item->setValue(9);
    item->setName("v");
    QCOMPARE(recorder.mEvents, QStringList());
}

void tst_QQmlObjectListModel::readAccessOutsideTheRowsGivesNull()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    QCOMPARE(model.get(-1), nullptr);
    QCOMPARE(model.get(model.count()), nullptr);
    QCOMPARE(model.At(3), nullptr);
    QCOMPARE(model.get(QString("w")), nullptr);
}

void tst_QQmlObjectListModel::firstAndLastOfAnEmptyModelAreTracedNull()
{
    const tModel model;
    cTraceCapture trace;
    QCOMPARE(model.getFirst(), nullptr);
    QCOMPARE(model.getLast(), nullptr);
    QCOMPARE(trace.LinesContaining("empty QQmlObjectListModel<cPlainItem>").size(), 2);
}

void tst_QQmlObjectListModel::readAccessorsReflectTheRows()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    QCOMPARE(model.size(), 3);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.rowCount(model.index(0)), 0);
    QVERIFY(!model.isEmpty());
    QCOMPARE(model.get(1), model.At(1));
    QCOMPARE(model.getFirst(), model.At(0));
    QCOMPARE(model.getLast(), model.At(2));
    QCOMPARE(model.indexOf(model.At(2)), 2);
    QVERIFY(model.contains(model.At(0)));
}

void tst_QQmlObjectListModel::toVarArrayHoldsTypedItemsInOrder()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wx");
    const QVariantList list = model.toVarArray();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0).userType(), qMetaTypeId<cPlainItem*>());
    QCOMPARE(list.at(0).value<cPlainItem*>(), model.At(0));
    QCOMPARE(list.at(1).value<cPlainItem*>(), model.At(1));
}

void tst_QQmlObjectListModel::uidIndexFollowsTheUidProperty()
{
    QObject owner;
    tModel model(nullptr, QByteArray(), "name");
    Fill(model, owner, "wx");
    model.append(new cPlainItem(QString(), &owner));
    cPlainItem* w = model.At(0);
    QCOMPARE(model.get(QString("w")), w);
    w->setName("v");
    QCOMPARE(model.get(QString("w")), nullptr);
    QCOMPARE(model.get(QString("v")), w);
    QCOMPARE(model.get(QString()), nullptr);
    model.remove(w);
    QCOMPARE(model.get(QString("v")), nullptr);
    QCOMPARE(model.get(QString("x")), model.At(0));
}

void tst_QQmlObjectListModel::displayRoleServesTheNamedProperty()
{
    QObject owner;
    tModel model(nullptr, "name");
    Fill(model, owner, "w");
    QCOMPARE(model.roleNames().value(Qt::DisplayRole), QByteArray("display"));
    QCOMPARE(model.data(model.index(0), Qt::DisplayRole).toString(), QString("w"));
    cRecorder recorder(model);
    model.At(0)->setName("v");
    QCOMPARE(recorder.mEvents, QStringList{"changed 0-0 [258,0]"});
    QVERIFY(model.setData(model.index(0), "u", Qt::DisplayRole));
    QCOMPARE(model.At(0)->name(), QString("u"));
}

QTEST_GUILESS_MAIN(tst_QQmlObjectListModel)
#include "tst_QQmlObjectListModel.moc"
