#pragma once

#include <QObject>
#include <QString>

// A row of the stand-in config's layout list.
class cFakeLayout : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)

public:
    explicit cFakeLayout(const QString& name, QObject* parent = nullptr)
        : QObject(parent)
        , mName(name)
    {
    }

    QString name() const { return mName; }

private:
    QString mName;
};
