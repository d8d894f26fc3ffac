#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QQuickItem;

// The content items of the views that show one layout page, each kept in the
// place of its kind: 0 the layout editor's canvas, 1 the thumbnail, 2 the test
// window. A view rebuilt while another is open takes its own place again, so
// an item is always matched with the parent in its own view, whatever order
// the views registered in.
class cLayoutViews : public QObject
{
    Q_OBJECT

public:
    enum eView
    {
        eEditor = 0,
        eThumbnail = 1,
        eTestWindow = 2,
        eViewCount = 3,
    };

    explicit cLayoutViews(QObject* parent);

    // A view that is not the editor says by its "isTestWindow" property whether it is the test window.
    void Register(QQuickItem* contentItem, bool layoutEditor);
    QQuickItem* ContentItem(int view) const;
    // The registered content items in view order.
    QList<QQuickItem*> ContentItems() const;
    // The view an item lies in; -1 when it lies in none of them.
    int ViewOf(const QQuickItem* item) const;
    // Of the candidates, the one that lies in the view; null when none does.
    QQuickItem* InView(const QList<QQuickItem*>& candidates, int view) const;
    // For each item, the candidate in the item's own view; for an item whose
    // view is unknown, the candidate at the same place, as views used to be kept.
    QList<QQuickItem*> ParentsFor(const QList<QQuickItem*>& items, const QList<QQuickItem*>& candidates) const;

private:
    QPointer<QQuickItem> mContentItems[eViewCount];
};
