#pragma once

#include <QHash>
#include <QObject>
#include <QQuickItem>
#include <QRectF>
#include <memory>

class cContainer;
class cLayout;
class cWidget;

// What the layout editor's canvas does, without QML: a canvas of plain
// QQuickItems registered with the layout, one item per widget kept at the
// widget's fractions of its parent, one page item per tab of a container,
// and items built and destroyed on the layout's create and delete requests.
class cHeadlessLayoutView : public QObject
{
    Q_OBJECT

public:
    explicit cHeadlessLayoutView(cLayout& layout, const QSizeF& canvasSize = QSizeF(1000, 1000));
    ~cHeadlessLayoutView() override;

    QQuickItem* Canvas() const { return mCanvas.get(); }
    // A new widget at the rectangle (fractions of its container), shown, with its creation step closed.
    cWidget* Add(const QString& type, const QRectF& rect, cWidget* container = nullptr, int location = -1);
    // Builds the widget's item (and its children's) under the parent item.
    void Show(cWidget* widget, QQuickItem* parentItem);
    QQuickItem* ItemOf(const cWidget* widget) const;

private:
    void Place(cWidget* widget, QQuickItem* item) const;

    cLayout& mLayout;
    std::unique_ptr<QQuickItem> mCanvas;
};
