#include "Kelvari/Common/QQmlObjectListModel.h"

#include "support/cTraceCapture.h"

#include <QPointer>
#include <QtTest>

// Shaped like the object model's properties: "value" and "stringValue" share one notify signal.
class cPlainItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER mName WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(int value MEMBER mValue WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QString stringValue READ stringValue NOTIFY valueChanged)
    Q_PROPERTY(bool visible MEMBER mVisible)

public:
    explicit cPlainItem(const QString& name = QString(), QObject* parent = nullptr) : QObject(parent), mName(name)
    {
        setObjectName(name);
    }
    void setName(const QString& name)
    {
        if (name != std::exchange(mName, name))
            emit nameChanged();
    }
    void setValue(int value)
    {
        if (value != std::exchange(mValue, value))
            emit valueChanged();
    }
    QString stringValue() const { return QString::number(mValue); }

    QString mName;
    int mValue = 0;

signals:
    void nameChanged();
    void valueChanged();

private:
    bool mVisible = true;
};

namespace
{
using tModel = QQmlObjectListModel<cPlainItem>;

// The structural signals of a model in the order they come.
struct sRecorder
{
    explicit sRecorder(tModel& model)
    {
        const auto rows = [this](const char* what) {
            return [this, what](const QModelIndex&, int first, int last) { mEvents << QStringLiteral("%1 %2-%3").arg(what).arg(first).arg(last); };
        };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &mContext, rows("inserted"));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &mContext, rows("removed"));
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, &mContext, [this](const QModelIndex&, int first, int,
                         const QModelIndex&, int pos) { mEvents << QStringLiteral("moved %1>%2").arg(first).arg(pos); });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &mContext,
                         [this](const QModelIndex& from, const QModelIndex& to, const QVector<int>& roles) {
                             QStringList numbers;
                             for (int role : roles)
                                 numbers << QString::number(role);
                             mEvents << QStringLiteral("changed %1-%2 [%3]").arg(from.row()).arg(to.row()).arg(numbers.join(','));
                         });
        QObject::connect(&model, &QQmlObjectListModelBase::countChanged, &mContext,
                         [this, &model] { mEvents << QStringLiteral("count %1").arg(model.count()); });
    }
    QStringList mEvents;
    QObject mContext;
};

void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}

class tst_QQmlObjectListModel : public QObject
{
    Q_OBJECT

