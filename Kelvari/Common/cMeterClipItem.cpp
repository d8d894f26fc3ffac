#include "cMeterClipItem.h"

#include <QQuickWindow>
#include <QSGRectangleNode>
#include <algorithm>
#include <cmath>

cMeterClipItem::cMeterClipItem(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
}

void cMeterClipItem::setColour(const QColor& colour)
{
    if (colour == mColour)
        return;
    mColour = colour;
    emit colourChanged();
    update();
}

void cMeterClipItem::setLevel(qreal level)
{
    // A level that is no number shows nothing rather than an undefined bar.
    const qreal bounded = std::isfinite(level) ? std::clamp(level, qreal(0), qreal(1)) : qreal(0);
    if (qFuzzyCompare(bounded + 1, mLevel + 1))
        return;
    mLevel = bounded;
    emit levelChanged();
    update();
}

QSGNode* cMeterClipItem::updatePaintNode(QSGNode* node, UpdatePaintNodeData*)
{
    // The window's own rectangle node, which every scene-graph backend draws.
    auto* rectangle = static_cast<QSGRectangleNode*>(node);
    if (!rectangle)
        rectangle = window()->createRectangleNode();
    const qreal lit = height() * mLevel;
    rectangle->setRect(QRectF(0, height() - lit, width(), lit));
    rectangle->setColor(mColour);
    return rectangle;
}
