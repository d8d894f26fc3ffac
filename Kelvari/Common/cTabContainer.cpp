#include "cTabContainer.h"

#include "cColourProperty.h"
#include "cComboProperty.h"
#include "cFontProperty.h"
#include "cImageProperty.h"
#include "cKelvariFonts.h"
#include "cNumberOfTabsProperty.h"
#include "cStringProperty.h"
#include "cWidgetFactoryBase.h"

#include "ZRNet/Core/DebugTrace.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

const QList<QPair<QString, QString>> cTabContainer::mTabPostionValuesToCodes = {
    {QStringLiteral("Top"), QStringLiteral("top")},
    {QStringLiteral("Bottom"), QStringLiteral("bottom")},
};

namespace
{
const QString kBasicImageId = QStringLiteral("_basic");

QStringList DisplayTexts(const QList<QPair<QString, QString>>& table)
{
    QStringList texts;
    for (const auto& entry : table)
        texts << entry.first;
    return texts;
}
}

cTabContainer::cTabContainer(int id, QObject* parent, const cResourceNotifier& config)
    : cContainer(id, QStringLiteral("tab_container"), parent),
      mNumberOfTabs(new cNumberOfTabsProperty("Number of tabs", 4, this)),
      mTabs(new QQmlObjectListModel<cTab>(this)),
      mFont(new cFontProperty("Font", cKelvariFonts::mDefaultFontCode, this, true)),
      mImageOn(new cImageProperty("Image On", config, this)),
      mImageOff(new cImageProperty("Image Off", config, this)),
      mColourOn(new cColourProperty("Colour On", QColor("white"), this, true)),
      mColourOff(new cColourProperty("Colour Off", QColor("darkgrey"), this, true)),
      mTabPosition(new cComboProperty("Tab Position", 0, DisplayTexts(mTabPostionValuesToCodes), this))
{
    connect(mNumberOfTabs, &cProperty::valueChanged, this, &cTabContainer::PropertyNumberOfTabsChanged);
    connect(mFont, &cProperty::valueChanged, this, &cTabContainer::PropertyFontChanged);
    mImageOn->setValue(kBasicImageId);
    connect(mImageOn, &cProperty::valueChanged, this, &cTabContainer::PropertyTabImageOnChanged);
    connect(mImageOn, &cImageProperty::ImageChanged, this, &cTabContainer::onImageChanged);
    connect(mImageOn, &cImageProperty::ImageChanged, this, &cTabContainer::PropertyTabImageOnChanged);
    mImageOff->setValue(kBasicImageId);
    connect(mImageOff, &cProperty::valueChanged, this, &cTabContainer::PropertyTabImageOffChanged);
    connect(mImageOff, &cImageProperty::ImageChanged, this, &cTabContainer::offImageChanged);
    connect(mImageOff, &cImageProperty::ImageChanged, this, &cTabContainer::PropertyTabImageOffChanged);
    connect(mColourOn, &cProperty::valueChanged, this, &cTabContainer::PropertyTabColourOnChanged);
    connect(mColourOff, &cProperty::valueChanged, this, &cTabContainer::PropertyTabColourOffChanged);
    connect(mTabPosition, &cProperty::valueChanged, this, &cTabContainer::PropertyTabPositionChanged);

    AppendProperty(mTabPosition);
    AppendProperty(mFont);
    AppendProperty(mColourOff);
    AppendProperty(mImageOff);
    AppendProperty(mColourOn);
    AppendProperty(mImageOn);
    AppendProperty(mNumberOfTabs);
    for (int k = 1; k <= mMaximumNumberOfTabs; ++k)
    {
        auto* tabName = new cStringProperty(QStringLiteral("Tab %1").arg(k), QString::number(k), this, true);
        mTabNameProperties << tabName;
        AppendProperty(tabName);
    }
    PropertyNumberOfTabsChanged();
}

void cTabContainer::setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor)
{
    cContainer::setQQuickItem(CreatedQQuickItem, LayoutEditor);
    PropertyNumberOfTabsChanged();
    PropertyFontChanged();
    PropertyTabImageOnChanged();
    PropertyTabImageOffChanged();
    PropertyTabColourOnChanged();
    PropertyTabColourOffChanged();
    PropertyTabPositionChanged();
}

void cTabContainer::LoadAttributes(QXmlStreamReader& reader)
{
    cContainer::LoadAttributes(reader);
    const QXmlStreamAttributes attributes = reader.attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
    {
        const QStringRef name = attribute.name();
        const QString value = attribute.value().toString();
        if (name == QLatin1String("numTabs"))
            mNumberOfTabs->SetIntValue(value.toInt(nullptr, 10));
        else if (name == QLatin1String("textFont"))
            mFont->setStringValue(value);
        else if (name == QLatin1String("onImageResourceId"))
            mImageOn->setStringValue(value);
        else if (name == QLatin1String("offImageResourceId"))
            mImageOff->setStringValue(value);
        else if (name == QLatin1String("tabOnColour"))
            mColourOn->setStringValue(value);
        else if (name == QLatin1String("tabOffColour"))
            mColourOff->setStringValue(value);
        else if (name == QLatin1String("tabPosition"))
            SetComboPropertyIndex(value, mTabPostionValuesToCodes, mTabPosition);
    }
}

