#pragma once

#include <QList>

class cWidget;

// Restacking of one container's widgets (or of a page's top level): the z
// values of the stack are spread evenly over 0 to 1 in the new order. Sorting
// by z is stable, so widgets of equal z (a file where every z is 0) keep the
// order of their list.
class cLayoutZOrder
{
public:
    static void NormalizeZ(const QList<cWidget*>& list);
    // The selected widgets go above (or below) the rest of the stack.
    static void SendToFrontOrBack(QList<cWidget*> selected, QList<cWidget*> stack, bool front);
    // The selection goes just above the lowest widget that lies above some
    // selected widget and overlaps it (backward: just below the highest one
    // below); false, with nothing changed, when no widget qualifies.
    static bool BringForwardOrBackward(QList<cWidget*> selected, QList<cWidget*> stack, bool forward);
};
