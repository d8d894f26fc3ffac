#include "cConfig.h"

#include "cConfigUndoManager.h"
#include "cImageFile.h"
#include "cLayout.h"
#include "cWidgetIdRenumbering.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cLowestFreeId.h"
#include "Kelvari/Common/cResourceUndoManager.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

namespace
{
bool DetailsLessThan(const sLayoutDetails& a, const sLayoutDetails& b)
{
    // Within each flag, false goes first.
    for (const auto flag : {&sLayoutDetails::allUsers, &sLayoutDetails::desktop, &sLayoutDetails::phone,
                            &sLayoutDetails::tablet})
    {
        if (a.*flag != b.*flag)
            return !(a.*flag);
    }
    if (a.orientation != b.orientation)
        return a.orientation > b.orientation;
    if (a.allScenes != b.allScenes)
        return !a.allScenes;
    if (a.users != b.users)
        return a.users < b.users;
    return a.scenes < b.scenes;
}
}

cConfig::cConfig(QObject* parent)
    : cConfigBase(parent)
    , mLayouts(new QQmlObjectListModel<cLayout>(this))
    , mConfigUndoManager(new cConfigUndoManager(this))
{
    connect(mLayouts, &QQmlObjectListModelBase::countChanged, this, &cConfig::LayoutCountChanged);
    connect(mConfigUndoManager, &cUndoManager::HasUndoChanged, this, &cConfig::hasUndoChanged);
    connect(mConfigUndoManager, &cUndoManager::HasRedoChanged, this, &cConfig::hasRedoChanged);
    connect(mConfigUndoManager, &cUndoManager::IsSavedChanged, this, &cConfig::UpdateDirty);
    connect(ResourceUndoManager(), &cUndoManager::IsSavedChanged, this, &cConfig::UpdateDirty);
}

bool cConfig::LayoutLessThan(const cLayout* a, const cLayout* b)
{
    return DetailsLessThan(a->LayoutDetails(), b->LayoutDetails());
}

cConfig::~cConfig()
{
    // Layouts and their widgets go while the document is still whole: widgets
    // hold it as their resource source.
    mBatch = true;
    // The base destroys the resource undo manager, whose last signals would reach this object's slots
    // after this part of it is gone.
    disconnect(ResourceUndoManager(), nullptr, this, nullptr);
    DeletePendingPaste();
    mConfigUndoManager->ClearUndoRedo();
    qDeleteAll(findChildren<cLayout*>(QString(), Qt::FindDirectChildrenOnly));
}

bool cConfig::hasUndo() const
{
    return mConfigUndoManager->HasUndo();
}

bool cConfig::hasRedo() const
{
    return mConfigUndoManager->HasRedo();
}

void cConfig::setSelectedLayoutIndex(int index)
{
    for (int i = 0; i < mLayouts->count(); ++i)
        mLayouts->At(i)->SetSelected(i == index);
    if (index == mSelectedLayoutIndex)
        return;
    mSelectedLayoutIndex = index;
    emit selectedLayoutIndexChanged();
}

void cConfig::Reset(bool createDefaultLayout)
{
    mBatch = true;
    mConfigUndoManager->ClearUndoRedo();
    ResourceUndoManager()->ClearUndoRedo();
    // Emptied histories are the saved state of the empty document.
    mConfigUndoManager->SetSavePoint();
    ResourceUndoManager()->SetSavePoint();
    SetDirty(false);
    mNextId = 0;
    mIdsTakenAfterTheLast.clear();
    mLoadFailureText.clear();
    DeletePendingPaste();
    UpdateIsPasteAllowed();
    setSelectedLayoutIndex(-1);
    setSelectedResourceIndex(-1);
    mLayouts->clear();
    // Besides the listed layouts, those the cleared undo history kept alive.
    const QList<cLayout*> doomed = findChildren<cLayout*>(QString(), Qt::FindDirectChildrenOnly);
    if (createDefaultLayout)
    {
        auto* layout = new cLayout(*this);
        mLayouts->append(layout);
        layout->SetName(QStringLiteral("Layout 1"));
        Adopt(layout);
    }
    qDeleteAll(doomed);
    cConfigBase::Reset(true);
    mBatch = false;
    UpdateLayoutNamesOfResources();
    SetDirty(false);
}

