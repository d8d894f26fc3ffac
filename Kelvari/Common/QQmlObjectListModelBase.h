#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariantList>

// The surface that QML calls on every object list model. The template
// QQmlObjectListModel<T> implements it for one item class; QML sees only
// this class, so every list of the object model looks the same to it.
class QQmlObjectListModelBase : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    // Role 256 serves the item itself; property i of the item class gets 257 + i.
    static constexpr int ObjectRole = Qt::UserRole;
    static constexpr int FirstPropertyRole = Qt::UserRole + 1;

    explicit QQmlObjectListModelBase(QObject* parent = nullptr);

public slots:
    virtual int size() const = 0;
    virtual int count() const = 0;
    virtual bool isEmpty() const = 0;
    virtual bool contains(QObject* item) const = 0;
    virtual int indexOf(QObject* item) const = 0;
    virtual int roleForName(const QByteArray& name) const = 0;
    virtual void clear() = 0;
    virtual void append(QObject* item) = 0;
    virtual void prepend(QObject* item) = 0;
    virtual void insert(int idx, QObject* item) = 0;
    virtual void move(int idx, int pos) = 0;
    virtual void remove(QObject* item) = 0;
    virtual void remove(int idx) = 0;
    virtual QObject* get(int idx) const = 0;
    virtual QObject* get(const QString& uid) const = 0;
    virtual QObject* getFirst() const = 0;
    virtual QObject* getLast() const = 0;
    virtual QVariantList toVarArray() const = 0;

signals:
    void countChanged();

protected:
    friend class QQmlObjectListModelRelay;

    // The roles of an item class: role number to name, and the index of each
    // notify signal to the role of the (last) property it announces.
    struct sRoles
    {
        QHash<int, QByteArray> mNames;
        QHash<int, int> mSignalRoles;
    };
    // Takes the rows of an item that is being destroyed out of the model.
    virtual void ForgetItem(QObject* gone) = 0;
    // Refreshes the row of an item whose signal of that method index fired.
    virtual void ItemSignalled(QObject& item, int signalIndex) = 0;

    static sRoles BuildRoles(const QMetaObject& meta, const QByteArray& displayRoleName);
    static int FirstRoleNamed(const QHash<int, QByteArray>& roles, const QByteArray& name);
};
