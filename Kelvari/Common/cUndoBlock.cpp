#include "cUndoBlock.h"

#include "cComboProperty.h"
#include "cComboPropertyUndoAction.h"
#include "cDeleteWidgetUndoAction.h"
#include "cNewWidgetUndoAction.h"
#include "cProperty.h"
#include "ZRNet/Core/DebugTrace.h"

namespace
{
template <typename tAction>
QList<cWidget*> WidgetsOf(const QList<cUndoAction*>& actions)
{
    QList<cWidget*> widgets;
    for (cUndoAction* action : actions)
    {
        auto* widgetAction = dynamic_cast<tAction*>(action);
        if (widgetAction && widgetAction->Widget())
            widgets.append(widgetAction->Widget());
    }
    return widgets;
}
}

cUndoBlock::cUndoBlock(quint64 serialNumber) : mSerialNumber(serialNumber)
{
}

cUndoBlock::~cUndoBlock()
{
    qDeleteAll(mActions);
}

void cUndoBlock::AddAction(cUndoAction* action)
{
    if (!action)
    {
        ZR_ERROR("Null undo action not recorded");
        return;
    }
    mActions.append(action);
}

void cUndoBlock::AddPropertyAction(cProperty* property)
{
    if (!property)
    {
        ZR_ERROR("Change of a null property not recorded");
        return;
    }
    if (mRecordedProperties.contains(property))
        return;
    if (property->type() == cProperty::Combo)
    {
        auto* combo = qobject_cast<cComboProperty*>(property);
        if (!combo)
        {
            ZR_ERROR("Property %s of type Combo is no choice property", qPrintable(property->name()));
            return;
        }
        mActions.append(new cComboPropertyUndoAction(combo));
    }
    else
    {
        mActions.append(new cPropertyChangeUndoAction(property));
    }
    mRecordedProperties.insert(property);
}

void cUndoBlock::CloseUndoBlock()
{
    for (auto it = mActions.begin(); it != mActions.end();)
    {
        auto* propertyAction = dynamic_cast<cPropertyChangeUndoAction*>(*it);
        if (propertyAction)
            propertyAction->SetFinalValue();
        if (propertyAction && propertyAction->InitialValue() == propertyAction->FinalValue())
        {
            delete propertyAction;
            it = mActions.erase(it);
        }
        else
        {
            ++it;
        }
    }
    // A closed block never records again; the set would only hold stale pointers.
    mRecordedProperties.clear();
}

void cUndoBlock::Undo()
{
    for (int i = mActions.size() - 1; i >= 0; --i)
        mActions.at(i)->Undo();
}

void cUndoBlock::Redo()
{
    for (cUndoAction* action : qAsConst(mActions))
        action->Redo();
}

QList<cWidget*> cUndoBlock::GetDeletedWidgets() const
{
    return WidgetsOf<cDeleteWidgetUndoAction>(mActions);
}

QList<cWidget*> cUndoBlock::GetAddedWidgets() const
{
    return WidgetsOf<cNewWidgetUndoAction>(mActions);
}