int cConfig::InsertLayout(cLayout* layout)
{
    if (!layout || mLayouts->contains(layout))
    {
        ZR_ERROR("No layout to insert, or already listed");
        return mLayouts->indexOf(layout);
    }
    // A layout back from undo keeps its flag only when no other layout took the selection meanwhile.
    if (layout->selected() && GetSelectedLayout())
        layout->SetSelected(false);
    int index = 0;
    while (index < mLayouts->count() && !LayoutLessThan(layout, mLayouts->At(index)))
        ++index;
    mLayouts->insert(index, layout);
    FollowSelectedLayout();
    return index;
}

// The flags stay with the layout objects; the index is brought to wherever the flagged one now is.
void cConfig::FollowSelectedLayout()
{
    const int index = mLayouts->indexOf(GetSelectedLayout());
    if (index == mSelectedLayoutIndex)
        return;
    mSelectedLayoutIndex = index;
    emit selectedLayoutIndexChanged();
}

cLayout* cConfig::GetSelectedLayout() const
{
    for (cLayout* layout : mLayouts->Items())
    {
        if (layout->selected())
            return layout;
    }
    return nullptr;
}

QString cConfig::GetLayoutXml(cLayout* layout) const
{
    QString xml;
    if (!layout)
        return xml;
    QXmlStreamWriter writer(&xml);
    layout->WriteXml(writer);
    return xml;
}

cLayout* cConfig::CloneLayoutFromXml(QString xml)
{
    xml = cWidgetIdRenumbering::Renumber(xml, *this);
    if (xml.isEmpty())
        return nullptr;
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    const bool batch = mBatch;
    mBatch = true;
    cLayout* layout = cLayout::CreateFromXml(reader, *this);
    mBatch = batch;
    layout->SetName(layout->name() + QStringLiteral(" copy"));
    return layout;
}

void cConfig::SetSavePoint()
{
    mConfigUndoManager->SetSavePoint();
    ResourceUndoManager()->SetSavePoint();
    for (cLayout* layout : mLayouts->Items())
        layout->SetSavePoint();
    UpdateDirty();
}

void cConfig::SetDirty(bool dirty)
{
    if (dirty == mDirty)
        return;
    mDirty = dirty;
    emit dirtyChanged();
}

void cConfig::UpdateDirty()
{
    bool saved = mConfigUndoManager->IsSaved() && ResourceUndoManager()->IsSaved();
    for (int i = 0; saved && i < mLayouts->count(); ++i)
        saved = mLayouts->At(i)->IsSaved();
    SetDirty(!saved);
}

void cConfig::Adopt(cLayout* layout)
{
    connect(layout, &cLayout::IsSavedChanged, this, &cConfig::UpdateDirty, Qt::UniqueConnection);
}

void cConfig::createNewLayout(bool AllUsers, QString UsersString, bool Desktop, bool Phone, bool Tablet,
                              int Orientation, bool AllScenes, QString ScenesString, bool FixedAspectRatio,
                              int AspectRatio1, int AspectRatio2, QString Name)
{
    auto* layout = new cLayout(*this);
    Adopt(layout);
    const sLayoutDetails details{AllUsers,  UsersString,  Desktop,          Phone,        Tablet,       Orientation,
                                 AllScenes, ScenesString, FixedAspectRatio, AspectRatio1, AspectRatio2, Name};
    layout->SetLayoutDetails(details);
    InsertLayout(layout);
    mConfigUndoManager->AddNewLayoutAction(layout, this);
    mConfigUndoManager->CloseUndoBlock();
}

void cConfig::deleteLayout(cLayout* Layout)
{
    if (!Layout || !mLayouts->contains(Layout))
        return;
    RemoveLayout(Layout);
    mConfigUndoManager->AddDeleteLayoutAction(Layout, this);
    mConfigUndoManager->CloseUndoBlock();
}

void cConfig::RemoveLayout(cLayout* layout)
{
    // The layout is the document's child, so the model does not delete it.
    mLayouts->remove(layout);
    FollowSelectedLayout();
}

void cConfig::undoPressed()
{
    mConfigUndoManager->Undo();
}