void cTabContainer::WriteXml(QXmlStreamWriter& writer) const
{
    writer.writeStartElement(QStringLiteral("Widget"));
    WriteAttributes(writer);
    WritePreservedAttributes(writer);
    for (const cTab* tab : mTabs->Items())
    {
        writer.writeStartElement(QStringLiteral("Tab"));
        writer.writeAttribute(QStringLiteral("tabName"), tab->tabName());
        for (const cWidget* widget : tab->GetWidgets())
            widget->WriteXml(writer);
        writer.writeEndElement();
    }
    WritePreservedNodes(writer);
    writer.writeEndElement();
}

void cTabContainer::LoadSubXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                               const cWidgetFactoryBase& factory, std::shared_ptr<cKelvariConfigClient>& client)
{
    // Only "Tab" elements count: another program's elements here take no tab place and are kept, after the tabs.
    int tabIndex = 0;
    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("Tab"))
            LoadTab(reader, tabIndex++, config, parent, factory, client);
        else
            PreserveCurrentNode(reader);
    }
}

void cTabContainer::LoadTab(QXmlStreamReader& reader, int tabIndex, const cConfigBase& config, QObject* parent,
                            const cWidgetFactoryBase& factory, std::shared_ptr<cKelvariConfigClient>& client)
{
    if (!ProvideTabForLoading(tabIndex))
    {
        factory.LeaveOut(reader, cConfigReadReport::eLeftOut::TabPastMaximum);
        return;
    }
    const QXmlStreamAttributes attributes = reader.attributes();
    if (attributes.hasAttribute(QStringLiteral("tabName")))
        mTabNameProperties.at(tabIndex)->setStringValue(attributes.value(QStringLiteral("tabName")).toString());
    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("Widget"))
            LoadTabWidget(reader, tabIndex, config, parent, factory, client);
        else
            factory.LeaveOut(reader, cConfigReadReport::eLeftOut::ElementNotKnown);
    }
}

void cTabContainer::LoadTabWidget(QXmlStreamReader& reader, int tabIndex, const cConfigBase& config,
                                  QObject* parent, const cWidgetFactoryBase& factory,
                                  std::shared_ptr<cKelvariConfigClient>& client)
{
    const qint64 start = reader.characterOffset();
    cWidget* widget = factory.CreateFromXml(reader, config, parent, client);
    if (widget)
    {
        AddContainerChild(widget, tabIndex);
        LoadedChildAdded(widget, parent);
        return;
    }
    // A widget whose base attributes failed leaves the reader on its start:
    // skip it whole so that the widgets after it still load.
    if (reader.isStartElement() && reader.characterOffset() == start)
        reader.skipCurrentElement();
}

bool cTabContainer::ProvideTabForLoading(int tabIndex)
{
    if (tabIndex < mTabs->count())
        return true;
    if (tabIndex >= mMaximumNumberOfTabs)
    {
        ZR_ERROR("Tab %d of tab container %d is past the maximum of %d tabs; its widgets are not loaded",
                 tabIndex + 1, GetId(), mMaximumNumberOfTabs);
        return false;
    }
    // More tabs than "numTabs" says: keep them, so that their widgets are shown and saved again.
    ZR_NOTIFY("Tab container %d holds more tabs than its number of tabs; raised to %d", GetId(), tabIndex + 1);
    mNumberOfTabs->SetIntValue(tabIndex + 1);
    return true;
}

void cTabContainer::LoadedChildAdded(cWidget*, QObject*)
{
    // The plain tab container keeps no register of its loaded widgets.
}

void cTabContainer::AssertValid() const
{
    // Diagnostic hook; nothing to check.
}

void cTabContainer::WriteAttributes(QXmlStreamWriter& writer) const
{
    cContainer::WriteAttributes(writer);
    writer.writeAttribute(QStringLiteral("numTabs"), mNumberOfTabs->stringValue());
    writer.writeAttribute(QStringLiteral("textFont"), mFont->stringValue());
    writer.writeAttribute(QStringLiteral("onImageResourceId"), mImageOn->stringValue());
    writer.writeAttribute(QStringLiteral("offImageResourceId"), mImageOff->stringValue());
    writer.writeAttribute(QStringLiteral("tabOnColour"), mColourOn->stringValue());
    writer.writeAttribute(QStringLiteral("tabOffColour"), mColourOff->stringValue());
    writer.writeAttribute(QStringLiteral("tabPosition"),
                          mTabPostionValuesToCodes.value(mTabPosition->IntValue()).second);
}

