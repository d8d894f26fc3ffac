#pragma once

#include <QList>
#include <QRectF>

class cContainer;
class cWidget;
class QQuickItem;

// Searches of a page's widget tree, from a list of widgets down through the
// children of every container in it.
class cLayoutTree
{
public:
    // Where the widget sits below the members (the children of membersHolder,
    // null for the page's top level): the container holding it and its depth.
    static bool Locate(cWidget* widget, const QList<cWidget*>& members, cContainer* membersHolder,
                       cContainer*& holder, int& level);
    // True when candidate is the widget or lies inside it.
    static bool IsWithin(const cWidget* candidate, cWidget* widget);
    // The widget's rectangle as fractions of the canvas, through its editor item; null when not shown.
    static QRectF CanvasFractions(cWidget* widget, QQuickItem* canvas);
    // Gives each item of the widget the parent of the same view. With keepPlace the widget's
    // fractions change first so that it stays where it is on screen.
    static void MoveItems(cWidget* widget, const QList<QQuickItem*>& items, const QList<QQuickItem*>& parents,
                          bool keepPlace);
};