void cConfig::redoPressed()
{
    mConfigUndoManager->Redo();
}

void cConfig::copyPressed()
{
    if (cLayout* layout = GetSelectedLayout())
    {
        mLayoutClipboard = GetLayoutXml(layout);
        mLayoutClipboardImages.Copy(*layout, *this);
    }
    UpdateIsPasteAllowed();
}

void cConfig::cutPressed()
{
    copyPressed();
    deletePressed();
    UpdateIsPasteAllowed();
}

void cConfig::deletePressed()
{
    if (cLayout* layout = GetSelectedLayout())
        deleteLayout(layout);
}

void cConfig::pastePressed()
{
    if (mLayoutClipboard.isEmpty() || mPendingPaste)
        return;
    mPendingPaste = CloneLayoutFromXml(mLayoutClipboard);
    if (!mPendingPaste)
        return;
    mPendingPasteImages = mLayoutClipboardImages.Fit(*mPendingPaste, *this);
    // Fitting the image ids is part of the paste, not an edit of the pasted layout.
    mPendingPaste->clearUndoRedo();
    UpdateIsPasteAllowed();
    emit requestDetailsDialog(mPendingPaste);
}

void cConfig::acceptPendingPaste()
{
    if (!mPendingPaste)
        return;
    cLayout* layout = mPendingPaste;
    mPendingPaste = nullptr;
    // The images go in the same undo step as the layout, before it, so that undo takes the layout out first.
    for (cImageResource* image : qAsConst(mPendingPasteImages))
    {
        InsertNewResource(image);
        mConfigUndoManager->AddNewResourceAction(image, this);
    }
    mPendingPasteImages.clear();
    const int index = InsertLayout(layout);
    Adopt(layout);
    mConfigUndoManager->AddNewLayoutAction(layout, this);
    mConfigUndoManager->CloseUndoBlock();
    setSelectedLayoutIndex(index);
    UpdateIsPasteAllowed();
}

void cConfig::discardPendingPaste()
{
    DeletePendingPaste();
    UpdateIsPasteAllowed();
}

void cConfig::DeletePendingPaste()
{
    delete mPendingPaste;
    mPendingPaste = nullptr;
    qDeleteAll(mPendingPasteImages);
    mPendingPasteImages.clear();
}

void cConfig::UpdateIsPasteAllowed()
{
    const bool allowed = !mLayoutClipboard.isEmpty() && !mPendingPaste;
    if (allowed == mIsPasteAllowed)
        return;
    mIsPasteAllowed = allowed;
    emit isPasteAllowedChanged();
}

int cConfig::GetNextId()
{
    if (HasNextIdLeft())
        return mNextId++;
    // Loading refuses the largest int, so once a file took the id below it a widget given that id would be
    // lost on the next open: take the lowest id that no widget holds.
    cLowestFreeId free = IdsInUse();
    return TakeLowestFreeId(free);
}

cLowestFreeId cConfig::IdsInUse() const
{
    cLowestFreeId used;
    for (int id : qAsConst(mIdsTakenAfterTheLast))
        used.Take(id);
    const auto widgets = findChildren<cWidget*>();
    for (const cWidget* widget : widgets)
    {
        used.Take(widget->GetId());
        for (int kept : widget->KeptWidgetIds())
            used.Take(kept);
    }
    return used;
}

int cConfig::TakeLowestFreeId(cLowestFreeId& free)
{
    const int id = free.TakeLowest();
    mIdsTakenAfterTheLast.insert(id);
    return id;
}

void cConfig::IncreaseNextIdOnLoad(int id)
{
    if (mNextId <= id)
        mNextId = id + 1;
}

void cConfig::LayoutDetailsChanged(cLayout* layout, const sLayoutDetails& oldDetails,
                                   const sLayoutDetails& newDetails)
{
    const int index = mLayouts->indexOf(layout);
    if (index < 0)
        return;
    if (mLayouts->count() >= 2)
    {
        int place = 0;
        while (place < mLayouts->count() &&
               (place == index || !LayoutLessThan(layout, mLayouts->At(place))))
            ++place;
        mLayouts->move(index, place);
        FollowSelectedLayout();
    }
    mConfigUndoManager->AddDetailsChangeAction(this, layout, oldDetails, newDetails);
    mConfigUndoManager->CloseUndoBlock();
}

