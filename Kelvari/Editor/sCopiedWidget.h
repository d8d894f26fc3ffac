#pragma once

#include <QHash>
#include <QPair>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include "Kelvari/Common/cContainer.h"

class cLayout;

// One widget of the copy buffer, held as the text of its element so that
// later edits or deletion of the source change nothing.
struct sCopiedWidget
{
    // Where a record was last pasted: a layout and a container location.
    using tPasteTarget = QPair<const cLayout*, int>;

    QString xml;
    // The container that held it; cleared if that container is destroyed.
    QPointer<cContainer> container;
    // Kept apart from the container, so that a destroyed container is not taken for the top level.
    bool wasTopLevel = true;
    // Fractions of that container.
    QRectF rect;
    // The offset last used for each target, so that repeated pastes cascade.
    QHash<tPasteTarget, QPointF> pasteOffsets;
    // Fractions of the page itself.
    QRectF baseRect;
};