    QObject mOwner;
    tModel mModel;

private slots:
    void init()
    {
        for (const char* name : {"w", "x", "y", "z"})
            mModel.append(new cPlainItem(name, &mOwner));
    }
    void cleanup()
    {
        mModel.clear();
        qDeleteAll(mOwner.children());
    }
    // No item the program lists has a property named as QML delegates name their own, and nothing writes
    // through the model's roles.
    void rolesAndDataComeFromTheItemProperties()
    {
        QCOMPARE(mModel.roleNames(), (QHash<int, QByteArray>{{256, "qtObject"}, {257, "objectName"}, {258, "name"},
                                                             {259, "value"}, {260, "stringValue"}, {261, "visible"}}));
        cPlainItem* item = mModel.At(0);
        item->setValue(7);
        const QModelIndex row = mModel.index(0);
        QCOMPARE(mModel.data(row, 256).value<QObject*>(), item);
        QCOMPARE(mModel.data(row, 260).toString(), QString("7"));
        QVERIFY(!mModel.data(row, 300).isValid() && !mModel.data(mModel.index(4), 256).isValid());
        QVERIFY(!mModel.get(-1) && !mModel.get(4) && !mModel.At(4));
    }
    // Steps on the rows w, x, y, z: "+v" appends a new item, "^1v" inserts one, "Lv0u" appends a list (0 for
    // null), "m0>3" moves, "-1" and "-x"
    // remove by row and by item (u is not listed, n is null), "c" clears, "d1" deletes an item elsewhere, "n1=v" and
    // "v0=4" change a property of a row, "R=9" one of the item removed last, and "k" deletes every item whose row
    // changes. The names, the model's signals, the trace lines and the new items the model adopted follow.
    void steps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inserting announces rows then the count") << "c +w ^0v ^1x Ly0z L0"
            << "v,x,w,y,z | removed 0-3,count 0,inserted 0-0,count 1,inserted 0-0,count 2,inserted 1-1,count 3,"
               "inserted 3-4,count 5 | 0 | 5";
        QTest::newRow("outside inserts are ignored") << "^5s ^-1s" << "w,x,y,z |  | 2 | 0";
        QTest::newRow("first in front of last") << "m0>3" << "x,y,w,z | moved 0>3 | 0 | 0";
        QTest::newRow("backwards") << "m2>1" << "w,y,x,z | moved 2>1 | 0 | 0";
        QTest::newRow("in front of its successor") << "m1>2" << "w,x,y,z |  | 0 | 0";
        QTest::newRow("move of a row past the end") << "m4>0" << "w,x,y,z |  | 1 | 0";
        QTest::newRow("move to past the end") << "m0>5" << "w,x,y,z |  | 1 | 0";
        QTest::newRow("remove and clear take rows") << "-1 -y -u -n -7 --1 c c"
            << " | removed 1-1,count 3,removed 1-1,count 2,removed 0-1,count 0 | 2 | 0";
        QTest::newRow("an item deleted elsewhere or on its own change leaves its row") << "d1 k n0=v"
            << "y,z | removed 1-1,count 3,changed 0-0 [258],removed 0-0,count 2 | 0 | 0";
        // "value" and "stringValue" share a notify signal: the later property is reported.
        QTest::newRow("a change refreshes only its row and role") << "-w n1=v v0=4 R=9"
            << "x,v,z | removed 0-0,count 3,changed 1-1 [258],changed 0-0 [260] | 0 | 0";
    }
    void steps()
    {
        QFETCH(QString, steps);
        sRecorder recorder(mModel);
        QList<cPlainItem*> loose;
        cPlainItem* removed = nullptr;
        QObject deleting;
        const auto item = [&](const QString& name) {
            loose << new cPlainItem(name);
            return loose.last();
        };
        const QStringList lines = cTraceCapture::Of([&] {
            for (const QString& step : steps.split(' '))
            {
                const QChar kind = step[0];
                const int row = step.mid(1).section(QRegularExpression("[>=a-z]"), 0, 0).toInt();
                if (kind == '+')
                    mModel.append(item(step.mid(1)));
                else if (kind == '^')
                    mModel.insert(row, item(step.right(1)));
                else if (kind == 'L')
                {
                    QList<cPlainItem*> items;
                    for (const QChar name : step.mid(1))
                        items << (name == '0' ? nullptr : item(name));
                    mModel.append(items);
                }
                else if (kind == 'm')
                    mModel.move(row, step.section('>', 1).toInt());
                else if (kind == '-' && (step[1].isDigit() || step[1] == '-'))
                    mModel.remove(step.mid(1).toInt());
                else if (kind == '-')
                {
                    const QList<cPlainItem*> named = mOwner.findChildren<cPlainItem*>(step.mid(1));
                    removed = named.isEmpty() ? nullptr : named.first();
                    mModel.remove(step[1] == 'n' ? nullptr : removed ? static_cast<QObject*>(removed) : item("u"));
                }
                else if (kind == 'c')
                    mModel.clear();
                else if (kind == 'd')
                    delete mModel.At(row);
                else if (kind == 'n' || kind == 'v')
                    mModel.At(row)->setProperty(kind == 'n' ? "name" : "value", step.section('=', 1));
                else if (kind == 'R')
                    removed->setValue(step.section('=', 1).toInt());
                else if (kind == 'k')
                    connect(&mModel, &QAbstractItemModel::dataChanged, &deleting,
                            [this](const QModelIndex& changed) { delete mModel.At(changed.row()); });
            }
        });
        QStringList names;
        for (cPlainItem* listed : mModel.Items())
            names << listed->mName;
        int adopted = 0;
        for (cPlainItem* object : loose)
        {
            adopted += object->parent() == &mModel;
            if (!object->parent())
                delete object;
        }
        QTEST(QStringLiteral("%1 | %2 | %3 | %4").arg(names.join(','), recorder.mEvents.join(',')).arg(lines.size()).arg(adopted),
              "expected");
    }
    void onlyParentlessItemsAreAdoptedAndDeleted()
    {
        QPointer<cPlainItem> removed = new cPlainItem("w"), cleared = new cPlainItem("x"), kept = new cPlainItem("y");
        QPointer<cPlainItem> parented = new cPlainItem("p", &mOwner), parentedKept = new cPlainItem("q", &mOwner);
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
        QCOMPARE(parented->parent(), &mOwner);
        // An item removed while it is listed again stays.
        tModel model;
        QPointer<cPlainItem> item = new cPlainItem("w");
        model.append(item.data());
        model.remove(0);
        model.append(item.data());
        model.append(item.data());
        model.remove(1);
        DeleteLater();
        QVERIFY(item);
        sRecorder recorder(model);
        item->setName("v");
        QCOMPARE(recorder.mEvents, QStringList{"changed 0-0 [258]"});
        model.remove(0);
        DeleteLater();
        QVERIFY(!item);
    }
    void aChangeFollowsItsRowInEachModel()
    {
        tModel other;
        cPlainItem* w = mModel.At(0);
        other.append(w);
        mModel.move(0, 4);
        sRecorder recorder(mModel);
        sRecorder otherRecorder(other);
        w->setName("v");
        QCOMPARE(recorder.mEvents, QStringList{"changed 3-3 [258]"});
        QCOMPARE(otherRecorder.mEvents, QStringList{"changed 0-0 [258]"});
        other.clear();
        w->setName("u");
        QCOMPARE(recorder.mEvents.size(), 2);
        QCOMPARE(otherRecorder.mEvents, (QStringList{"changed 0-0 [258]", "removed 0-0", "count 0"}));
    }
};

QTEST_GUILESS_MAIN(tst_QQmlObjectListModel)
#include "tst_QQmlObjectListModel.moc"
