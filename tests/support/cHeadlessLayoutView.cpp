#include "cHeadlessLayoutView.h"

#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"

cHeadlessLayoutView::cHeadlessLayoutView(cLayout& layout, const QSizeF& canvasSize)
    : mLayout(layout), mCanvas(std::make_unique<QQuickItem>())
{
    mCanvas->setSize(canvasSize);
    layout.setEditContent(mCanvas.get());
    layout.registerContentItem(mCanvas.get(), true);
    connect(&layout, &cLayout::createRequest, this,
            [this](cWidget* widget, QQuickItem* parentItem, int) { Show(widget, parentItem); });
    connect(&layout, &cLayout::deleteRequest, this, [](QQuickItem* item) { delete item; });
}

cHeadlessLayoutView::~cHeadlessLayoutView()
{
    mLayout.setEditContent(nullptr);
}

cWidget* cHeadlessLayoutView::Add(const QString& type, const QRectF& rect, cWidget* container, int location)
{
    auto* widget = qobject_cast<cWidget*>(mLayout.createAndAddWidget(type, container, location, rect.x(), rect.y(),
                                                                     rect.width(), rect.height()));
    auto* holder = qobject_cast<cContainer*>(container);
    Show(widget, holder ? holder->LinkedContainerQuickItems(location).value(0) : mCanvas.get());
    mLayout.closeUndoBlock();
    return widget;
}

void cHeadlessLayoutView::Show(cWidget* widget, QQuickItem* parentItem)
{
    if (!widget || !parentItem || ItemOf(widget))
        return;
    auto* item = new QQuickItem(parentItem);
    item->setParent(parentItem);
    widget->setQQuickItem(item, true);
    auto place = [this, widget, item] { Place(widget, item); };
    for (auto signal : {&cWidget::xFractionChanged, &cWidget::yFractionChanged, &cWidget::widthFractionChanged,
                        &cWidget::heightFractionChanged})
        connect(widget, signal, item, place);
    connect(item, &QQuickItem::parentChanged, item, place);
    Place(widget, item);
    auto* tabs = qobject_cast<cTabContainer*>(widget);
    if (!tabs)
        return;
    for (cTab* tab : tabs->GetTabs()->Items())
    {
        auto* page = new QQuickItem(item);
        auto fill = [item, page] { page->setSize(item->size()); };
        connect(item, &QQuickItem::widthChanged, page, fill);
        connect(item, &QQuickItem::heightChanged, page, fill);
        fill();
        tab->addLinkedContainerQuickItem(page, true);
    }
    for (cWidget* child : tabs->GetWidgetChildren()->Items())
        Show(child, tabs->LinkedContainerQuickItems(tabs->getContainerLocation(child)).value(0));
}

QQuickItem* cHeadlessLayoutView::ItemOf(const cWidget* widget) const
{
    return widget ? widget->GetQQuickItems().value(0) : nullptr;
}

void cHeadlessLayoutView::Place(cWidget* widget, QQuickItem* item) const
{
    const QQuickItem* parent = item->parentItem();
    if (!parent)
        return;
    item->setPosition(QPointF(parent->width() * widget->xFraction(), parent->height() * widget->yFraction()));
    item->setSize(QSizeF(parent->width() * widget->widthFraction(), parent->height() * widget->heightFraction()));
}
