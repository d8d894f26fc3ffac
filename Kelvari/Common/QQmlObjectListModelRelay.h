#pragma once

#include <QObject>
#include <QVector>

class QQmlObjectListModelBase;

// Takes one item's notify signals for its model. Finding which signal fired
// walks the receiver's senders, so a receiver per item keeps that to the
// item's own few connections however many items the model holds.
class QQmlObjectListModelRelay : public QObject
{
    Q_OBJECT

public:
    QQmlObjectListModelRelay(QQmlObjectListModelBase& model, QObject& item, const QVector<int>& notifySignals);

private slots:
    void Relay();

private:
    QQmlObjectListModelBase& mModel;
    QObject& mItem;
};
