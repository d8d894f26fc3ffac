#pragma once

#include "Kelvari/Common/QQmlObjectListModelBase.h"
#include "Kelvari/Common/QQmlObjectListModelRelay.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QMetaObject>
#include <iterator>
#include <type_traits>

// A list model over objects of class T whose roles are T's properties: a QML
// delegate reads a property by its name, or the object itself as "qtObject",
// and a row refreshes when one of its item's notified properties changes.
// An item that enters without a parent is owned by the model and deleted
// when it leaves; an item with a parent is never deleted by the model.
template <class T>
class QQmlObjectListModel : public QQmlObjectListModelBase
{
    static_assert(std::is_base_of<QObject, T>::value, "QQmlObjectListModel holds QObject subclasses");

public:
    explicit QQmlObjectListModel(QObject* parent = nullptr, const QByteArray& displayRoleName = QByteArray(),
                                 const QByteArray& uidRoleName = QByteArray())
        : QQmlObjectListModelBase(parent)
        , mUidRoleName(uidRoleName)
        , mDisplayRoleName(displayRoleName)
        , mMetaObject(T::staticMetaObject)
    {
        const sRoles roles = BuildRoles(mMetaObject, mDisplayRoleName);
        mRoles = roles.mNames;
        mSignalRoles = roles.mSignalRoles;
        mNotifySignals = mSignalRoles.keys().toVector();
    }

    // Owned items go with the model as its children; no item may call back meanwhile.
    ~QQmlObjectListModel() override
    {
        for (T* item : qAsConst(mItems))
            QObject::disconnect(item, nullptr, this, nullptr);
        qDeleteAll(mRelays);
    }

    // Typed operations for the C++ side; null is ignored.
    void append(T* item) { insert(mItems.size(), item); }
    void prepend(T* item) { insert(0, item); }

    void insert(int idx, T* item)
    {
        if (!item)
            return;
        if (idx < 0 || idx > mItems.size())
        {
            ZR_ERROR("Insert at %d outside 0 to %d in QQmlObjectListModel<%s>", idx, mItems.size(),
                     mMetaObject.className());
            return;
        }
        beginInsertRows(QModelIndex(), idx, idx);
        mItems.insert(idx, item);
        TakeIn(item);
        endInsertRows();
        UpdateCount();
    }

    // Null entries are left out, so that no row ever holds null.
    void append(const QList<T*>& items)
    {
        QList<T*> entries;
        for (T* item : items)
        {
            if (item)
                entries.append(item);
        }
        if (entries.isEmpty())
            return;
        beginInsertRows(QModelIndex(), mItems.size(), mItems.size() + entries.size() - 1);
        mItems.append(entries);
        for (T* item : qAsConst(entries))
            TakeIn(item);
        endInsertRows();
        UpdateCount();
    }

    // Typed reads without signals: the item at a row (null outside the rows) and all items in row order.
    T* At(int idx) const { return (idx >= 0 && idx < mItems.size()) ? mItems.at(idx) : nullptr; }
    const QList<T*>& Items() const { return mItems; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : mItems.size();
    }

    QHash<int, QByteArray> roleNames() const override { return mRoles; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        T* item = At(index.row());
        const QByteArray name = RoleName(role);
        if (!item || name.isEmpty())
            return QVariant();
        if (role == ObjectRole)
            return QVariant::fromValue(static_cast<QObject*>(item));
        return item->property(name.constData());
    }

    // The item's own notify signal announces the change, so nothing is emitted here.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        T* item = At(index.row());
        const QByteArray name = RoleName(role);
        if (!item || name.isEmpty() || role == ObjectRole)
            return false;
        return item->setProperty(name.constData(), value);
    }

    int size() const override { return mCount; }
    int count() const override { return mCount; }
    bool isEmpty() const override { return mItems.isEmpty(); }
    bool contains(QObject* item) const override { return indexOf(item) >= 0; }

    int indexOf(QObject* item) const override
    {
        T* typed = qobject_cast<T*>(item);
        return typed ? mItems.indexOf(typed) : -1;
    }

    int roleForName(const QByteArray& name) const override { return FirstRoleNamed(mRoles, name); }

    void clear() override
    {
        if (mItems.isEmpty())
            return;
        beginRemoveRows(QModelIndex(), 0, mItems.size() - 1);
        const QList<T*> leaving = mItems;
        mItems.clear();
        for (T* item : leaving)
            LetGo(item);
        endRemoveRows();
        UpdateCount();
    }

    void append(QObject* item) override { append(qobject_cast<T*>(item)); }
    void prepend(QObject* item) override { prepend(qobject_cast<T*>(item)); }
    void insert(int idx, QObject* item) override { insert(idx, qobject_cast<T*>(item)); }

    // pos counts rows before the move: the item ends up in front of the row that was at pos.
    void move(int idx, int pos) override
    {
        const int rows = mItems.size();
        if (idx < 0 || idx >= rows || pos < 0 || pos > rows)
        {
            ZR_ERROR("Move of row %d to %d outside %d rows in QQmlObjectListModel<%s>", idx, pos, rows,
                     mMetaObject.className());
            return;
        }
        // In front of itself or of its successor the item already stands where it should.
        if (pos == idx || pos == idx + 1)
            return;
        beginMoveRows(QModelIndex(), idx, idx, QModelIndex(), pos);
        mItems.move(idx, idx < pos ? pos - 1 : pos);
        endMoveRows();
    }

    void remove(QObject* item) override
    {
        const int idx = indexOf(item);
        if (idx >= 0)
            remove(idx);
    }

    void remove(int idx) override
    {
        if (idx < 0 || idx >= mItems.size())
        {
            ZR_ERROR("Remove of row %d outside %d rows in QQmlObjectListModel<%s>", idx, mItems.size(),
                     mMetaObject.className());
            return;
        }
        beginRemoveRows(QModelIndex(), idx, idx);
        T* item = mItems.takeAt(idx);
        LetGo(item);
        endRemoveRows();
        UpdateCount();
    }

    QObject* get(int idx) const override { return At(idx); }
    QObject* get(const QString& uid) const override { return mUidIndex.value(uid, nullptr); }

    QObject* getFirst() const override
    {
        if (mItems.isEmpty())
        {
            ZR_ERROR("First item of an empty QQmlObjectListModel<%s>", mMetaObject.className());
            return nullptr;
        }
        return mItems.first();
    }

    QObject* getLast() const override
    {
        if (mItems.isEmpty())
        {
            ZR_ERROR("Last item of an empty QQmlObjectListModel<%s>", mMetaObject.className());
            return nullptr;
        }
        return mItems.last();
    }

    QVariantList toVarArray() const override
    {
        QVariantList list;
        list.reserve(mItems.size());
        for (T* item : mItems)
            list.append(QVariant::fromValue(item));
        return list;
    }

