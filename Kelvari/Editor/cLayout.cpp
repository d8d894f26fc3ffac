#include "cLayout.h"

#include "cEditorWidgetFactory.h"
#include "cLayoutArranger.h"
#include "cLayoutDetailsXml.h"
#include "cLayoutDropAreas.h"
#include "cLayoutOnlineMode.h"
#include "cLayoutTabOrder.h"
#include "cLayoutTree.h"
#include "cLayoutUndoManager.h"
#include "cLayoutViews.h"
#include "cLayoutZOrder.h"
#include "cWidgetClipboard.h"
#include "cWidgetCopyBuffer.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cContainer.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cXmlText.h"

#include <QQuickItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <climits>
#include <set>

cLayout::cLayout(cLayoutConfig& config)
    : QObject(&config.ConfigBase()),
      mConfig(config),
      mWidgets(new QQmlObjectListModel<cWidget>(this)),
      mUndoManager(new cLayoutUndoManager(this)),
      mSelectionManager(new cLayoutSelectionManager(this)),
      mDropAreas(new cLayoutDropAreas(this)),
      mOnlineMode(new cLayoutOnlineMode(*this, config)),
      mViews(new cLayoutViews(this))
{
    connect(mUndoManager, &cUndoManager::HasUndoChanged, this, &cLayout::hasUndoChanged);
    connect(mUndoManager, &cUndoManager::HasRedoChanged, this, &cLayout::hasRedoChanged);
    connect(mUndoManager, &cUndoManager::IsSavedChanged, this, &cLayout::IsSavedChanged);
    cLayoutConfig* owner = &config;
    connect(mWidgets, &QQmlObjectListModelBase::countChanged, &config.ConfigBase(),
            [owner] { owner->LayoutWidgetCountChanged(); });
    connect(this, &cLayout::nameChanged, &config.ConfigBase(), [owner] { owner->LayoutNameChanged(); });
    connect(&config.WidgetCopyBuffer(), &cWidgetCopyBuffer::Changed, this, &cLayout::UpdateIsPasteAllowed);
    connect(mOnlineMode, &cLayoutOnlineMode::ConfigClientNotFoundSignal, this, &cLayout::configClientNotFound);
    connect(mOnlineMode, &cLayoutOnlineMode::AuthenticationFailedSignal, this,
            &cLayout::authenticationFailedSignal);
    mIsPasteAllowed = config.HasCopiedWidgets();
}

cLayout* cLayout::CreateFromXml(QXmlStreamReader& reader, cLayoutConfig& config, cConfigReadReport* report)
{
    const sLayoutDetails details = cLayoutDetailsXml::Read(reader.attributes());
    auto* layout = new cLayout(config);
    layout->SetLayoutDetails(details);

    const cEditorWidgetFactory factory(report);
    std::shared_ptr<cKelvariConfigClient> client;
    while (reader.readNextStartElement())
    {
        if (reader.name() != QLatin1String("Widget"))
        {
            factory.LeaveOut(reader, cConfigReadReport::eLeftOut::ElementNotKnown);
            continue;
        }
        // A widget left out has its element skipped whole, so that the widgets after it still load.
        cWidget* widget = factory.CreateFromXml(reader, config.ConfigBase(), layout, client);
        if (widget)
        {
            layout->mWidgets->append(widget);
            layout->LinkPropertiesToUndoManager(widget);
            layout->IncreaseNextIdOnLoad(widget);
        }
    }
    return layout;
}

void cLayout::WriteXml(QXmlStreamWriter& writer) const
{
    writer.writeStartElement(QStringLiteral("Layout"));
    cLayoutDetailsXml::Write(mDetails, writer);
    for (const cWidget* widget : mWidgets->Items())
        widget->WriteXml(writer);
    writer.writeEndElement();
}

