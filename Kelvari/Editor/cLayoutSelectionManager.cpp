#include "cLayoutSelectionManager.h"

#include "cLayout.h"
#include "cLayoutUndoManager.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cWidget.h"

#include <QQuickItem>
#include <QSet>

namespace
{
bool SameKind(const cProperty* reference, const cProperty* candidate)
{
    if (candidate->type() != reference->type() || candidate->name() != reference->name())
        return false;
    if (reference->type() != cProperty::Combo)
        return true;
    const auto* a = qobject_cast<const cComboProperty*>(reference);
    const auto* b = qobject_cast<const cComboProperty*>(candidate);
    return a && b && a->comboValues() == b->comboValues();
}

cProperty* MatchingProperty(const cWidget* widget, const cProperty* reference)
{
    for (cProperty* property : widget->GetProperties())
    {
        if (SameKind(reference, property))
            return property;
    }
    return nullptr;
}

// One property of the first selected widget with its matches in the others.
struct sCandidate
{
    QList<cProperty*> properties;
    QList<const cWidget*> widgets;
};
}

cLayoutSelectionManager::cLayoutSelectionManager(cLayout* layout)
    : QObject(layout), mLayout(layout), mCurrentSelectionProperties(new QQmlObjectListModel<cGroupProperty>(this))
{
}

const QList<cWidget*>& cLayoutSelectionManager::Children(cContainer* container) const
{
    return container ? container->GetWidgetChildren()->Items() : mLayout->GetWidgets()->Items();
}

void cLayoutSelectionManager::CollectWidgets(cContainer* container, QSet<const cWidget*>& out) const
{
    for (cWidget* child : Children(container))
    {
        out.insert(child);
        if (auto* inner = qobject_cast<cContainer*>(child))
            CollectWidgets(inner, out);
    }
}

void cLayoutSelectionManager::setSelection(cWidget* SelectedWidget)
{
    SetContainerSelection(nullptr, SelectedWidget);
    SetCurrentSelectionProperties();
}

void cLayoutSelectionManager::SetContainerSelection(cContainer* container, cWidget* widget)
{
    for (cWidget* child : Children(container))
    {
        child->SetSelected(child == widget);
        if (auto* inner = qobject_cast<cContainer*>(child))
            SetContainerSelection(inner, widget);
    }
}

void cLayoutSelectionManager::addToSelection(cWidget* Widget)
{
    SelectSingle(Widget, true);
}

void cLayoutSelectionManager::removeFromSelection(cWidget* Widget)
{
    SelectSingle(Widget, false);
}

void cLayoutSelectionManager::SelectSingle(cWidget* widget, bool selected)
{
    if (widget)
        widget->SetSelected(selected);
    SetCurrentSelectionProperties();
}

void cLayoutSelectionManager::SelectedWidgetRemoved(const cWidget* widget)
{
    for (cGroupProperty* group : mCurrentSelectionProperties->Items())
        group->DisconnectWidget(widget);
    SetSelectionCount(mSelectionCount - 1);
    if (mRebuildPending)
        return;
    mRebuildPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (mRebuildPending)
                SetCurrentSelectionProperties();
        },
        Qt::QueuedConnection);
}

void cLayoutSelectionManager::SelectMultiple(const QList<cWidget*>& widgets)
{
    for (cWidget* widget : widgets)
        widget->SetSelected(true);
    SetCurrentSelectionProperties();
}

void cLayoutSelectionManager::selectAll()
{
    for (cWidget* widget : Children(nullptr))
    {
        widget->SetSelected(true);
        SelectAllWidgetChildren(widget);
    }
    const int before = mSelectionCount;
    SetCurrentSelectionProperties();
    if (before == mSelectionCount)
        emit selectionCountChanged();
}

int cLayoutSelectionManager::SelectAllWidgetChildren(cWidget* widget)
{
    auto* container = qobject_cast<cContainer*>(widget);
    if (!container)
        return 0;
    int count = 0;
    for (cWidget* child : Children(container))
    {
        child->SetSelected(true);
        count += 1 + SelectAllWidgetChildren(child);
    }
    return count;
}

void cLayoutSelectionManager::setElasticBandSelection(float XFraction, float YFraction, float WidthFraction,
                                                      float HeightFraction, bool ShiftWasHeld)
{
    QList<cWidget*> inBand;
    GetElasticBandWidgets(QRectF(XFraction, YFraction, WidthFraction, HeightFraction), nullptr, inBand);
    if (!ShiftWasHeld)
        SetContainerSelection(nullptr, nullptr);
    SelectMultiple(inBand);
}