protected:
    void ItemSignalled(QObject& signalled, int signalIndex) override
    {
        T* item = static_cast<T*>(&signalled);
        const int row = mItems.indexOf(item);
        const int role = mSignalRoles.value(signalIndex, -1);
        if (row < 0 || role < 0)
            return;
        const QByteArray name = mRoles.value(role);
        QVector<int> roles{role};
        if (!mDisplayRoleName.isEmpty() && name == mDisplayRoleName)
            roles.append(Qt::DisplayRole);
        const QModelIndex changed = index(row);
        emit dataChanged(changed, changed, roles);
        if (!mUidRoleName.isEmpty() && name == mUidRoleName)
            IndexUid(item);
    }

private:
    QByteArray RoleName(int role) const { return role == Qt::DisplayRole ? mDisplayRoleName : mRoles.value(role); }

    void TakeIn(T* item)
    {
        if (!item->parent())
            item->setParent(this);
        else if (item->parent() == this)
            // An owned item that comes back before its deferred deletion ran must survive.
            QCoreApplication::removePostedEvents(item, QEvent::DeferredDelete);
        if (!mRelays.contains(item))
            mRelays.insert(item, new QQmlObjectListModelRelay(*this, *item, mNotifySignals));
        // An item deleted by its owner while still listed leaves its rows instead of dangling.
        QObject::connect(item, &QObject::destroyed, this, &QQmlObjectListModel::ForgetItem,
                         Qt::UniqueConnection);
        if (!mUidRoleName.isEmpty())
            IndexUid(item);
    }

    // An item listed twice stays connected and owned until its last row goes.
    void LetGo(T* item)
    {
        if (mItems.contains(item))
            return;
        delete mRelays.take(item);
        QObject::disconnect(item, nullptr, this, nullptr);
        QObject::disconnect(this, nullptr, item, nullptr);
        if (!mUidRoleName.isEmpty())
            UnindexUid(item);
        if (item->parent() == this)
            item->deleteLater();
    }

    void ForgetItem(QObject* gone) override
    {
        delete mRelays.take(gone);
        for (int row = mItems.size() - 1; row >= 0; --row)
        {
            if (static_cast<QObject*>(mItems.at(row)) != gone)
                continue;
            beginRemoveRows(QModelIndex(), row, row);
            mItems.removeAt(row);
            endRemoveRows();
        }
        for (auto it = mUidIndex.begin(); it != mUidIndex.end();)
            it = static_cast<QObject*>(it.value()) == gone ? mUidIndex.erase(it) : std::next(it);
        UpdateCount();
    }

    void IndexUid(T* item)
    {
        UnindexUid(item);
        const QString uid = item->property(mUidRoleName.constData()).toString();
        if (!uid.isEmpty())
            mUidIndex.insert(uid, item);
    }

    void UnindexUid(T* item)
    {
        for (auto it = mUidIndex.begin(); it != mUidIndex.end();)
            it = it.value() == item ? mUidIndex.erase(it) : std::next(it);
    }

    void UpdateCount()
    {
        if (mCount == mItems.size())
            return;
        mCount = mItems.size();
        emit countChanged();
    }

    int mCount = 0;
    QByteArray mUidRoleName;
    QByteArray mDisplayRoleName;
    const QMetaObject& mMetaObject;
    QHash<int, QByteArray> mRoles;
    QHash<int, int> mSignalRoles;
    QVector<int> mNotifySignals;
    QList<T*> mItems;
    // One per listed item, however often it is listed.
    QHash<QObject*, QQmlObjectListModelRelay*> mRelays;
    QHash<QString, T*> mUidIndex;
};
