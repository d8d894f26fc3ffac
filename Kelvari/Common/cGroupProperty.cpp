#include "cGroupProperty.h"

#include "cComboProperty.h"
#include "cContainer.h"
#include "cFloatProperty.h"
#include "cIntProperty.h"
#include "cWidget.h"

#include <QQuickItem>
#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
// Every widget inside the container, at any depth.
void CollectDescendants(const cWidget* widget, QSet<const cWidget*>& out)
{
    const auto* container = qobject_cast<const cContainer*>(widget);
    if (!container)
        return;
    for (const cWidget* child : container->GetWidgetChildren()->Items())
    {
        out.insert(child);
        CollectDescendants(child, out);
    }
}
}

cGroupProperty::cGroupProperty(cProperty* firstProperty, QObject* parent)
    : cProperty(Group, firstProperty->name(), true, parent), mGroupType(firstProperty->type()),
      mAnnouncedValue(firstProperty->value())
{
    setVisible(firstProperty->visible());
}

void cGroupProperty::ConnectProperty(cProperty* property, const cWidget* widget)
{
    if (!property)
        return;
    mPropertyWidgets.insert(property, widget);
    mLinkedProperties.append(property);
    // A widget destroyed while still grouped (its deletion dropped from the undo history) leaves the group.
    connect(property, &QObject::destroyed, this, [this, property] { DisconnectProperty(property); });
    // Every member visible so far and this one too, without a walk over all members for each.
    setVisible((mLinkedProperties.size() == 1 || visible()) && property->visible());
    connect(property, &cProperty::visibleChanged, this, &cProperty::setVisible);
    if (!mHasMultipleValues && value() != property->value())
        SetHasMultipleValues(true);
    connect(property, &cProperty::valueChanged, this, &cGroupProperty::LinkedPropertyValueChanged);
    if (mGroupType == Combo)
    {
        if (auto* combo = qobject_cast<cComboProperty*>(property))
            connect(combo, &cComboProperty::comboValuesChanged, this, &cGroupProperty::LinkedPropertyComboValuesChanged);
        return;
    }
    if (IsGeometryGroup())
        mOriginalFloatValues.insert(property, property->value().toFloat());
}

void cGroupProperty::DisconnectProperty(cProperty* property)
{
    if (!mLinkedProperties.removeAll(property))
        return;
    mPropertyWidgets.remove(property);
    mOriginalFloatValues.remove(property);
    disconnect(property, nullptr, this, nullptr);
}

void cGroupProperty::DisconnectWidget(const cWidget* widget)
{
    for (cProperty* member : mPropertyWidgets.keys(widget))
        DisconnectProperty(member);
}

void cGroupProperty::DisconnectWidgetsOutside(const QSet<const cWidget*>& widgets)
{
    const QList<cProperty*> members = mLinkedProperties;
    for (cProperty* member : members)
    {
        if (!widgets.contains(mPropertyWidgets.value(member)))
            DisconnectProperty(member);
    }
}

bool cGroupProperty::IsGeometryGroup() const
{
    if (mGroupType != SizeFraction)
        return false;
    const QString groupName = name();
    return groupName == QLatin1String("X") || groupName == QLatin1String("Y") || groupName == QLatin1String("Width") ||
           groupName == QLatin1String("Height");
}

QVariant cGroupProperty::value() const
{
    return mLinkedProperties.isEmpty() ? QVariant() : mLinkedProperties.first()->value();
}

void cGroupProperty::setValue(const QVariant& newValue)
{
    if (mHasMultipleValues)
        SetHasMultipleValues(false);
    else if (newValue == value())
        return;
    const bool geometry = IsGeometryGroup();
    // A write may take other members off the page (fewer tabs) or destroy them (a discarded redo): those are
    // no longer members by the time the loop reaches them, and are skipped (looked up by hash: a selection may
    // hold thousands).
    const QList<cProperty*> members = mLinkedProperties;
    for (cProperty* member : members)
    {
        if (!mPropertyWidgets.contains(member))
            continue;
        member->setValue(newValue);
        if (geometry && mPropertyWidgets.contains(member))
            mOriginalFloatValues.insert(member, member->value().toFloat());
    }
    if (geometry)
        emit GroupSizeFractionValueChanged();
    AnnounceValue();
}

QString cGroupProperty::stringValue() const
{
    if (mHasMultipleValues || mLinkedProperties.isEmpty())
        return QString();
    return mLinkedProperties.first()->stringValue();
}

void cGroupProperty::SetHasMultipleValues(bool multiple)
{
    if (multiple == mHasMultipleValues)
        return;
    mHasMultipleValues = multiple;
    emit hasMultipleValuesChanged();
}

QStringList cGroupProperty::comboValues() const
{
    const auto* combo = mGroupType == Combo ? qobject_cast<const cComboProperty*>(mLinkedProperties.value(0)) : nullptr;
    return combo ? combo->comboValues() : QStringList();
}

int cGroupProperty::lowIntBound() const
{
    int bound = INT_MAX;
    for (const cProperty* member : mLinkedProperties)
        if (const auto* property = qobject_cast<const cIntProperty*>(member))
            bound = std::min(bound, property->LowBound());
    return bound;
}

int cGroupProperty::highIntBound() const
{
    int bound = INT_MIN;
    for (const cProperty* member : mLinkedProperties)
        if (const auto* property = qobject_cast<const cIntProperty*>(member))
            bound = std::max(bound, property->HighBound());
    return bound;
}

float cGroupProperty::lowFloatBound() const
{
    float bound = HUGE_VALF;
    for (const cProperty* member : mLinkedProperties)
        if (const auto* property = qobject_cast<const cFloatProperty*>(member))
            bound = std::min(bound, property->LowBound());
    return bound;
}

