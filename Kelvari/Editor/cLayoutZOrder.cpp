#include "cLayoutZOrder.h"

#include "Kelvari/Common/cWidget.h"

#include <QRectF>
#include <algorithm>

namespace
{
void SortByZ(QList<cWidget*>& list)
{
    std::stable_sort(list.begin(), list.end(), [](const cWidget* a, const cWidget* b) { return a->z() < b->z(); });
}

QRectF Rect(const cWidget* widget)
{
    return QRectF(widget->xFraction(), widget->yFraction(), widget->widthFraction(), widget->heightFraction());
}

// The stack without the selected widgets, both sorted by z.
void Split(QList<cWidget*>& selected, QList<cWidget*>& stack)
{
    SortByZ(selected);
    for (cWidget* widget : qAsConst(selected))
        stack.removeOne(widget);
    SortByZ(stack);
}
}

void cLayoutZOrder::NormalizeZ(const QList<cWidget*>& list)
{
    const float step = list.size() >= 2 ? 1.0f / static_cast<float>(list.size() - 1) : 0.0f;
    for (int i = 0; i < list.size(); ++i)
        list.at(i)->SetZ(static_cast<float>(i) * step);
}

void cLayoutZOrder::SendToFrontOrBack(QList<cWidget*> selected, QList<cWidget*> stack, bool front)
{
    Split(selected, stack);
    NormalizeZ(front ? stack + selected : selected + stack);
}

bool cLayoutZOrder::BringForwardOrBackward(QList<cWidget*> selected, QList<cWidget*> stack, bool forward)
{
    Split(selected, stack);
    if (!forward)
    {
        std::reverse(selected.begin(), selected.end());
        std::reverse(stack.begin(), stack.end());
    }
    for (int i = 0; i < stack.size(); ++i)
    {
        const cWidget* other = stack.at(i);
        const bool qualifies = std::any_of(selected.begin(), selected.end(), [other, forward](const cWidget* s) {
            const bool beyond = forward ? s->z() < other->z() : other->z() < s->z();
            return beyond && Rect(s).intersects(Rect(other));
        });
        if (!qualifies)
            continue;
        QList<cWidget*> order = stack.mid(0, i + 1) + selected + stack.mid(i + 1);
        if (!forward)
            std::reverse(order.begin(), order.end());
        NormalizeZ(order);
        return true;
    }
    return false;
}
