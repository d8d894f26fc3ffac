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
    explicit cPlainItem(const QString& name = QString(), QObject* parent = nullptr) : QObject(parent), mName(name) {}
    QString name() const { return mName; }
    void setName(const QString& name)
    {
        if (name != mName)
        {
            mName = name;
            emit nameChanged();
        }
    }
    int value() const { return mValue; }
    void setValue(int value)
    {
        if (value != mValue)
        {
            mValue = value;
            emit valueChanged();
        }
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
        const auto rows = [this](const char* what) {
            return [this, what](const QModelIndex&, int first, int last) {
                mEvents << QStringLiteral("%1 %2-%3").arg(what).arg(first).arg(last);
            };
        };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &mContext, rows("inserted"));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &mContext, rows("removed"));
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, &mContext,
                         [this](const QModelIndex&, int first, int, const QModelIndex&, int pos) {
                             mEvents << QStringLiteral("moved %1>%2").arg(first).arg(pos);
                         });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &mContext,
                         [this](const QModelIndex& from, const QModelIndex& to, const QVector<int>& roles) {
                             QStringList numbers;
                             for (int role : roles)
                                 numbers << QString::number(role);
                             mEvents << QStringLiteral("changed %1-%2 [%3]").arg(from.row()).arg(to.row())
                                            .arg(numbers.join(','));
                         });
        QObject::connect(&model, &QQmlObjectListModelBase::countChanged, &mContext,
                         [this, &model] { mEvents << QStringLiteral("count %1").arg(model.count()); });
    }
    QStringList mEvents;

private:
    QObject mContext;
};

void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}

class tst_QQmlObjectListModel : public QObject
{
    Q_OBJECT

private slots:
    void rolesFollowTheItemProperties();
    void dataAndSetDataGoThroughTheItem();
    void insertingAnnouncesRowsThenTheCount();
    void nullForeignAndOutsideInsertsAreIgnored();
    void moveReordersRows_data();
    void moveReordersRows();
    void removeAndClearTakeRows();
    void onlyParentlessItemsAreAdoptedAndDeleted();
    void anItemStaysWhileItIsStillListed();
    void anItemDeletedElsewhereLeavesItsRow();
    void aPropertyChangeRefreshesOnlyItsRowAndRole();
    void aChangeFollowsItsRowInEachModel();
    void anItemDeletedOnItsOwnChangeLeavesItsRow();
    void readAccessOutsideTheRowsGivesNull();
    void uidIndexFollowsTheUidProperty();
};

void tst_QQmlObjectListModel::rolesFollowTheItemProperties()
{
    const QHash<int, QByteArray> expected{{256, "qtObject"}, {257, "objectName"}, {258, "name"},
                                          {259, "value"},    {260, "stringValue"}, {261, "visible"}};
    QCOMPARE(tModel().roleNames(), expected);
    QCOMPARE(tModel().roleForName("colour"), -1);

    QTest::ignoreMessage(QtWarningMsg, "Can't have \"id\" as a role name in QQmlObjectListModel<cClashingItem>");
    QTest::ignoreMessage(QtWarningMsg, "Can't have \"model\" as a role name in QQmlObjectListModel<cClashingItem>");
    const QQmlObjectListModel<cClashingItem> clashing;
    QCOMPARE(clashing.roleNames(), (QHash<int, QByteArray>{{256, "qtObject"}, {257, "objectName"}, {259, "label"}}));
}

void tst_QQmlObjectListModel::dataAndSetDataGoThroughTheItem()
{
    tModel model(nullptr, "name");
    auto* item = new cPlainItem("w");
    item->setValue(7);
    model.append(item);
    const QModelIndex row = model.index(0);
    QCOMPARE(model.data(row, 256).value<QObject*>(), item);
    QCOMPARE(model.data(row, 260).toString(), QString("7"));
    QCOMPARE(model.data(row, Qt::DisplayRole).toString(), QString("w"));
    QVERIFY(!model.data(row, 300).isValid());
    QVERIFY(!model.data(model.index(1), 256).isValid());

    cRecorder recorder(model);
    QVERIFY(model.setData(row, 5, 259));
    QVERIFY(model.setData(row, "u", Qt::DisplayRole));
    QCOMPARE(item->value(), 5);
    QCOMPARE(recorder.mEvents, (QStringList{"changed 0-0 [260]", "changed 0-0 [258,0]"}));
    QVERIFY(!model.setData(row, QVariant::fromValue<QObject*>(nullptr), 256));
    QVERIFY(!model.setData(model.index(1), 1, 259));
    QVERIFY(!model.setData(row, "5", 260));
    QCOMPARE(model.At(0), item);
    QCOMPARE(item->name(), QString("u"));
}

