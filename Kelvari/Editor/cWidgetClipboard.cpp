#include "cWidgetClipboard.h"

#include "cEditorWidgetFactory.h"
#include "cLayout.h"
#include "cWidgetCopyBuffer.h"
#include "cWidgetIdRenumbering.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cResourceUndoManager.h"

#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <memory>

namespace
{
const QList<cWidget*>& Children(const cLayout& layout, cContainer* container)
{
    return container ? container->GetWidgetChildren()->Items() : layout.GetWidgets()->Items();
}

// The widgets not inside a selected container, found in one walk of the tree.
void CollectEligible(const cLayout& layout, cContainer* container, QSet<cWidget*>& out)
{
    for (cWidget* widget : Children(layout, container))
    {
        out.insert(widget);
        auto* inner = qobject_cast<cContainer*>(widget);
        if (inner && !inner->IsSelected())
            CollectEligible(layout, inner, out);
    }
}
}

void cWidgetClipboard::Copy() const
{
    QSet<cWidget*> eligible;
    CollectEligible(mLayout, nullptr, eligible);
    QList<sCopiedWidget> records;
    QList<cWidget*> copied;
    for (cWidget* widget : mLayout.selectionManager()->GetSelectedWidgets())
    {
        if (!eligible.contains(widget))
            continue;
        copied.append(widget);
        cContainer* container = mLayout.FindContainer(widget);
        sCopiedWidget record;
        record.xml = GetWidgetXml(widget);
        record.container = container;
        record.wasTopLevel = !container;
        record.rect = QRectF(widget->xFraction(), widget->yFraction(), widget->widthFraction(),
                             widget->heightFraction());
        record.pasteOffsets.insert({&mLayout, container ? container->getContainerLocation(widget) : 0}, QPointF());
        record.baseRect = mLayout.FindWidgetFractionsRelativeToBase(widget);
        records.append(record);
    }
    cWidgetCopyBuffer& buffer = mLayout.GetConfig().WidgetCopyBuffer();
    buffer.Images().Copy(copied, mLayout.GetConfig().ConfigBase());
    buffer.Replace(records);
}

bool cWidgetClipboard::FindWidgetIsElibigleForCopy(cWidget* widget, cContainer* container) const
{
    const QList<cWidget*>& members = Children(mLayout, container);
    if (members.contains(widget))
        return !container || !container->IsSelected();
    for (cWidget* member : members)
    {
        auto* inner = qobject_cast<cContainer*>(member);
        if (inner && !inner->IsSelected() && FindWidgetIsElibigleForCopy(widget, inner))
            return true;
    }
    return false;
}

QString cWidgetClipboard::GetWidgetXml(cWidget* widget)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    widget->WriteXml(writer);
    return xml;
}

cWidget* cWidgetClipboard::CloneWidgetFromXml(QString xml) const
{
    xml = cWidgetIdRenumbering::Renumber(xml, mLayout.GetConfig());
    if (xml.isEmpty())
        return nullptr;
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    std::shared_ptr<cKelvariConfigClient> client;
    return cEditorWidgetFactory().CreateFromXml(reader, mLayout.GetConfig().ConfigBase(), &mLayout, client);
}

bool cWidgetClipboard::DoesWidgetExistInLayout(cWidget* widget, cContainer* container) const
{
    for (cWidget* member : Children(mLayout, container))
    {
        if (member == widget)
            return true;
        auto* inner = qobject_cast<cContainer*>(member);
        if (inner && DoesWidgetExistInLayout(widget, inner))
            return true;
    }
    return false;
}

cContainer* cWidgetClipboard::TargetContainer(const sCopiedWidget& record) const
{
    cContainer* container = record.container.data();
    return !record.wasTopLevel && container && DoesWidgetExistInLayout(container, nullptr) ? container : nullptr;
}

QRectF cWidgetClipboard::TopLevelRect(const sCopiedWidget& record)
{
    // A page that was never shown gives no place on it; the widget's own fractions are the best there is.
    return record.wasTopLevel || record.baseRect.isNull() ? record.rect : record.baseRect;
}

QHash<cContainer*, QRectF> cWidgetClipboard::GetCopyBufferBoundingRectsPerContainer() const
{
    QHash<cContainer*, QRectF> rects;
    for (const sCopiedWidget& record : mLayout.GetConfig().WidgetCopyBuffer().Records())
    {
        cContainer* target = TargetContainer(record);
        QRectF& rect = rects[target];
        rect = rect.united(target ? record.rect : TopLevelRect(record));
    }
    return rects;
}

void cWidgetClipboard::Paste() const
{
    const QHash<cContainer*, QRectF> bounds = GetCopyBufferBoundingRectsPerContainer();
    QList<cContainer*> targets;
    QHash<cContainer*, QList<cWidget*>> pastedPerTarget;
    QList<cWidget*> pasted;
    cWidgetCopyBuffer& buffer = mLayout.GetConfig().WidgetCopyBuffer();
    cConfigBase& config = mLayout.GetConfig().ConfigBase();
    bool picturesAdded = false;
    for (sCopiedWidget& record : buffer.Records())
    {
        cContainer* target = TargetContainer(record);
        cWidget* widget = CloneWidgetFromXml(record.xml);
        if (!widget)
            continue;
        // Pictures from another document, or deleted since the copy, come back as an undo step of the
        // resource page; the widget's own step cannot hold them.
        for (cImageResource* image : buffer.Images().Fit({widget}, config))
        {
            config.InsertNewResource(image);
            config.ResourceUndoManager()->AddNewResource(image, &config);
            picturesAdded = true;
        }
        if (!target)
        {
            const QRectF rect = TopLevelRect(record);
            widget->setXFraction(rect.x());
            widget->setYFraction(rect.y());
            widget->setWidthFraction(rect.width());
            widget->setHeightFraction(rect.height());
        }
        const int location = target ? target->GetCurrentContainerIndex() : 0;
        const sCopiedWidget::tPasteTarget key{&mLayout, location};
        QPointF offset;
        if (record.pasteOffsets.contains(key))
            offset = record.pasteOffsets.value(key) + QPointF(0.01, 0.01);
        const QRectF bound = bounds.value(target);
        if (bound.left() + bound.width() + offset.x() > 1.0)
            offset.setX(-bound.left());
        if (bound.top() + bound.height() + offset.y() > 1.0)
            offset.setY(-bound.top());
        widget->setXFraction(static_cast<float>(widget->xFraction() + offset.x()));
        widget->setYFraction(static_cast<float>(widget->yFraction() + offset.y()));
        record.pasteOffsets.insert(key, offset);

        if (target)
            target->AddContainerChild(widget, location);
        else
            mLayout.GetWidgets()->append(widget);
        mLayout.LinkPropertiesToUndoManager(widget);
        if (!targets.contains(target))
            targets.append(target);
        pastedPerTarget[target].append(widget);
        pasted.append(widget);
        mLayout.AddPastedWidgetUndoActions(widget, target, location);
        mLayout.RecursiveCreateRequest(widget,
                                       target ? target->LinkedContainerQuickItems(location).value(0)
                                              : mLayout.editContent(),
                                       location);
    }
    for (cContainer* target : qAsConst(targets))
        mLayout.SendToFront(pastedPerTarget.value(target), Children(mLayout, target));
    cLayoutSelectionManager* selection = mLayout.selectionManager();
    selection->SetContainerSelection(nullptr, nullptr);
    selection->SelectMultiple(pasted);
    // A paste is a step of its own, not the start of whatever the user does next.
    mLayout.closeUndoBlock();
    if (picturesAdded)
        config.ResourceUndoManager()->CloseUndoBlock();
}
