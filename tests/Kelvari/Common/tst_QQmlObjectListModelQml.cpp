#include "Kelvari/Common/QQmlObjectListModel.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScopedPointer>
#include <QtTest>

class cNamedValue : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER mName NOTIFY nameChanged)
    Q_PROPERTY(int value MEMBER mValue NOTIFY valueChanged)

public:
    cNamedValue(const QString& name, int value, QObject* parent)
        : QObject(parent), mName(name), mValue(value)
    {
    }

signals:
    void nameChanged();
    void valueChanged();

private:
    QString mName;
    int mValue;
};

// What QML sees of a model: delegates bound to roles and to the item, and the slots called from script.
class tst_QQmlObjectListModelQml : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void delegatesReadAndWriteThroughRoles();
    void countIsABindableProperty();
    void scriptCallsReachTheModel_data();
    void scriptCallsReachTheModel();
    void scriptEditsChangeTheRows();

private:
    QObject* Create(const QByteArray& qml);
    QString Evaluate(const QString& expression);

    QObject mOwner;
    QScopedPointer<QQmlEngine> mEngine;
    QScopedPointer<QQmlObjectListModel<cNamedValue>> mModel;
    QList<QObject*> mCreated;
};

void tst_QQmlObjectListModelQml::init()
{
    mEngine.reset(new QQmlEngine);
    mModel.reset(new QQmlObjectListModel<cNamedValue>);
    mModel->append(new cNamedValue("w", 1, &mOwner));
    mModel->append(new cNamedValue("x", 2, &mOwner));
    mModel->append(new cNamedValue("y", 3, &mOwner));
    mEngine->rootContext()->setContextProperty("listModel", mModel.data());
}

void tst_QQmlObjectListModelQml::cleanup()
{
    qDeleteAll(mCreated);
    mCreated.clear();
    mEngine.reset();
    mModel.reset();
    qDeleteAll(mOwner.children());
}

QObject* tst_QQmlObjectListModelQml::Create(const QByteArray& qml)
{
    QQmlComponent component(mEngine.data());
    component.setData(qml, QUrl("qrc:/tst.qml"));
    QObject* object = component.create();
    if (!object)
        qWarning() << component.errors();
    mCreated << object;
    return object;
}

QString tst_QQmlObjectListModelQml::Evaluate(const QString& expression)
{
    QObject* object = Create("import QtQml 2.12\nQtObject { function run() { return String(" + expression.toUtf8()
                             + "); } }");
    if (!object)
        return QString();
    QVariant result;
    QMetaObject::invokeMethod(object, "run", Q_RETURN_ARG(QVariant, result));
    return result.toString();
}

namespace
{
const QByteArray Instantiator = R"(
import QtQml 2.12
import QtQml.Models 2.12
Instantiator {
    model: listModel
    delegate: QtObject {
        property string name: model.name
        property int value: model.value
        property QtObject item: model.qtObject
        function write(v) { model.value = v; }
    }
}
)";
}

void tst_QQmlObjectListModelQml::delegatesReadAndWriteThroughRoles()
{
    QObject* instantiator = Create(Instantiator);
    QVERIFY(instantiator);
    QCOMPARE(instantiator->property("count").toInt(), 3);
    QObject* second = nullptr;
    QMetaObject::invokeMethod(instantiator, "objectAt", Q_RETURN_ARG(QObject*, second), Q_ARG(int, 1));
    QVERIFY(second);
    QCOMPARE(second->property("name").toString(), QString("x"));
    QCOMPARE(second->property("item").value<QObject*>(), mModel->At(1));

    mModel->At(1)->setProperty("name", "z");
    QCOMPARE(second->property("name").toString(), QString("z"));
    QMetaObject::invokeMethod(second, "write", Q_ARG(QVariant, 10));
    QCOMPARE(mModel->At(1)->property("value").toInt(), 10);
    QCOMPARE(second->property("value").toInt(), 10);
}

void tst_QQmlObjectListModelQml::countIsABindableProperty()
{
    QObject* object = Create("import QtQml 2.12\nQtObject { property int rows: listModel.count }");
    QVERIFY(object);
    QCOMPARE(object->property("rows").toInt(), 3);
    mModel->remove(0);
    QCOMPARE(object->property("rows").toInt(), 2);
}

void tst_QQmlObjectListModelQml::scriptCallsReachTheModel_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");
    QTest::newRow("get") << "listModel.get(1).name" << "x";
    QTest::newRow("get outside") << "listModel.get(3)" << "null";
    QTest::newRow("roleForName") << "listModel.roleForName('value')" << "259";
    QTest::newRow("toVarArray") << "listModel.toVarArray().map(function(i) { return i.name; }).join()"
                                << "w,x,y";
}

void tst_QQmlObjectListModelQml::scriptCallsReachTheModel()
{
    QFETCH(QString, expression);
    QFETCH(QString, result);
    QCOMPARE(Evaluate(expression), result);
}

void tst_QQmlObjectListModelQml::scriptEditsChangeTheRows()
{
    QCOMPARE(Evaluate("(listModel.move(0, 3), listModel.remove(0), listModel.get(1).name)"), QString("w"));
    QCOMPARE(mModel->count(), 2);
    QCOMPARE(Evaluate("(listModel.remove(listModel.get(0)), listModel.count)"), QString("1"));
    QCOMPARE(Evaluate("(listModel.clear(), listModel.isEmpty())"), QString("true"));
}

QTEST_MAIN(tst_QQmlObjectListModelQml)
#include "tst_QQmlObjectListModelQml.moc"