void tst_QQmlObjectListModel::insertingAnnouncesRowsThenTheCount()
{
    tModel model;
    cRecorder recorder(model);
    model.append(new cPlainItem("w"));
    model.prepend(new cPlainItem("v"));
    model.insert(1, new cPlainItem("x"));
    model.append(QList<cPlainItem*>{new cPlainItem("y"), nullptr, new cPlainItem("z")});
    model.append(QList<cPlainItem*>{nullptr});
    QCOMPARE(recorder.mEvents, (QStringList{"inserted 0-0", "count 1", "inserted 0-0", "count 2", "inserted 1-1",
                                            "count 3", "inserted 3-4", "count 5"}));
    QCOMPARE(Names(model), QString("v,x,w,y,z"));
}

void tst_QQmlObjectListModel::nullForeignAndOutsideInsertsAreIgnored()
{
    tModel model;
    model.append(new cPlainItem("w"));
    QObject foreign;
    cPlainItem stray("s");
    cRecorder recorder(model);
    cTraceCapture trace;
    QQmlObjectListModelBase& surface = model;
    surface.append(static_cast<QObject*>(nullptr));
    surface.append(&foreign);
    model.insert(2, &stray);
    model.insert(-1, &stray);
    QCOMPARE(trace.LinesContaining("Insert at").size(), 2);
    QCOMPARE(recorder.mEvents, QStringList());
    QCOMPARE(foreign.parent(), nullptr);
    QCOMPARE(stray.parent(), nullptr);
}

void tst_QQmlObjectListModel::moveReordersRows_data()
{
    QTest::addColumn<int>("idx");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("event");
    QTest::newRow("first in front of last") << 0 << 3 << "x,y,w,z" << "moved 0>3";
    QTest::newRow("backwards") << 2 << 1 << "w,y,x,z" << "moved 2>1";
    QTest::newRow("in front of its successor") << 1 << 2 << "w,x,y,z" << "";
    QTest::newRow("row past the end") << 4 << 0 << "w,x,y,z" << "trace";
    QTest::newRow("destination past the end") << 0 << 5 << "w,x,y,z" << "trace";
}

void tst_QQmlObjectListModel::moveReordersRows()
{
    QFETCH(int, idx);
    QFETCH(int, pos);
    QFETCH(QString, order);
    QFETCH(QString, event);
    QObject owner;
    tModel model;
    Fill(model, owner, "wxyz");
    cRecorder recorder(model);
    cTraceCapture trace;
    model.move(idx, pos);
    QCOMPARE(Names(model), order);
    QCOMPARE(recorder.mEvents, event.startsWith("moved") ? QStringList{event} : QStringList());
    QCOMPARE(trace.LinesContaining("Move of row").size(), event == "trace" ? 1 : 0);
}

void tst_QQmlObjectListModel::removeAndClearTakeRows()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxyz");
    cPlainItem unlisted("u");
    cRecorder recorder(model);
    cTraceCapture trace;
    model.remove(1);
    model.remove(model.At(1));
    model.remove(&unlisted);
    model.remove(static_cast<QObject*>(nullptr));
    model.remove(7);
    model.remove(-1);
    QCOMPARE(Names(model), QString("w,z"));
    QCOMPARE(trace.LinesContaining("Remove of row").size(), 2);
    model.clear();
    model.clear();
    QCOMPARE(recorder.mEvents,
             (QStringList{"removed 1-1", "count 3", "removed 1-1", "count 2", "removed 0-1", "count 0"}));
}

void tst_QQmlObjectListModel::onlyParentlessItemsAreAdoptedAndDeleted()
{
    QObject owner;
    QPointer<cPlainItem> removed = new cPlainItem("w");
    QPointer<cPlainItem> cleared = new cPlainItem("x");
    QPointer<cPlainItem> kept = new cPlainItem("y");
    QPointer<cPlainItem> parented = new cPlainItem("p", &owner);
    QPointer<cPlainItem> parentedKept = new cPlainItem("q", &owner);
    {
        tModel model;
        model.append(QList<cPlainItem*>{removed, cleared, parented, parentedKept});
        QCOMPARE(removed->parent(), &model);
        model.remove(parented.data());
        model.remove(0);
        model.clear();
        QVERIFY(removed && cleared);
        DeleteLater();
        QVERIFY(!removed && !cleared);
        model.append(QList<cPlainItem*>{kept, parentedKept});
    }
    QVERIFY(!kept);
    QVERIFY(parented && parentedKept);
    QCOMPARE(parented->parent(), &owner);
}