void cLayoutSelectionManager::GetElasticBandWidgets(const QRectF& band, cContainer* container,
                                                    QList<cWidget*>& out) const
{
    for (cWidget* widget : Children(container))
    {
        const QRectF rect = container ? mLayout->FindWidgetFractionsRelativeToBase(widget)
                                      : QRectF(widget->xFraction(), widget->yFraction(), widget->widthFraction(),
                                               widget->heightFraction());
        const QQuickItem* item = widget->GetQQuickItems().value(0);
        if (item && item->isVisible() && band.contains(rect))
            out.append(widget);
        if (auto* inner = qobject_cast<cContainer*>(widget))
            GetElasticBandWidgets(band, inner, out);
    }
}

void cLayoutSelectionManager::SetCurrentSelectionProperties()
{
    mRebuildPending = false;
    const QList<cGroupProperty*> old = mCurrentSelectionProperties->Items();
    if (!old.isEmpty())
    {
        // An editor going with its row may still write what it holds through its group: only into widgets
        // on the page, and never while undo or redo is changing them.
        QSet<const cWidget*> onPage;
        if (!mLayout->GetUndoManager()->IsBusy())
            CollectWidgets(nullptr, onPage);
        for (cGroupProperty* group : old)
            group->DisconnectWidgetsOutside(onPage);
    }
    mCurrentSelectionProperties->clear();
    qDeleteAll(old);

    const QList<cWidget*> selected = GetSelectedWidgets();
    QList<sCandidate> candidates;
    if (!selected.isEmpty())
    {
        for (cProperty* property : selected.first()->GetProperties())
            candidates.append({{property}, {selected.first()}});
    }
    QSet<QString> types;
    for (const cWidget* widget : selected)
        types.insert(widget->GetType());
    for (int i = 1; i < selected.size() && !candidates.isEmpty(); ++i)
    {
        const cWidget* widget = selected.at(i);
        for (auto it = candidates.begin(); it != candidates.end();)
        {
            if (cProperty* match = MatchingProperty(widget, it->properties.first()))
            {
                it->properties.append(match);
                it->widgets.append(widget);
                ++it;
            }
            else
            {
                it = candidates.erase(it);
            }
        }
    }
    SetCurrentSelectionType(types.isEmpty() ? QString() : types.size() == 1 ? *types.begin()
                                                                            : cWidget::mMultipleTypeName);

    const QList<QPair<QString, void (cLayoutSelectionManager::*)()>> rectSlots{
        {QStringLiteral("X"), &cLayoutSelectionManager::GroupPropertyXChanged},
        {QStringLiteral("Y"), &cLayoutSelectionManager::GroupPropertyYChanged},
        {QStringLiteral("Width"), &cLayoutSelectionManager::GroupPropertyWidthChanged},
        {QStringLiteral("Height"), &cLayoutSelectionManager::GroupPropertyHeightChanged}};
    QList<cGroupProperty*> groups;
    for (const sCandidate& candidate : qAsConst(candidates))
    {
        auto* group = new cGroupProperty(candidate.properties.first(), this);
        for (int i = 0; i < candidate.properties.size(); ++i)
            group->ConnectProperty(candidate.properties.at(i), candidate.widgets.at(i));
        for (const auto& rectSlot : rectSlots)
        {
            if (group->name() == rectSlot.first)
                connect(group, &cGroupProperty::GroupSizeFractionValueChanged, this, rectSlot.second);
        }
        groups.append(group);
    }
    mCurrentSelectionProperties->append(groups);
    SetSelectionCount(selected.size());
    UpdateSelectionRect();
}

QList<cWidget*> cLayoutSelectionManager::GetSelectedWidgets() const
{
    QList<cWidget*> out;
    for (cWidget* widget : Children(nullptr))
    {
        if (widget->IsSelected())
            out.append(widget);
        GetSelectedWidgetChildren(widget, out);
    }
    return out;
}

void cLayoutSelectionManager::GetSelectedWidgetChildren(cWidget* widget, QList<cWidget*>& out) const
{
    auto* container = qobject_cast<cContainer*>(widget);
    if (!container)
        return;
    for (cWidget* child : Children(container))
    {
        if (child->IsSelected())
            out.append(child);
        GetSelectedWidgetChildren(child, out);
    }
}

QList<sSelectionGroup> cLayoutSelectionManager::GetSelectedWidgetsInContainerGroups(cContainer* container) const
{
    QList<sSelectionGroup> groups;
    sSelectionGroup own{container, {}};
    for (cWidget* child : Children(container))
    {
        if (child->IsSelected())
            own.widgets.append(child);
        if (auto* inner = qobject_cast<cContainer*>(child))
            groups += GetSelectedWidgetsInContainerGroups(inner);
    }
    if (!own.widgets.isEmpty())
        groups.append(own);
    return groups;
}

