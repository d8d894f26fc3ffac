#pragma once

#include <QHash>
#include <QRectF>
#include <QString>

class cContainer;
class cLayout;
class cWidget;
struct sCopiedWidget;

// Copy and paste of a page's widgets through the document's copy buffer:
// widgets travel as the text of their elements and come back with fresh ids,
// in the container they came from when the target page has it, else on the
// page at the same place, repeated pastes cascading by 0.01.
class cWidgetClipboard
{
public:
    explicit cWidgetClipboard(cLayout& layout) : mLayout(layout) {}

    // Replaces the buffer with the selected widgets that are not inside a selected container.
    void Copy() const;
    // Pastes the whole buffer, stacks the new widgets on top and selects them; one undo step.
    void Paste() const;

    // True when no container on the path from the container down to the widget is selected.
    bool FindWidgetIsElibigleForCopy(cWidget* widget, cContainer* container) const;
    static QString GetWidgetXml(cWidget* widget);
    // A new widget, not yet on the page, with fresh ids for it and everything inside it.
    cWidget* CloneWidgetFromXml(QString xml) const;
    bool DoesWidgetExistInLayout(cWidget* widget, cContainer* container) const;
    // Per target container (null: the top level), the union of the rectangles pasted into it.
    QHash<cContainer*, QRectF> GetCopyBufferBoundingRectsPerContainer() const;

private:
    // The record's container when this page holds it, else null.
    cContainer* TargetContainer(const sCopiedWidget& record) const;
    // Where a record lands when its container is not on the page.
    static QRectF TopLevelRect(const sCopiedWidget& record);

    cLayout& mLayout;
};