void tst_QQmlObjectListModel::anItemStaysWhileItIsStillListed()
{
    tModel model;
    QPointer<cPlainItem> item = new cPlainItem("w");
    model.append(item.data());
    model.remove(0);
    model.append(item.data());
    model.append(item.data());
    model.remove(1);
    DeleteLater();
    QVERIFY(item);
    cRecorder recorder(model);
    item->setName("v");
    QCOMPARE(recorder.mEvents, QStringList{"changed 0-0 [258]"});
    model.remove(0);
    DeleteLater();
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
    QCOMPARE(model.data(model.index(1), 258).toString(), QString("y"));
}

void tst_QQmlObjectListModel::aPropertyChangeRefreshesOnlyItsRowAndRole()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wxy");
    cPlainItem* removed = model.At(0);
    model.remove(removed);
    cRecorder recorder(model);
    model.At(1)->setName("z");
    // "value" and "stringValue" share a notify signal: the later property is reported.
    model.At(0)->setValue(4);
    removed->setValue(9);
    QCOMPARE(recorder.mEvents, (QStringList{"changed 1-1 [258]", "changed 0-0 [260]"}));
}

void tst_QQmlObjectListModel::aChangeFollowsItsRowInEachModel()
{
    QObject owner;
    tModel model;
    tModel other;
    Fill(model, owner, "wxy");
    cPlainItem* w = model.At(0);
    other.append(w);
    model.move(0, 3);
    cRecorder recorder(model);
    cRecorder otherRecorder(other);
    w->setName("v");
    QCOMPARE(recorder.mEvents, QStringList{"changed 2-2 [258]"});
    QCOMPARE(otherRecorder.mEvents, QStringList{"changed 0-0 [258]"});
    other.clear();
    w->setName("u");
    QCOMPARE(recorder.mEvents.size(), 2);
    QCOMPARE(otherRecorder.mEvents, (QStringList{"changed 0-0 [258]", "removed 0-0", "count 0"}));
}

void tst_QQmlObjectListModel::anItemDeletedOnItsOwnChangeLeavesItsRow()
{
    QObject owner;
    tModel model;
    Fill(model, owner, "wx");
    cRecorder recorder(model);
    QObject::connect(&model, &QAbstractItemModel::dataChanged, &owner,
                     [&model](const QModelIndex& changed) { delete model.At(changed.row()); });
    model.At(0)->setName("v");
    QCOMPARE(recorder.mEvents, (QStringList{"changed 0-0 [258]", "removed 0-0", "count 1"}));
    QCOMPARE(model.At(0)->name(), QString("x"));
}

void tst_QQmlObjectListModel::readAccessOutsideTheRowsGivesNull()
{
    QObject owner;
    tModel model;
    cTraceCapture trace;
    QCOMPARE(model.getFirst(), nullptr);
    QCOMPARE(model.getLast(), nullptr);
    QCOMPARE(trace.LinesContaining("empty QQmlObjectListModel<cPlainItem>").size(), 2);
    Fill(model, owner, "wxy");
    QCOMPARE(model.get(-1), nullptr);
    QCOMPARE(model.get(3), nullptr);
    QCOMPARE(model.At(3), nullptr);
}

void tst_QQmlObjectListModel::uidIndexFollowsTheUidProperty()
{
    QObject owner;
    tModel model(nullptr, QByteArray(), "name");
    Fill(model, owner, "wx");
    model.append(new cPlainItem(QString(), &owner));
    cPlainItem* w = model.At(0);
    w->setName("v");
    QCOMPARE(model.get(QString("w")), nullptr);
    QCOMPARE(model.get(QString("v")), w);
    QCOMPARE(model.get(QString()), nullptr);
    model.remove(w);
    QCOMPARE(model.get(QString("v")), nullptr);
    QCOMPARE(model.get(QString("x")), model.At(0));
}

QTEST_GUILESS_MAIN(tst_QQmlObjectListModel)
#include "tst_QQmlObjectListModel.moc"