cWidget* cLayoutSelectionManager::GetFirstSelectedWidget(cContainer* container) const
{
    for (cWidget* child : Children(container))
    {
        if (child->IsSelected())
            return child;
        if (auto* inner = qobject_cast<cContainer*>(child))
        {
            if (cWidget* found = GetFirstSelectedWidget(inner))
                return found;
        }
    }
    return nullptr;
}

cWidget* cLayoutSelectionManager::GetLastSelectedWidget(cContainer* container) const
{
    cWidget* last = nullptr;
    for (cWidget* child : Children(container))
    {
        if (auto* inner = qobject_cast<cContainer*>(child))
        {
            if (cWidget* found = GetLastSelectedWidget(inner))
                last = found;
        }
        if (child->IsSelected())
            last = child;
    }
    return last;
}

void cLayoutSelectionManager::AlignDistributeLayoutChanged()
{
    UpdateSelectionRect();
    mLayout->closeUndoBlock();
}

cGroupProperty* cLayoutSelectionManager::FindGroup(const QString& name) const
{
    for (cGroupProperty* group : mCurrentSelectionProperties->Items())
    {
        if (group->name() == name)
            return group;
    }
    return nullptr;
}

void cLayoutSelectionManager::SetGroupProperty(const QString& name, const QVariant& value)
{
    if (cGroupProperty* group = FindGroup(name))
        group->setValue(value);
}

void cLayoutSelectionManager::UpdateSelectionRect()
{
    QRectF rect;
    bool first = true;
    for (cWidget* widget : GetSelectedWidgets())
    {
        // A widget that no view shows has no place on the canvas.
        if (widget->GetQQuickItems().isEmpty())
            continue;
        const QRectF r = mLayout->FindWidgetFractionsRelativeToBase(widget);
        if (first)
        {
            rect = r;
            first = false;
            continue;
        }
        if (r.left() < rect.left())
            rect.setLeft(r.left());
        if (r.top() < rect.top())
            rect.setTop(r.top());
        if (r.right() > rect.right())
            rect.setRight(r.right());
        if (r.bottom() > rect.bottom())
            rect.setBottom(r.bottom());
    }
    SetSelectionRect(rect);
    ResetGroupPositionSizeProperties();
}

void cLayoutSelectionManager::SetSelectionRect(const QRectF& rect)
{
    if (qFuzzyCompare(rect.x(), mSelectionRect.x()) && qFuzzyCompare(rect.y(), mSelectionRect.y()) &&
        qFuzzyCompare(rect.width(), mSelectionRect.width()) && qFuzzyCompare(rect.height(), mSelectionRect.height()))
        return;
    mSelectionRect = rect;
    emit selectionRectChanged();
}

void cLayoutSelectionManager::ResetGroupPositionSizeProperties()
{
    for (cGroupProperty* group : mCurrentSelectionProperties->Items())
    {
        if (group->IsGeometryGroup())
            group->ResetOriginalFloatValues();
    }
}

void cLayoutSelectionManager::SetSelectionCount(int count)
{
    if (count == mSelectionCount)
        return;
    mSelectionCount = count;
    emit selectionCountChanged();
}

void cLayoutSelectionManager::SetCurrentSelectionType(const QString& type)
{
    if (type == mCurrentSelectionType)
        return;
    mCurrentSelectionType = type;
    emit currentSelectionTypeChanged();
}

void cLayoutSelectionManager::MoveGroup(const QString& name, double delta)
{
    QQuickItem* canvas = mLayout->editContent();
    if (cGroupProperty* group = FindGroup(name))
        group->SetFloatValueUsingDelta(static_cast<float>(delta), canvas);
}

void cLayoutSelectionManager::ScaleGroup(const QString& name, float factor)
{
    if (cGroupProperty* group = FindGroup(name))
        group->SetFloatValueUsingScalingFactor(factor);
}

void cLayoutSelectionManager::ScaleGroupAbout(const QString& name, float factor, float offset)
{
    QQuickItem* canvas = mLayout->editContent();
    if (cGroupProperty* group = FindGroup(name))
        group->SetFloatValueUsingScalingFactorAndOffset(factor, offset, canvas);
}

void cLayoutSelectionManager::FinishTransform()
{
    mLayout->UpdateSelectionContainers();
    UpdateSelectionRect();
    mLayout->closeUndoBlock();
    mLayout->updateDropAreaHighlights(nullptr, false);
}

void cLayoutSelectionManager::incrementGroupEditOverlayX(float XFractionDelta)
{
    MoveGroup(QStringLiteral("X"), XFractionDelta);
    FinishTransform();
}

void cLayoutSelectionManager::incrementGroupEditOverlayY(float YFractionDelta)
{
    MoveGroup(QStringLiteral("Y"), YFractionDelta);
    FinishTransform();
}