bool cLayout::SetLayoutDetails(const sLayoutDetails& given)
{
    sLayoutDetails details = given;
    details.name = cXmlText::Legal(given.name, QStringLiteral("layout name"));
    details.users = cXmlText::Legal(given.users, QStringLiteral("layout users"));
    details.scenes = cXmlText::Legal(given.scenes, QStringLiteral("layout scenes"));
    bool changed = false;
    // Assigns one field and emits its signal when it differs.
    auto assign = [this, &changed](auto& field, const auto& value, void (cLayout::*signal)()) {
        if (field == value)
            return;
        field = value;
        changed = true;
        emit(this->*signal)();
    };
    assign(mDetails.allUsers, details.allUsers, &cLayout::allUsersChanged);
    assign(mDetails.users, details.users, &cLayout::usersChanged);
    assign(mDetails.desktop, details.desktop, &cLayout::desktopChanged);
    assign(mDetails.phone, details.phone, &cLayout::phoneChanged);
    assign(mDetails.tablet, details.tablet, &cLayout::tabletChanged);
    assign(mDetails.orientation, details.orientation, &cLayout::orientationChanged);
    assign(mDetails.allScenes, details.allScenes, &cLayout::allScenesChanged);
    assign(mDetails.scenes, details.scenes, &cLayout::scenesChanged);
    assign(mDetails.fixedAspectRatio, details.fixedAspectRatio, &cLayout::fixedAspectRatioChanged);
    assign(mDetails.aspectRatio1, details.aspectRatio1, &cLayout::aspectRatio1Changed);
    assign(mDetails.aspectRatio2, details.aspectRatio2, &cLayout::aspectRatio2Changed);
    assign(mDetails.name, details.name, &cLayout::nameChanged);
    return changed;
}

void cLayout::SetName(const QString& given)
{
    const QString name = cXmlText::Legal(given, QStringLiteral("layout name"));
    if (name == mDetails.name)
        return;
    mDetails.name = name;
    emit nameChanged();
}

void cLayout::SetSelected(bool selected)
{
    if (selected == mSelected)
        return;
    mSelected = selected;
    emit selectedChanged();
}

bool cLayout::IsSaved() const
{
    return mUndoManager->IsSaved();
}

void cLayout::SetSavePoint()
{
    mUndoManager->SetSavePoint();
}

void cLayout::UpdateIsPasteAllowed()
{
    const bool allowed = mConfig.HasCopiedWidgets();
    if (allowed == mIsPasteAllowed)
        return;
    mIsPasteAllowed = allowed;
    emit isPasteAllowedChanged();
}

void cLayout::IncreaseNextIdOnLoad(cWidget* widget)
{
    if (!widget)
        return;
    // Kept XML of a widget this program does not know may hold widgets with ids of their own.
    const QList<int> kept = widget->KeptWidgetIds();
    const int id = std::max(widget->GetId(), kept.isEmpty() ? -1 : *std::max_element(kept.cbegin(), kept.cend()));
    mConfig.IncreaseNextIdOnLoad(std::min(id, INT_MAX - 1));
}

QStringList cLayout::GetResourceIdsUsed(cContainer* container) const
{
    std::set<QString> ids;
    const QList<cWidget*> widgets = container ? container->GetWidgetChildren()->Items() : mWidgets->Items();
    for (cWidget* widget : widgets)
    {
        for (const cProperty* property : widget->GetProperties())
        {
            // By type, which is cheaper than a cast across every property of a large config.
            if (property->type() == cProperty::Image)
                ids.insert(property->stringValue());
        }
        if (auto* inner = qobject_cast<cContainer*>(widget))
        {
            const QStringList innerIds = GetResourceIdsUsed(inner);
            ids.insert(innerIds.begin(), innerIds.end());
        }
    }
    return QStringList(ids.begin(), ids.end());
}

bool cLayout::IsOnline() const
{
    return mOnlineMode->IsOnline();
}

void cLayout::setOnline(QString HostIpAddress)
{
    mOnlineMode->SetOnline(HostIpAddress);
}

void cLayout::setOffline()
{
    mOnlineMode->SetOffline();
}

bool cLayout::hasUndo() const
{
    return mUndoManager->HasUndo();
}

bool cLayout::hasRedo() const
{
    return mUndoManager->HasRedo();
}

void cLayout::setEditContent(QQuickItem* item)
{
    if (item == mEditContent)
        return;
    mEditContent = item;
    RebuildVisuallySortedDropAreaList();
    emit editContentChanged();
}

void cLayout::setLayoutDetails(bool AllUsers, QString UsersString, bool Desktop, bool Phone, bool Tablet,
                               int Orientation, bool AllScenes, QString ScenesString, bool FixedAspectRatio,
                               int AspectRatio1, int AspectRatio2, bool PastedLayout, QString Name)
{
    const sLayoutDetails oldDetails = mDetails;
    const sLayoutDetails details{AllUsers,  UsersString,  Desktop,          Phone,        Tablet,       Orientation,
                                 AllScenes, ScenesString, FixedAspectRatio, AspectRatio1, AspectRatio2, Name};
    if (SetLayoutDetails(details) && !PastedLayout)
        mConfig.LayoutDetailsChanged(this, oldDetails, mDetails);
}

