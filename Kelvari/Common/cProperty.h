#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// One typed, named, observable setting of a widget or resource. Every setter
// follows the same protocol: an equal value changes nothing; otherwise
// ValueAboutToChange() is emitted while the old value is still stored, the new
// value is stored and valueChanged() is emitted.
class cProperty : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QString stringValue READ stringValue WRITE setStringValue NOTIFY valueChanged)
    Q_PROPERTY(bool visible READ visible NOTIFY visibleChanged)
    Q_PROPERTY(bool editable READ editable NOTIFY editableChanged)
    Q_PROPERTY(ePropertyType type READ type CONSTANT)

public:
    enum ePropertyType
    {
        Int = 0,
        Float = 1,
        String = 2,
        Combo = 3,
        Group = 4,
        TextBlock = 5,
        Image = 6,
        Colour = 7,
        Font = 8,
        SizeFraction = 9
    };
    Q_ENUM(ePropertyType)

    cProperty(ePropertyType type, const QString& name, bool editable, QObject* parent);

    ePropertyType type() const { return mType; }
    QString name() const { return mName; }
    bool visible() const { return mVisible; }
    bool editable() const { return mEditable; }
    void setVisible(bool visible);

    virtual QVariant value() const = 0;
    virtual void setValue(const QVariant& value) = 0;
    virtual QString stringValue() const = 0;
    virtual void setStringValue(const QString& value);

signals:
    void valueChanged();
    void ValueAboutToChange();
    void visibleChanged(bool visible);
    void editableChanged();

private:
    const ePropertyType mType;
    const QString mName;
    bool mVisible = true;
    const bool mEditable;
};
