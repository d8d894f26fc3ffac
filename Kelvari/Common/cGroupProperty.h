#pragma once

#include "cProperty.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

class cWidget;
class QQuickItem;

// The same-named property of every selected widget, edited as one: reading
// gives the first member's value, writing writes every member. The X, Y,
// Width and Height groups also move and scale their members from base values
// taken when the group was formed or last reset, so that every step of a drag
// is measured from the state before the drag. A group follows its members
// whatever changes them, once after each burst of changes.
class cGroupProperty : public cProperty
{
    Q_OBJECT
    Q_PROPERTY(bool hasMultipleValues READ hasMultipleValues NOTIFY hasMultipleValuesChanged)
    Q_PROPERTY(cProperty::ePropertyType groupType READ groupType CONSTANT)
    Q_PROPERTY(QStringList comboValues READ comboValues NOTIFY comboValuesChanged)

public:
    // The caller then connects every member, the first one included.
    cGroupProperty(cProperty* firstProperty, QObject* parent);

    void ConnectProperty(cProperty* property, const cWidget* widget);
    // The widget's members leave the group: nothing written through it reaches them any more.
    void DisconnectWidget(const cWidget* widget);
    // Every member whose widget is not in the set leaves the group.
    void DisconnectWidgetsOutside(const QSet<const cWidget*>& widgets);

    QVariant value() const override;
    void setValue(const QVariant& value) override;
    // Empty while the members differ.
    QString stringValue() const override;

    bool hasMultipleValues() const { return mHasMultipleValues; }
    void SetHasMultipleValues(bool multiple);
    cProperty::ePropertyType groupType() const { return mGroupType; }
    QStringList comboValues() const;
    const QList<cProperty*>& LinkedProperties() const { return mLinkedProperties; }
    bool IsGeometryGroup() const;

    // The union of the members' ranges.
    Q_INVOKABLE int lowIntBound() const;
    Q_INVOKABLE int highIntBound() const;
    Q_INVOKABLE float lowFloatBound() const;
    Q_INVOKABLE float highFloatBound() const;

    // The delta is a fraction of the reference item's width (X) or height.
    void SetFloatValueUsingDelta(float delta, QQuickItem*& reference);
    void SetFloatValueUsingScalingFactor(float factor);
    // Scales about the offset, a fraction of the reference item, mapped into each member's parent item.
    void SetFloatValueUsingScalingFactorAndOffset(float factor, float offset, QQuickItem*& reference);
    void ResetOriginalFloatValues();

    // True when the widget lies inside any widget of the list.
    bool WidgetHasParentInList(const cWidget* widget, const QList<const cWidget*>& list) const;
    // True when the widget is a strict descendant of the candidate.
    bool FindChildWidget(const cWidget* widget, const cWidget* candidate) const;

signals:
    void hasMultipleValuesChanged();
    void GroupSizeFractionValueChanged();
    void comboValuesChanged();

private slots:
    void LinkedPropertyComboValuesChanged();
    void LinkedPropertyValueChanged();

private:
    void DisconnectProperty(cProperty* property);
    // The members whose widget does not move with another member's widget.
    QList<cProperty*> IndependentMembers() const;
    // Writes a computed value; a value that is not finite is never written.
    void WriteMember(cProperty* property, double value);
    void EmitValueChangedUnlessMultiple();
    void AnnounceValue();
    // Whether the members still agree, and on what, after whatever changed them.
    void FollowMembers();

    const cProperty::ePropertyType mGroupType;
    QList<cProperty*> mLinkedProperties;
    bool mHasMultipleValues = false;
    QHash<cProperty*, float> mOriginalFloatValues;
    QHash<cProperty*, const cWidget*> mPropertyWidgets;
    // The value the panel was last told of.
    QVariant mAnnouncedValue;
    bool mFollowPending = false;
};
