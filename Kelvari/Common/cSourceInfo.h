#pragma once

#include <QObject>
#include <QString>

// One source a source selector offers, listed to QML through a QQmlObjectListModel.
class cSourceInfo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString sourceName READ sourceName CONSTANT)

public:
    cSourceInfo(const QString& sourceName, QObject* parent);

    QString sourceName() const { return mSourceName; }

private:
    const QString mSourceName;
};