int cTabContainer::getContainerLocation(cWidget* WidgetToFind) const
{
    return mWidgetLocations.value(WidgetToFind, -1);
}

void cTabContainer::AddContainerChild(cWidget* widget, int location)
{
    if (!widget)
        return;
    cTab* tab = mTabs->At(location);
    if (!tab)
    {
        ZR_ERROR("Tab container %d has no tab %d for widget %d", GetId(), location, widget->GetId());
        return;
    }
    // One place per widget: a second add moves it rather than listing it on two tabs.
    for (cTab* other : mTabs->Items())
        other->RemoveWidget(widget);
    cContainer::AddContainerChild(widget, location);
    widget->SetIsVisible(IsVisible() && location == mCurrentTabIndex);
    tab->AddWidget(widget);
    mWidgetLocations.insert(widget, location);
}

void cTabContainer::RemoveContainerChild(cWidget* widget)
{
    for (cTab* tab : mTabs->Items())
        tab->RemoveWidget(widget);
    mWidgetLocations.remove(widget);
    cContainer::RemoveContainerChild(widget);
}

QList<QQuickItem*> cTabContainer::LinkedContainerQuickItems(int location) const
{
    const cTab* tab = mTabs->At(location);
    return tab ? tab->GetLinkedContainerQuickItems() : QList<QQuickItem*>();
}

void cTabContainer::SetChildrenVisibility()
{
    SetTabChildrenVisibility(mCurrentTabIndex, IsVisible());
}

void cTabContainer::setCurrentTabIndex(int index)
{
    if (index == mCurrentTabIndex)
        return;
    if (!mTabs->At(index))
    {
        ZR_ERROR("Tab container %d has no tab %d to show", GetId(), index);
        return;
    }
    SetTabChildrenVisibility(mCurrentTabIndex, false);
    mCurrentTabIndex = index;
    // Within a hidden container the new tab's widgets stay hidden too.
    SetTabChildrenVisibility(mCurrentTabIndex, IsVisible());
    emit currentTabIndexChanged();
}

void cTabContainer::SetTabChildrenVisibility(int tabIndex, bool visible)
{
    const cTab* tab = mTabs->At(tabIndex);
    if (!tab)
        return;
    const QList<cWidget*> widgets = tab->GetWidgets();
    for (cWidget* widget : widgets)
        widget->SetIsVisible(visible);
}

int cTabContainer::NumberOfTabsInUse() const
{
    return qBound(1, mNumberOfTabs->IntValue(), mMaximumNumberOfTabs);
}

void cTabContainer::PropertyNumberOfTabsChanged()
{
    const int count = NumberOfTabsInUse();
    // Leave a tab that goes away while it still exists, so that its widgets are hidden.
    if (mCurrentTabIndex >= count)
        setCurrentTabIndex(count - 1);
    while (mTabs->count() < count)
    {
        auto* tab = new cTab(this);
        cStringProperty* tabName = mTabNameProperties.at(mTabs->count());
        connect(tabName, &cProperty::valueChanged, tab, &cTab::SetTabNameFromProperty);
        tab->SetTabName(tabName->stringValue());
        mTabs->append(tab);
    }
    while (mTabs->count() > count)
    {
        cTab* tab = mTabs->At(mTabs->count() - 1);
        mTabs->remove(mTabs->count() - 1);
        // Nothing reads a removed tab; growing again creates new ones.
        tab->deleteLater();
    }
    for (int i = 0; i < mTabNameProperties.size(); ++i)
        mTabNameProperties.at(i)->setVisible(i < count);
}

void cTabContainer::PropertyFontChanged()
{
    SetItemsProperty("textFont", mFont->stringValue());
}

void cTabContainer::PropertyTabImageOnChanged()
{
    SetItemsProperty("imageOnRequest", mImageOn->PictureRequest());
    SetItemsProperty("imageOnIdentifier", mImageOn->stringValue());
}

void cTabContainer::PropertyTabImageOffChanged()
{
    SetItemsProperty("imageOffRequest", mImageOff->PictureRequest());
    SetItemsProperty("imageOffIdentifier", mImageOff->stringValue());
}

void cTabContainer::PropertyTabColourOnChanged()
{
    SetItemsProperty("tabOnColour", mColourOn->value());
}

void cTabContainer::PropertyTabColourOffChanged()
{
    SetItemsProperty("tabOffColour", mColourOff->value());
}

void cTabContainer::PropertyTabPositionChanged()
{
    SetItemsProperty("tabPosition", mTabPostionValuesToCodes.value(mTabPosition->IntValue()).second);
}