void cLayoutSelectionManager::setGroupEditOverlayX(float XFraction, bool GroupOverlay)
{
    MoveGroup(QStringLiteral("X"), XFraction - mTransformStartRect.x());
    if (!GroupOverlay)
        SetSelectionRect(QRectF(XFraction, mSelectionRect.y(), mSelectionRect.width(), mSelectionRect.height()));
    mLayout->UpdateCurrentSelectionDropAreaHighlights();
}

void cLayoutSelectionManager::setGroupEditOverlayY(float YFraction, bool GroupOverlay)
{
    MoveGroup(QStringLiteral("Y"), YFraction - mTransformStartRect.y());
    if (!GroupOverlay)
        SetSelectionRect(QRectF(mSelectionRect.x(), YFraction, mSelectionRect.width(), mSelectionRect.height()));
    mLayout->UpdateCurrentSelectionDropAreaHighlights();
}

void cLayoutSelectionManager::setGroupEditOverlayLeft(float LeftFraction, bool ShiftHeld)
{
    const QRectF start = mTransformStartRect;
    // A selection without width has nothing to scale by.
    if (!(start.width() > 0))
        return;
    const float factor = static_cast<float>((start.x() + start.width() - LeftFraction) / start.width());
    ScaleGroupAbout(QStringLiteral("X"), factor, static_cast<float>(start.x() + start.width()));
    ScaleGroup(QStringLiteral("Width"), factor);
    const QRectF current = mSelectionRect;
    SetSelectionRect(QRectF(LeftFraction, current.y(), current.width() - (LeftFraction - current.x()), current.height()));
    if (ShiftHeld)
        setGroupEditOverlayTop(
            static_cast<float>(start.y() + start.height() - static_cast<float>(factor * start.height())));
    mLayout->UpdateCurrentSelectionDropAreaHighlights();
}

void cLayoutSelectionManager::setGroupEditOverlayTop(float TopFraction)
{
    const QRectF start = mTransformStartRect;
    if (!(start.height() > 0))
        return;
    const float factor = static_cast<float>((start.y() + start.height() - TopFraction) / start.height());
    ScaleGroupAbout(QStringLiteral("Y"), factor, static_cast<float>(start.y() + start.height()));
    ScaleGroup(QStringLiteral("Height"), factor);
    const QRectF current = mSelectionRect;
    SetSelectionRect(QRectF(current.x(), TopFraction, current.width(), current.height() - (TopFraction - current.y())));
    mLayout->UpdateCurrentSelectionDropAreaHighlights();
}

void cLayoutSelectionManager::setGroupEditOverlayWidth(float WidthFraction, bool ShiftHeld)
{
    const QRectF start = mTransformStartRect;
    if (!(start.width() > 0))
        return;
    const float factor = static_cast<float>(WidthFraction / start.width());
    ScaleGroupAbout(QStringLiteral("X"), factor, static_cast<float>(start.x()));
    ScaleGroup(QStringLiteral("Width"), factor);
    SetSelectionRect(QRectF(mSelectionRect.x(), mSelectionRect.y(), WidthFraction, mSelectionRect.height()));
    if (ShiftHeld)
        setGroupEditOverlayHeight(static_cast<float>(factor * start.height()));
    mLayout->UpdateCurrentSelectionDropAreaHighlights();
}

void cLayoutSelectionManager::setGroupEditOverlayHeight(float HeightFraction)
{
    const QRectF start = mTransformStartRect;
    if (!(start.height() > 0))
        return;
    const float factor = static_cast<float>(HeightFraction / start.height());
    ScaleGroupAbout(QStringLiteral("Y"), factor, static_cast<float>(start.y()));
    ScaleGroup(QStringLiteral("Height"), factor);
    SetSelectionRect(QRectF(mSelectionRect.x(), mSelectionRect.y(), mSelectionRect.width(), HeightFraction));
    mLayout->UpdateCurrentSelectionDropAreaHighlights();
}

void cLayoutSelectionManager::selectionTransformStartOrEnd(bool Start)
{
    if (Start)
    {
        mTransformStartRect = mSelectionRect;
        mLayout->closeUndoBlock();
        return;
    }
    FinishTransform();
}

void cLayoutSelectionManager::GroupPropertyXChanged()
{
    UpdateSelectionRect();
}

void cLayoutSelectionManager::GroupPropertyYChanged()
{
    UpdateSelectionRect();
}

void cLayoutSelectionManager::GroupPropertyWidthChanged()
{
    UpdateSelectionRect();
}

void cLayoutSelectionManager::GroupPropertyHeightChanged()
{
    UpdateSelectionRect();
}