void cLayout::commitPendingEdits()
{
    emit commitRequest();
}

void cLayout::undoPressed()
{
    commitPendingEdits();
    mUndoManager->Undo();
    mSelectionManager->SetCurrentSelectionProperties();
}

void cLayout::redoPressed()
{
    commitPendingEdits();
    mUndoManager->Redo();
    mSelectionManager->SetCurrentSelectionProperties();
}

void cLayout::closeUndoBlock()
{
    mUndoManager->CloseUndoBlock();
}

void cLayout::clearUndoRedo()
{
    mUndoManager->ClearUndoRedo();
}

bool cLayout::Locate(cWidget* widget, cContainer* within, cContainer*& holder, int& level) const
{
    return cLayoutTree::Locate(widget, within ? within->GetWidgetChildren()->Items() : mWidgets->Items(), within,
                               holder, level);
}

bool cLayout::IsOnPage(cWidget* widget) const
{
    cContainer* holder = nullptr;
    int level = -1;
    return widget && Locate(widget, nullptr, holder, level);
}

cContainer* cLayout::FindContainer(cWidget* widget, cContainer* container) const
{
    cContainer* holder = nullptr;
    int level = -1;
    return Locate(widget, container, holder, level) ? holder : nullptr;
}

int cLayout::GetNestingLevel(cWidget* widget, cContainer* container) const
{
    cContainer* holder = nullptr;
    int level = -1;
    return Locate(widget, container, holder, level) ? level : -1;
}

void cLayout::LinkPropertiesToUndoManager(cWidget* widget)
{
    if (!widget)
        return;
    // The property travels with the connection: asking a slot for its sender walks every connection
    // made to the manager, one per property of the page.
    cLayoutUndoManager* manager = mUndoManager;
    for (cProperty* property : widget->GetProperties())
        connect(property, &cProperty::ValueAboutToChange, manager,
                [manager, property] { manager->AddPropertyChangeAction(property); });
}

QRectF cLayout::FindWidgetFractionsRelativeToBase(cWidget* widget) const
{
    return cLayoutTree::CanvasFractions(widget, mEditContent);
}

QQuickItem* cLayout::GetLinkedContentItem(cWidget* widget, int location, int viewIndex) const
{
    if (cContainer* container = FindContainer(widget))
        return mViews->InView(container->LinkedContainerQuickItems(location), viewIndex);
    return mViews->ContentItem(viewIndex);
}

void cLayout::registerContentItem(QQuickItem* ContentItem, bool LayoutEditor)
{
    mViews->Register(ContentItem, LayoutEditor);
}

QQuickItem* cLayout::getParentItem(cWidget* Widget, int ContainerLocation, bool TestWindow) const
{
    return GetLinkedContentItem(Widget, ContainerLocation,
                                TestWindow ? cLayoutViews::eTestWindow : cLayoutViews::eThumbnail);
}

QQuickItem* cLayout::getThumbnailContentItem() const
{
    return mViews->ContentItem(cLayoutViews::eThumbnail);
}

bool cLayout::isWidgetTypeAContainer(QString Type) const
{
    return cEditorWidgetFactory::IsWidgetTypeAContainer(Type);
}

void cLayout::registerDropArea(QQuickItem* DropArea)
{
    mDropAreas->Register(DropArea);
}

void cLayout::RebuildVisuallySortedDropAreaList()
{
    mDropAreas->Rebuild();
}

QQuickItem* cLayout::findDropArea(QQuickItem* ItemDropped, bool ItemDroppedIsContainer) const
{
    return mDropAreas->Find(ItemDropped, ItemDroppedIsContainer);
}

void cLayout::updateDropAreaHighlights(QQuickItem* ItemDragged, bool ItemDraggedIsContainer)
{
    QList<QQuickItem*> targets;
    if (QQuickItem* target = findDropArea(ItemDragged, ItemDraggedIsContainer))
        targets.append(target);
    mDropAreas->Highlight(targets);
}

void cLayout::UpdateCurrentSelectionDropAreaHighlights()
{
    mDropAreas->HighlightUnder(mSelectionManager->GetSelectedWidgets());
}

