#pragma once

#include <QList>
#include <QObject>
#include <QString>

class cWidget;
class QQuickItem;

// One tab of a tab container: the widgets placed on it and the page items
// that show it, one per view, the layout editor's first. Owns neither.
class cTab : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString tabName READ tabName NOTIFY tabNameChanged)

public:
    explicit cTab(QObject* parent);

    // No check for a second entry.
    void AddWidget(cWidget* widget);
    // Removes every entry of the widget.
    void RemoveWidget(cWidget* widget);
    void SetTabName(const QString& name);

    Q_INVOKABLE void addLinkedContainerQuickItem(QQuickItem* QuickItem, bool LayoutEditor);

    QString tabName() const { return mTabName; }
    const QList<cWidget*>& GetWidgets() const { return mWidgets; }
    const QList<QQuickItem*>& GetLinkedContainerQuickItems() const { return mLinkedContainerQuickItems; }

signals:
    void tabNameChanged();

public slots:
    // Takes the name from the sending string property.
    void SetTabNameFromProperty();

private:
    void QQuickItemDestroyed(QQuickItem* item);

    QList<cWidget*> mWidgets;
    QList<QQuickItem*> mLinkedContainerQuickItems;
    QString mTabName;
};
