#pragma once

#include <QList>
#include <QObject>

class cLayout;
class cWidget;
class QQuickItem;

// The drop areas that dragged widgets of one layout page can fall into, kept
// in drawing order topmost first so that a drop goes to what the user sees.
class cLayoutDropAreas : public QObject
{
    Q_OBJECT

public:
    explicit cLayoutDropAreas(cLayout* layout);

    void Register(QQuickItem* area);
    // The topmost visible area that wholly holds the item; a container is not
    // offered areas too deeply nested for it.
    QQuickItem* Find(QQuickItem* item, bool itemIsContainer) const;
    // Every area is highlighted exactly when it is one of the targets.
    void Highlight(const QList<QQuickItem*>& targets) const;
    // Highlights the areas the widgets' editor items would fall into.
    void HighlightUnder(const QList<cWidget*>& widgets) const;
    // Each widget goes into the container whose area its editor item lies over, staying where it is on screen.
    void DropIntoAreasUnder(const QList<cWidget*>& widgets) const;
    const QList<QQuickItem*>& VisuallySorted() const { return mVisuallySorted; }

public slots:
    void Rebuild();

private:
    void AreaDestroyed(QQuickItem* area);

    cLayout* const mLayout;
    QList<QQuickItem*> mRegistered;
    QList<QQuickItem*> mVisuallySorted;
};
