#pragma once

#include <QList>
#include <QObject>

class cLayout;
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
    const QList<QQuickItem*>& VisuallySorted() const { return mVisuallySorted; }

public slots:
    void Rebuild();

private:
    void AreaDestroyed(QQuickItem* area);

    cLayout* const mLayout;
    QList<QQuickItem*> mRegistered;
    QList<QQuickItem*> mVisuallySorted;
};
