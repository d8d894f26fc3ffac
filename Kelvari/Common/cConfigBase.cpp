#include "cConfigBase.h"

#include "cConfigReadReport.h"
#include "cDefaultImageResource.h"
#include "cImageResource.h"
#include "cLowestFreeId.h"
#include "cResourceUndoManager.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <climits>

namespace
{
// A user id as a number: digits only, and low enough that the number after it exists.
bool ParseUserId(const QString& id, int* number)
{
    if (!cConfigBase::IsUserResourceId(id))
        return false;
    bool ok = false;
    const int value = id.toInt(&ok);
    if (!ok || value == INT_MAX)
        return false;
    *number = value;
    return true;
}

// Compares two runs of decimal digits of any length by their value.
int CompareDecimal(const QString& a, const QString& b)
{
    const auto significant = [](const QString& digits)
    {
        int first = 0;
        while (first < digits.size() - 1 && digits.at(first) == QLatin1Char('0'))
            ++first;
        return digits.mid(first);
    };
    const QString x = significant(a);
    const QString y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

// The three numbers of a version text, or false when it is none.
bool SplitVersion(const QString& version, QStringList* numbers)
{
    static const QRegularExpression pattern(QStringLiteral("V?(\\d+)\\.(\\d+)\\.(\\d+)X?"));
    const QRegularExpressionMatch match = pattern.match(version);
    if (!match.hasMatch() || match.capturedStart() != 0)
        return false;
    *numbers = QStringList{match.captured(1), match.captured(2), match.captured(3)};
    return true;
}
}

cConfigBase::cConfigBase(QObject* parent)
    : cResourceNotifier(parent)
    , mResources(new QQmlObjectListModel<cResource>(this))
    , mResourcesAndDefaults(new QQmlObjectListModel<cResource>(this))
    , mResourceUndoManager(new cResourceUndoManager(this))
{
    connect(mResourceUndoManager, &cUndoManager::HasUndoChanged, this, &cConfigBase::hasResourceUndoChanged);
    connect(mResourceUndoManager, &cUndoManager::HasRedoChanged, this, &cConfigBase::hasResourceRedoChanged);
    BuildDefaultResources();
}

cConfigBase::~cConfigBase()
{
    // The undo actions point at resources; they go before the resources do.
    delete mResourceUndoManager;
}

const QList<sThemeInfo>& cConfigBase::ThemeInfoList()
{
    static const QList<sThemeInfo> themes{
        {5, 0, 5, 0, 5, 5, QStringLiteral("#6EFF36")},
        {5, 0, 5, 0, 5, 5, QStringLiteral("#FE4F00")},
        {5, 0, 5, 5, 5, 5, QStringLiteral("#0D72B8")},
        {5, 0, 5, 5, 5, 5, QStringLiteral("#FFD100")},
        {2, 0, 2, 2, 2, 2, QStringLiteral("#0D69B9")},
    };
    return themes;
}

bool cConfigBase::IsUserResourceId(const QString& id)
{
    if (id.isEmpty())
        return false;
    for (const QChar c : id)
    {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QStringList cConfigBase::ThemeDrawingIds(int theme)
{
    QStringList ids;
    if (theme < 0 || theme >= ThemeInfoList().size())
        return ids;
    const sThemeInfo& info = ThemeInfoList().at(theme);
    const auto add = [&ids, theme](const QString& pattern, int count)
    {
        for (int n = 0; n < count; ++n)
            ids << pattern.arg(theme).arg(n);
    };
    add(QStringLiteral("default_th_%1_fader_control_%2"), info.faderControlCount);
    add(QStringLiteral("default_th_%1_fader_%2"), info.faderCount);
    add(QStringLiteral("default_th_%1_rotary_pointer_%2"), info.rotaryPointerCount);
    add(QStringLiteral("default_th_%1_rotary_%2"), info.rotaryCount);
    for (int n = 0; n < info.buttonCount; ++n)
    {
        ids << QStringLiteral("default_th_%1_btn_off_%2").arg(theme).arg(n);
        ids << QStringLiteral("default_th_%1_btn_on_%2").arg(theme).arg(n);
    }
    for (int n = 0; n < info.ledCount; ++n)
    {
        ids << QStringLiteral("default_th_%1_led_off_%2").arg(theme).arg(n);
        ids << QStringLiteral("default_th_%1_led_on_%2").arg(theme).arg(n);
    }
    return ids;
}

void cConfigBase::BuildDefaultResources()
{
    // The index of a user resource in resourcesAndDefaults is
    // DefaultResourceCount plus its index in resources, so this order is fixed.
    for (int t = 0; t < ThemeInfoList().size(); ++t)
    {
        const sThemeInfo& info = ThemeInfoList().at(t);
        const auto add = [this, t](const QString& idPattern, const QString& namePattern, int count)
        {
            for (int n = 0; n < count; ++n)
                AddDefaultResource(idPattern.arg(t).arg(n), namePattern.arg(t + 1).arg(n + 1));
        };
        add(QStringLiteral("default_th_%1_fader_control_%2"), QStringLiteral("Theme %1 Knob %2"),
            info.faderControlCount);
        add(QStringLiteral("default_th_%1_fader_%2"), QStringLiteral("Theme %1 Bgr %2"), info.faderCount);
        add(QStringLiteral("default_th_%1_rotary_pointer_%2"), QStringLiteral("Theme %1 Knob %2"),
            info.rotaryPointerCount);
        add(QStringLiteral("default_th_%1_rotary_%2"), QStringLiteral("Theme %1 Bgr %2"), info.rotaryCount);
        for (int n = 0; n < info.buttonCount; ++n)
        {
            AddDefaultResource(QStringLiteral("default_th_%1_btn_off_%2").arg(t).arg(n),
                               QStringLiteral("Theme %1 Off %2").arg(t + 1).arg(n + 1));
            AddDefaultResource(QStringLiteral("default_th_%1_btn_on_%2").arg(t).arg(n),
                               QStringLiteral("Theme %1 On %2").arg(t + 1).arg(n + 1));
        }
        for (int n = 0; n < info.ledCount; ++n)
        {
            AddDefaultResource(QStringLiteral("default_th_%1_led_off_%2").arg(t).arg(n),
                               QStringLiteral("Theme %1 Off %2").arg(t + 1).arg(n + 1));
            AddDefaultResource(QStringLiteral("default_th_%1_led_on_%2").arg(t).arg(n),
                               QStringLiteral("Theme %1 On %2").arg(t + 1).arg(n + 1));
        }
    }
    for (int n = 0; n < 4; ++n)
        AddDefaultResource(QStringLiteral("default_gen_fader_%1").arg(n), QStringLiteral("Generic Bgr %1").arg(n + 1));
    AddDefaultResource(QStringLiteral("default_gen_rotary_0"), QStringLiteral("Generic Bgr 1"));
    AddDefaultResource(DefaultImageId(), QStringLiteral("Default"));
    AddDefaultResource(BasicImageId(), QStringLiteral("Basic"));
}

void cConfigBase::AddDefaultResource(const QString& id, const QString& name)
{
    mResourcesAndDefaults->append(new cDefaultImageResource(this, id, name, this));
}

QString cConfigBase::PictureRequest(const QString& id) const
{
    // Built-in drawings and the placeholder for a missing picture never change, so they keep the plain id.
    const cImageResource* image = FindImageResource(id);
    return image ? id + QLatin1Char(':') + QString::number(image->PictureSerial()) : id;
}

cResource* cConfigBase::FindResource(const QString& id) const
{
    for (cResource* resource : mResourcesAndDefaults->Items())
    {
        if (resource->resourceId() == id)
            return resource;
    }
    return nullptr;
}

cImageResource* cConfigBase::FindImageResource(const QString& id) const
{
    for (cResource* resource : mResources->Items())
    {
        auto* image = qobject_cast<cImageResource*>(resource);
        if (image && image->resourceId() == id)
            return image;
    }
    return nullptr;
}

QByteArray cConfigBase::GetSvgData(const QString& id) const
{
    const cImageResource* image = FindImageResource(id);
    if (image && image->Subtype() == QLatin1String("svg"))
        return image->Data();
    return QByteArray();
}

QImage cConfigBase::GetImage(const QString& id) const
{
    const cImageResource* image = FindImageResource(id);
    return image ? image->Image() : QImage();
}

QString cConfigBase::GetThemeColour(const QString& id)
{
    if (!id.startsWith(QLatin1String("default_th_")))
        return QString();
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    bool ok = false;
    const int theme = digits.match(id).captured().toInt(&ok);
    if (!ok || theme < 0 || theme >= ThemeInfoList().size())
        return QString();
    return ThemeInfoList().at(theme).colour;
}

int cConfigBase::GetNextResourceId()
{
    if (mNextResourceId < INT_MAX)
        return mNextResourceId++;
    // The reader refuses the largest int, so past the id below it a file
    // could not be read back with its pictures: take the lowest id no
    // resource holds. Resources waiting in the undo history count, as undo
    // brings them back, and so do those the last read left out, which
    // widgets may still name.
    cLowestFreeId free;
    const auto children = findChildren<cResource*>(QString(), Qt::FindDirectChildrenOnly);
    for (const cResource* child : children)
    {
        int number = 0;
        if (ParseUserId(child->resourceId(), &number))
            free.Take(number);
    }
    for (int id : qAsConst(mResourceIdsLeftOut))
        free.Take(id);
    return free.TakeLowest();
}

void cConfigBase::KeepLeftOutId(const QString& id)
{
    int number = 0;
    if (ParseUserId(id, &number))
        mResourceIdsLeftOut.insert(number);
}

void cConfigBase::RaiseNextResourceId(const QString& id)
{
    int number = 0;
    if (ParseUserId(id, &number) && number >= mNextResourceId)
        mNextResourceId = number + 1;
}

int cConfigBase::InsertNewResource(cResource* resource)
{
    const int index = InsertResource(resource);
    if (index >= 0)
        mResourceUndoManager->LinkPropertiesToUndoManager(resource);
    return index;
}

int cConfigBase::InsertResource(cResource* resource)
{
    if (!resource)
    {
        ZR_ERROR("No resource to insert");
        return -1;
    }
    if (mResources->contains(resource))
    {
        ZR_ERROR("Resource %s is already listed", qUtf8Printable(resource->resourceId()));
        return mResources->indexOf(resource);
    }
    // The document owns its resources: a list model would delete a parentless
    // one on removal, while its undo action still needs it.
    if (!resource->parent())
        resource->setParent(this);
    // Before the first resource whose name sorts after the new one. A rename
    // leaves a resource where it is, so the list need not be in name order.
    const QList<cResource*>& listed = mResources->Items();
    const QString name = resource->Name();
    int index = 0;
    while (index < listed.count() && listed.at(index)->Name().compare(name, Qt::CaseInsensitive) <= 0)
        ++index;
    mResources->insert(index, resource);
    mResourcesAndDefaults->insert(DefaultResourceCount + index, resource);
    RaiseNextResourceId(resource->resourceId());
    emit ResourceInserted(resource->resourceId());
    if (mSelectedResourceIndex >= index)
    {
        ++mSelectedResourceIndex;
        emit selectedResourceIndexChanged();
    }
    // A file's resources get their texts once, when all are read.
    if (!mReadingResources)
        UpdateResourceLayoutNames();
    return index;
}

void cConfigBase::RemoveResource(int index)
{
    cResource* resource = mResources->At(index);
    if (!resource)
    {
        ZR_ERROR("No resource at %d to remove", index);
        return;
    }
    if (mSelectedResourceIndex == index)
        setSelectedResourceIndex(-1);
    mResources->remove(index);
    mResourcesAndDefaults->remove(DefaultResourceCount + index);
    // The index keeps naming the resource that carries the selected flag.
    if (mSelectedResourceIndex > index)
    {
        --mSelectedResourceIndex;
        emit selectedResourceIndexChanged();
    }
    emit ResourceRemoved(resource->resourceId());
}

void cConfigBase::RemoveResource(cResource* resource)
{
    const int index = mResources->indexOf(resource);
    if (index >= 0)
        RemoveResource(index);
}

void cConfigBase::ReplaceResource(cResource* oldResource, cResource* newResource)
{
    const int index = mResources->indexOf(oldResource);
    if (index < 0 || !newResource || mResources->contains(newResource))
    {
        ZR_ERROR("Resource to replace not listed");
        return;
    }
    if (!newResource->parent())
        newResource->setParent(this);
    mResources->remove(index);
    mResources->insert(index, newResource);
    mResourcesAndDefaults->remove(DefaultResourceCount + index);
    mResourcesAndDefaults->insert(DefaultResourceCount + index, newResource);
    oldResource->SetSelected(false);
    setSelectedResourceIndex(-1);
    setSelectedResourceIndex(index);
    emit ResourceChanged(oldResource->resourceId());
    UpdateResourceLayoutNames();
}

void cConfigBase::setSelectedResourceIndex(int index)
{
    for (int i = 0; i < mResources->count(); ++i)
        mResources->At(i)->SetSelected(i == index);
    if (index == mSelectedResourceIndex)
        return;
    mSelectedResourceIndex = index;
    emit selectedResourceIndexChanged();
}

bool cConfigBase::hasResourceUndo() const
{
    return mResourceUndoManager->HasUndo();
}

bool cConfigBase::hasResourceRedo() const
{
    return mResourceUndoManager->HasRedo();
}

void cConfigBase::resourceUndoPressed()
{
    mResourceUndoManager->Undo();
}

void cConfigBase::resourceRedoPressed()
{
    mResourceUndoManager->Redo();
}

void cConfigBase::resourceCloseUndoBlock()
{
    mResourceUndoManager->CloseUndoBlock();
}

bool cConfigBase::ValidateVersionStringSetIsNewer(const QString& version)
{
    QStringList file;
    QStringList own;
    if (!SplitVersion(version, &file) || !SplitVersion(ProgramVersion(), &own))
        return false;
    bool isNewer = false;
    for (int i = 0; i < 3; ++i)
    {
        const int order = CompareDecimal(file.at(i), own.at(i));
        if (order != 0)
        {
            isNewer = order > 0;
            break;
        }
    }
    SetConfigVersionIsNewer(isNewer);
    return true;
}

void cConfigBase::SetConfigVersionIsNewer(bool isNewer)
{
    if (isNewer == mConfigVersionIsNewer)
        return;
    mConfigVersionIsNewer = isNewer;
    emit configVersionIsNewerChanged();
}

void cConfigBase::SetVersionString(const QString& version)
{
    if (version == mVersion)
        return;
    mVersion = version;
    emit versionStringChanged();
}

void cConfigBase::Reset(bool clearResources)
{
    if (clearResources)
    {
        // Undo actions keep removed and replaced resources alive; once the
        // history is gone, every user resource the document made can go.
        mResourceUndoManager->ClearUndoRedo();
        setSelectedResourceIndex(-1);
        mNextResourceId = 0;
        mResourceIdsLeftOut.clear();
        const QList<cResource*> listed = mResources->Items();
        mResources->clear();
        while (mResourcesAndDefaults->count() > DefaultResourceCount)
            mResourcesAndDefaults->remove(DefaultResourceCount);
        QSet<cResource*> doomed(listed.cbegin(), listed.cend());
        const QList<cResource*> defaults = mResourcesAndDefaults->Items();
        const QSet<cResource*> kept(defaults.cbegin(), defaults.cend());
        const auto children = findChildren<cResource*>(QString(), Qt::FindDirectChildrenOnly);
        for (cResource* child : children)
        {
            if (!kept.contains(child))
                doomed.insert(child);
        }
        qDeleteAll(doomed);
    }
    SetConfigVersionIsNewer(false);
    SetVersionString(QString());
}

void cConfigBase::ReadResourcesXml(QXmlStreamReader& reader, bool dropBytes, cConfigReadReport& report)
{
    mReadingResources = true;
    ReadResourceElements(reader, dropBytes, report);
    mReadingResources = false;
    UpdateResourceLayoutNames();
}

void cConfigBase::ReadResourceElements(QXmlStreamReader& reader, bool dropBytes, cConfigReadReport& report)
{
    while (reader.readNextStartElement())
    {
        if (reader.name() != QLatin1String("Resource"))
        {
            reader.skipCurrentElement();
            continue;
        }
        QString id;
        QString type = QStringLiteral("unknown");
        QString name;
        QString subtype;
        const QXmlStreamAttributes attributes = reader.attributes();
        for (const QXmlStreamAttribute& attribute : attributes)
        {
            const QStringRef attributeName = attribute.name();
            if (attributeName == QLatin1String("id"))
            {
                int number = 0;
                if (!ParseUserId(attribute.value().toString(), &number))
                {
                    ZR_ERROR("Error reading resource id");
                    break;
                }
                id = attribute.value().toString();
                RaiseNextResourceId(id);
            }
            else if (attributeName == QLatin1String("type"))
                type = attribute.value().toString();
            else if (attributeName == QLatin1String("name"))
                name = attribute.value().toString();
            else if (attributeName == QLatin1String("subtype"))
                subtype = attribute.value().toString();
        }
        if (id.isEmpty() || type != QLatin1String("image"))
        {
            // Told by what it is: the walk above stops at an id that is no number, before the type.
            const QString attributeName = attributes.value(QLatin1String("name")).toString();
            if (attributes.value(QLatin1String("type")) == QLatin1String("image"))
                report.AddPictureWithoutId(attributeName);
            else
                report.AddResourceOfUnknownType(attributeName);
            KeepLeftOutId(id);
            reader.skipCurrentElement();
            continue;
        }
        QByteArray bytes =
            QByteArray::fromBase64(reader.readElementText(QXmlStreamReader::SkipChildElements).toLatin1());
        if (subtype == QLatin1String("svg"))
        {
            InsertNewResource(new cImageResource(this, id, name, QImage(), bytes, subtype, this));
            continue;
        }
        const QImage image = cImageResource::Decode(bytes, cImageResource::MaxDecodedSize());
        if (image.isNull())
        {
            ZR_ERROR("Error loading image data from xml");
            const QSize declared = cImageResource::DeclaredSize(bytes);
            const QSize limit = cImageResource::MaxDecodedSize();
            if (declared.width() > limit.width() || declared.height() > limit.height())
                report.AddPictureTooLarge(name, limit);
            else
                report.AddPictureUnreadable(name);
            KeepLeftOutId(id);
            continue;
        }
        if (dropBytes)
            bytes.clear();
        InsertNewResource(new cImageResource(this, id, name, image, bytes, subtype, this));
        emit ResourceInserted(id);
    }
}

void cConfigBase::UpdateResourceLayoutNames()
{
    QHash<QString, QStringList> layoutsById;
    const QList<sLayoutResourceUse> uses = LayoutResourceUses();
    for (const sLayoutResourceUse& use : uses)
    {
        for (const QString& id : use.resourceIds)
            layoutsById[id].prepend(use.layoutName);
    }
    for (cResource* resource : mResources->Items())
        resource->SetLayoutNames(layoutsById.value(resource->resourceId()));
}

QList<sLayoutResourceUse> cConfigBase::LayoutResourceUses() const
{
    return {};
}

void cConfigBase::ImageResourceIdChanged()
{
    UpdateResourceLayoutNames();
}

void cConfigBase::UndoNewResource(cResource* resource)
{
    RemoveResource(resource);
}

void cConfigBase::RedoNewResource(cResource* resource)
{
    InsertResource(resource);
}

void cConfigBase::UndoDeleteResource(cResource* resource)
{
    InsertResource(resource);
}

void cConfigBase::RedoDeleteResource(cResource* resource)
{
    RemoveResource(resource);
}

void cConfigBase::UndoChangeResource(cResource* oldResource, cResource* newResource)
{
    ReplaceResource(newResource, oldResource);
}

void cConfigBase::RedoChangeResource(cResource* oldResource, cResource* newResource)
{
    ReplaceResource(oldResource, newResource);
}