void cLayout::UpdateSelectionContainers()
{
    mDropAreas->DropIntoAreasUnder(mSelectionManager->GetSelectedWidgets());
}

cWidget* cLayout::NextWidgetInTabOrder(cWidget* widget) const
{
    return cLayoutTabOrder(*this).Next(widget);
}

cWidget* cLayout::PreviousWidgetInTabOrder(cWidget* widget) const
{
    return cLayoutTabOrder(*this).Previous(widget);
}

void cLayout::tabPressed()
{
    SelectInTabOrder(NextWidgetInTabOrder(mSelectionManager->GetLastSelectedWidget(nullptr)));
}

void cLayout::backtabPressed()
{
    SelectInTabOrder(PreviousWidgetInTabOrder(mSelectionManager->GetFirstSelectedWidget(nullptr)));
}

void cLayout::SelectInTabOrder(cWidget* widget)
{
    if (!widget)
        return;
    if (cContainer* container = FindContainer(widget))
        container->SetCurrentContainerIndex(container->getContainerLocation(widget));
    mSelectionManager->setSelection(widget);
}

void cLayout::SendToFrontOrBack(QList<cWidget*> selected, QList<cWidget*> stack, bool front) const
{
    cLayoutZOrder::SendToFrontOrBack(selected, stack, front);
}

bool cLayout::BringForwardOrBackward(QList<cWidget*> selected, QList<cWidget*> stack, bool forward) const
{
    return cLayoutZOrder::BringForwardOrBackward(selected, stack, forward);
}

void cLayout::SendToFront(const QList<cWidget*>& selected, const QList<cWidget*>& stack) const
{
    SendToFrontOrBack(selected, stack, true);
}

void cLayout::SendToBack(const QList<cWidget*>& selected, const QList<cWidget*>& stack) const
{
    SendToFrontOrBack(selected, stack, false);
}

void cLayout::sendToFrontPressed() { commitPendingEdits(); cLayoutArranger(*this).SendSelectedToFrontOrBack(true); }
void cLayout::sendToBackPressed() { commitPendingEdits(); cLayoutArranger(*this).SendSelectedToFrontOrBack(false); }
void cLayout::bringForwardPressed()
{
    commitPendingEdits();
    cLayoutArranger(*this).BringSelectedForwardOrBackward(true);
}
void cLayout::sendBackwardPressed()
{
    commitPendingEdits();
    cLayoutArranger(*this).BringSelectedForwardOrBackward(false);
}
void cLayout::alignRightPressed() { commitPendingEdits(); cLayoutArranger(*this).AlignSelection(Right); }
void cLayout::alignLeftPressed() { commitPendingEdits(); cLayoutArranger(*this).AlignSelection(Left); }
void cLayout::alignHCentrePressed() { commitPendingEdits(); cLayoutArranger(*this).AlignSelection(HCentre); }
void cLayout::alignTopPressed() { commitPendingEdits(); cLayoutArranger(*this).AlignSelection(Top); }
void cLayout::alignBottomPressed() { commitPendingEdits(); cLayoutArranger(*this).AlignSelection(Bottom); }
void cLayout::alignVCentrePressed() { commitPendingEdits(); cLayoutArranger(*this).AlignSelection(VCentre); }
void cLayout::distributeVPressed() { commitPendingEdits(); cLayoutArranger(*this).DistributeSelection(false); }
void cLayout::distributeHPressed() { commitPendingEdits(); cLayoutArranger(*this).DistributeSelection(true); }
void cLayout::fillVerticalPressed() { commitPendingEdits(); cLayoutArranger(*this).Fill(true); }
void cLayout::fillHorizontalPressed() { commitPendingEdits(); cLayoutArranger(*this).Fill(false); }

void cLayout::copyPressed() { commitPendingEdits(); cWidgetClipboard(*this).Copy(); }
void cLayout::pastePressed() { commitPendingEdits(); cWidgetClipboard(*this).Paste(); }

void cLayout::cutPressed()
{
    copyPressed();
    deletePressed();
}

void cLayout::NormalizeZ(const QList<cWidget*>& list) const
{
    cLayoutZOrder::NormalizeZ(list);
}

const QList<QQuickItem*>& cLayout::GetVisuallySortedDropAreas() const
{
    return mDropAreas->VisuallySorted();
}
