#pragma once

#include "cLayout.h"

#include <QList>

// The toolbar's arranging of a page's selection: alignment, distribution and
// stacking work per container (one group of selected widgets per container,
// never mixing containers), fills on the whole selection at once.
class cLayoutArranger
{
public:
    explicit cLayoutArranger(cLayout& layout) : mLayout(layout) {}

    // One undo step per container.
    void AlignSelection(cLayout::eAlignType type) const;
    void DistributeSelection(bool horizontal) const;
    void Align(const QList<cWidget*>& group, cLayout::eAlignType type) const;
    void Distribute(QList<cWidget*> group, bool horizontal) const;
    // Every selected widget fills its own container's height (or width); one undo step.
    void Fill(bool vertical) const;
    // One undo step for all containers.
    void SendSelectedToFrontOrBack(bool front) const;
    void BringSelectedForwardOrBackward(bool forward) const;

private:
    cLayout& mLayout;
};