bool cConfig::HasCopiedWidgets() const
{
    return !mWidgetCopyBuffer.IsEmpty();
}

void cConfig::UndoNewLayout(cLayout* layout)
{
    RemoveLayout(layout);
}

void cConfig::RedoDeleteLayout(cLayout* layout)
{
    RemoveLayout(layout);
}

void cConfig::RedoNewLayout(cLayout* layout)
{
    InsertLayout(layout);
}

void cConfig::UndoDeleteLayout(cLayout* layout)
{
    InsertLayout(layout);
}

void cConfig::ImageResourceIdChanged()
{
    UpdateLayoutNamesOfResources();
}

void cConfig::LayoutCountChanged()
{
    UpdateLayoutNamesOfResources();
}

void cConfig::LayoutWidgetCountChanged()
{
    UpdateLayoutNamesOfResources();
}

void cConfig::LayoutNameChanged()
{
    UpdateLayoutNamesOfResources();
}

void cConfig::UpdateLayoutNamesOfResources()
{
    if (!mBatch)
        UpdateResourceLayoutNames();
}

QList<sLayoutResourceUse> cConfig::LayoutResourceUses() const
{
    QList<sLayoutResourceUse> uses;
    if (mBatch)
        return uses;
    uses.reserve(mLayouts->count());
    for (const cLayout* layout : mLayouts->Items())
    {
        const QStringList ids = layout->GetResourceIdsUsed(nullptr);
        uses.append({layout->name(), QSet<QString>(ids.cbegin(), ids.cend())});
    }
    return uses;
}

bool cConfig::InitialImageLoad(const QUrl& fileUrl, QString& fileName, QImage& image, QByteArray& data,
                               QString& subtype)
{
    cImageFile file;
    const bool loaded = file.Load(fileUrl);
    mImageFailureText = file.FailureText();
    fileName = file.FileName();
    subtype = file.Subtype();
    image = file.Image();
    data = file.Data();
    return loaded;
}

QString cConfig::addNewImage(QUrl FileUrl)
{
    QString fileName;
    QImage image;
    QByteArray data;
    QString subtype;
    if (!InitialImageLoad(FileUrl, fileName, image, data, subtype))
        return QString();
    const QString id = QString::number(GetNextResourceId());
    auto* resource = new cImageResource(this, id, fileName, image, data, subtype, this);
    InsertNewResource(resource);
    ResourceUndoManager()->AddNewResource(resource, this);
    return id;
}

bool cConfig::changeImage(QUrl FileUrl, QString ResourceId)
{
    QString fileName;
    QImage image;
    QByteArray data;
    QString subtype;
    cResource* oldResource = nullptr;
    for (cResource* resource : Resources().Items())
    {
        if (resource->resourceId() == ResourceId)
        {
            oldResource = resource;
            break;
        }
    }
    if (!oldResource)
    {
        ZR_ERROR("No image resource has the id %s", qUtf8Printable(ResourceId));
        mImageFailureText = QStringLiteral("No image resource has the id %1").arg(ResourceId);
        return false;
    }
    if (!InitialImageLoad(FileUrl, fileName, image, data, subtype))
        return false;
    auto* newResource = new cImageResource(this, ResourceId, oldResource->Name(), image, data, subtype, this);
    ResourceUndoManager()->LinkPropertiesToUndoManager(newResource);
    ResourceUndoManager()->AddChangeResource(oldResource, newResource, this);
    ResourceUndoManager()->CloseUndoBlock();
    ReplaceResource(oldResource, newResource);
    return true;
}

void cConfig::deleteImage(int ResourceIndex)
{
    cResource* resource = Resources().At(ResourceIndex);
    if (!resource)
        return;
    RemoveResource(ResourceIndex);
    ResourceUndoManager()->AddDeleteResource(resource, this);
    ResourceUndoManager()->CloseUndoBlock();
}

QString cConfig::getResourceName(QString ResourceId) const
{
    const cResource* resource = FindResource(ResourceId);
    return resource ? resource->Name() : QStringLiteral("Unknown");
}
