#include "cLayoutArranger.h"

#include "cLayout.h"
#include "cLayoutZOrder.h"
#include "Kelvari/Common/cContainer.h"

#include <algorithm>

namespace
{
float Top(const cWidget* w)
{
    return w->yFraction();
}

float Bottom(const cWidget* w)
{
    return w->yFraction() + w->heightFraction();
}

float Left(const cWidget* w)
{
    return w->xFraction();
}

float Right(const cWidget* w)
{
    return w->xFraction() + w->widthFraction();
}

float Least(const QList<cWidget*>& group, float (*edge)(const cWidget*))
{
    float value = edge(group.first());
    for (const cWidget* widget : group)
        value = std::min(value, edge(widget));
    return value;
}

float Most(const QList<cWidget*>& group, float (*edge)(const cWidget*))
{
    float value = edge(group.first());
    for (const cWidget* widget : group)
        value = std::max(value, edge(widget));
    return value;
}

QList<cWidget*> Stack(cLayout& layout, cContainer* container)
{
    return container ? container->GetWidgetChildren()->Items() : layout.GetWidgets()->Items();
}
}

void cLayoutArranger::AlignSelection(cLayout::eAlignType type) const
{
    for (const sSelectionGroup& group : mLayout.selectionManager()->GetSelectedWidgetsInContainerGroups(nullptr))
        Align(group.widgets, type);
}

void cLayoutArranger::DistributeSelection(bool horizontal) const
{
    for (const sSelectionGroup& group : mLayout.selectionManager()->GetSelectedWidgetsInContainerGroups(nullptr))
        Distribute(group.widgets, horizontal);
}

void cLayoutArranger::Align(const QList<cWidget*>& group, cLayout::eAlignType type) const
{
    if (group.isEmpty())
        return;
    switch (type)
    {
    case cLayout::Top:
    {
        const float top = Least(group, ::Top);
        for (cWidget* widget : group)
            widget->setYFraction(top);
        break;
    }
    case cLayout::Bottom:
    {
        const float bottom = Most(group, ::Bottom);
        for (cWidget* widget : group)
            widget->setYFraction(bottom - widget->heightFraction());
        break;
    }
    case cLayout::HCentre:
    {
        const float middle = (Least(group, ::Top) + Most(group, ::Bottom)) * 0.5f;
        for (cWidget* widget : group)
            widget->setYFraction(middle - 0.5f * widget->heightFraction());
        break;
    }
    case cLayout::Left:
    {
        const float left = Least(group, ::Left);
        for (cWidget* widget : group)
            widget->setXFraction(left);
        break;
    }
    case cLayout::Right:
    {
        const float right = Most(group, ::Right);
        for (cWidget* widget : group)
            widget->setXFraction(right - widget->widthFraction());
        break;
    }
    case cLayout::VCentre:
    {
        const float middle = (Least(group, ::Left) + Most(group, ::Right)) * 0.5f;
        for (cWidget* widget : group)
            widget->setXFraction(middle - 0.5f * widget->widthFraction());
        break;
    }
    }
    mLayout.selectionManager()->AlignDistributeLayoutChanged();
}

void cLayoutArranger::Distribute(QList<cWidget*> group, bool horizontal) const
{
    if (group.size() >= 2)
    {
        auto start = horizontal ? ::Left : ::Top;
        auto end = horizontal ? ::Right : ::Bottom;
        auto size = [horizontal](const cWidget* w) { return horizontal ? w->widthFraction() : w->heightFraction(); };
        float sum = 0;
        for (const cWidget* widget : qAsConst(group))
            sum += size(widget);
        std::stable_sort(group.begin(), group.end(),
                         [start](const cWidget* a, const cWidget* b) { return start(a) < start(b); });
        const float span = end(group.last()) - start(group.first());
        const float gap = (span - sum) / static_cast<float>(group.size() - 1);
        float position = start(group.first());
        for (cWidget* widget : qAsConst(group))
        {
            if (horizontal)
                widget->setXFraction(position);
            else
                widget->setYFraction(position);
            position = position + size(widget) + gap;
        }
    }
    mLayout.selectionManager()->AlignDistributeLayoutChanged();
}

void cLayoutArranger::Fill(bool vertical) const
{
    cLayoutSelectionManager* selection = mLayout.selectionManager();
    selection->SetGroupProperty(vertical ? QStringLiteral("Y") : QStringLiteral("X"), 0);
    selection->SetGroupProperty(vertical ? QStringLiteral("Height") : QStringLiteral("Width"), 1);
    selection->AlignDistributeLayoutChanged();
}

void cLayoutArranger::SendSelectedToFrontOrBack(bool front) const
{
    for (const sSelectionGroup& group : mLayout.selectionManager()->GetSelectedWidgetsInContainerGroups(nullptr))
        cLayoutZOrder::SendToFrontOrBack(group.widgets, Stack(mLayout, group.container), front);
    mLayout.closeUndoBlock();
}

void cLayoutArranger::BringSelectedForwardOrBackward(bool forward) const
{
    for (const sSelectionGroup& group : mLayout.selectionManager()->GetSelectedWidgetsInContainerGroups(nullptr))
        cLayoutZOrder::BringForwardOrBackward(group.widgets, Stack(mLayout, group.container), forward);
    mLayout.closeUndoBlock();
}