float cGroupProperty::highFloatBound() const
{
    float bound = -HUGE_VALF;
    for (const cProperty* member : mLinkedProperties)
        if (const auto* property = qobject_cast<const cFloatProperty*>(member))
            bound = std::max(bound, property->HighBound());
    return bound;
}

QList<cProperty*> cGroupProperty::IndependentMembers() const
{
    // One pass over the selected containers' subtrees rather than a tree search per pair of members.
    QSet<const cWidget*> inside;
    for (const cWidget* widget : mPropertyWidgets)
        CollectDescendants(widget, inside);
    QList<cProperty*> members;
    for (cProperty* member : mLinkedProperties)
        if (!inside.contains(mPropertyWidgets.value(member)))
            members.append(member);
    return members;
}

void cGroupProperty::WriteMember(cProperty* property, double newValue)
{
    const float value = static_cast<float>(newValue);
    if (std::isfinite(value))
        property->setValue(value);
}

void cGroupProperty::EmitValueChangedUnlessMultiple()
{
    if (!mHasMultipleValues)
        AnnounceValue();
}

void cGroupProperty::AnnounceValue()
{
    mAnnouncedValue = value();
    emit valueChanged();
}

void cGroupProperty::SetFloatValueUsingDelta(float delta, QQuickItem*& reference)
{
    if (!reference)
        return;
    const bool horizontal = name() == QLatin1String("X");
    for (cProperty* member : IndependentMembers())
    {
        const cWidget* widget = mPropertyWidgets.value(member);
        const QQuickItem* item = widget ? widget->GetQQuickItems().value(0) : nullptr;
        const QQuickItem* parent = item ? item->parentItem() : nullptr;
        const double extent = parent ? (horizontal ? parent->width() : parent->height()) : 0.0;
        // An item that is not laid out yet has no size to measure by.
        if (!(extent > 0))
            continue;
        const double pixels = (horizontal ? reference->width() : reference->height()) * delta;
        const float fraction = static_cast<float>(pixels / extent);
        WriteMember(member, fraction + mOriginalFloatValues.value(member));
    }
    EmitValueChangedUnlessMultiple();
}

void cGroupProperty::SetFloatValueUsingScalingFactor(float factor)
{
    for (cProperty* member : IndependentMembers())
        WriteMember(member, mOriginalFloatValues.value(member) * factor);
    EmitValueChangedUnlessMultiple();
}

void cGroupProperty::SetFloatValueUsingScalingFactorAndOffset(float factor, float offset, QQuickItem*& reference)
{
    if (!reference)
        return;
    const bool horizontal = name() == QLatin1String("X");
    const QPointF point(reference->width() * offset, reference->height() * offset);
    for (cProperty* member : IndependentMembers())
    {
        const cWidget* widget = mPropertyWidgets.value(member);
        const QQuickItem* item = widget ? widget->GetQQuickItems().value(0) : nullptr;
        QQuickItem* parent = item ? item->parentItem() : nullptr;
        const double extent = parent ? (horizontal ? parent->width() : parent->height()) : 0.0;
        if (!(extent > 0))
            continue;
        const QPointF mapped = parent->mapFromItem(reference, point);
        const float anchor = static_cast<float>((horizontal ? mapped.x() : mapped.y()) / extent);
        WriteMember(member, (mOriginalFloatValues.value(member) - anchor) * factor + anchor);
    }
    EmitValueChangedUnlessMultiple();
}

void cGroupProperty::ResetOriginalFloatValues()
{
    for (cProperty* member : qAsConst(mLinkedProperties))
        mOriginalFloatValues.insert(member, member->value().toFloat());
}

bool cGroupProperty::WidgetHasParentInList(const cWidget* widget, const QList<const cWidget*>& list) const
{
    return std::any_of(list.begin(), list.end(),
                       [this, widget](const cWidget* candidate) { return FindChildWidget(widget, candidate); });
}

bool cGroupProperty::FindChildWidget(const cWidget* widget, const cWidget* candidate) const
{
    const auto* container = qobject_cast<const cContainer*>(candidate);
    if (widget == candidate || !container)
        return false;
    for (const cWidget* child : container->GetWidgetChildren()->Items())
    {
        if (child == widget || FindChildWidget(widget, child))
            return true;
    }
    return false;
}

void cGroupProperty::LinkedPropertyComboValuesChanged()
{
    const auto* source = qobject_cast<const cComboProperty*>(sender());
    if (!source)
        return;
    for (const cProperty* member : qAsConst(mLinkedProperties))
    {
        const auto* combo = qobject_cast<const cComboProperty*>(member);
        if (!combo || combo->comboValues() != source->comboValues())
            return;
    }
    emit comboValuesChanged();
}

void cGroupProperty::LinkedPropertyValueChanged()
{
    // A whole selection changes at once (align, drag, undo): one check after the burst, not one per member.
    if (mFollowPending)
        return;
    mFollowPending = true;
    QMetaObject::invokeMethod(this, &cGroupProperty::FollowMembers, Qt::QueuedConnection);
}

void cGroupProperty::FollowMembers()
{
    mFollowPending = false;
    if (mLinkedProperties.isEmpty())
        return;
    const QVariant first = value();
    const bool differ = std::any_of(mLinkedProperties.cbegin(), mLinkedProperties.cend(),
                                    [&first](const cProperty* member) { return member->value() != first; });
    // Only what the panel shows: a value it already announced is not announced again under the user's typing.
    const bool shownChanged = differ != mHasMultipleValues || (!differ && first != mAnnouncedValue);
    SetHasMultipleValues(differ);
    if (shownChanged)
        AnnounceValue();
}
