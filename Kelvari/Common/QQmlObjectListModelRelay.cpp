#include "QQmlObjectListModelRelay.h"

#include "QQmlObjectListModelBase.h"

#include <QMetaObject>

QQmlObjectListModelRelay::QQmlObjectListModelRelay(QQmlObjectListModelBase& model, QObject& item,
                                                   const QVector<int>& notifySignals)
    : mModel(model)
    , mItem(item)
{
    // By index: connecting by QMetaMethod compares the signatures as text on every call.
    static const int relaySlot = staticMetaObject.indexOfSlot("Relay()");
    for (int signal : notifySignals)
        QMetaObject::connect(&item, signal, this, relaySlot);
}

void QQmlObjectListModelRelay::Relay()
{
    mModel.ItemSignalled(mItem, senderSignalIndex());
}
