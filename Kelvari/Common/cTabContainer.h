#pragma once

#include "cContainer.h"
#include "cTab.h"

#include <QHash>
#include <QPair>

class cColourProperty;
class cComboProperty;
class cFontProperty;
class cImageProperty;
class cNumberOfTabsProperty;
class cResourceNotifier;
class cStringProperty;

// A page of up to ten tabs, each holding its own widgets; only the widgets
// of the current tab are shown. Type key "tab_container".
class cTabContainer : public cContainer
{
    Q_OBJECT
    Q_PROPERTY(QQmlObjectListModelBase* tabs READ tabs CONSTANT)
    Q_PROPERTY(int currentTabIndex READ currentTabIndex WRITE setCurrentTabIndex NOTIFY currentTabIndexChanged)

public:
    // (display text, code) of the tab bar's positions; the file stores the code.
    static const QList<QPair<QString, QString>> mTabPostionValuesToCodes;

    // The config document tells the two image properties about its resources.
    cTabContainer(int id, QObject* parent, const cResourceNotifier& config);

    void setQQuickItem(QQuickItem* CreatedQQuickItem, bool LayoutEditor) override;
    void LoadAttributes(QXmlStreamReader& reader) override;
    // The element with one "Tab" element per tab, each holding its widgets' elements.
    void WriteXml(QXmlStreamWriter& writer) const override;
    // Reads the "Tab" elements; the factory creates their widgets with the
    // given parent (the layout page), not with the tab container.
    void LoadSubXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                    const cWidgetFactoryBase& factory, std::shared_ptr<cKelvariConfigClient>& client) override;
    void AssertValid() const override;
    void WriteAttributes(QXmlStreamWriter& writer) const override;

    Q_INVOKABLE int getContainerLocation(cWidget* WidgetToFind) const override;
    // A widget already in the container moves to the new location.
    void AddContainerChild(cWidget* widget, int location) override;
    void RemoveContainerChild(cWidget* widget) override;
    QList<QQuickItem*> LinkedContainerQuickItems(int location) const override;
    void SetChildrenVisibility() override;

    int currentTabIndex() const { return mCurrentTabIndex; }
    // Shows the widgets of the given tab and hides those of the previous one;
    // a position that names no tab is refused with a trace.
    void setCurrentTabIndex(int index);
    void SetTabChildrenVisibility(int tabIndex, bool visible);

    // The number of tabs that exist: the property's value within 1 and the maximum.
    int NumberOfTabsInUse() const;

    QQmlObjectListModel<cTab>* GetTabs() const { return mTabs; }
    QQmlObjectListModelBase* tabs() const { return mTabs; }
    cNumberOfTabsProperty* GetNumberOfTabsProperty() const { return mNumberOfTabs; }
    int GetMaximumNumberOfTabs() const { return mMaximumNumberOfTabs; }
    cFontProperty* GetFontProperty() const { return mFont; }
    cImageProperty* GetImageOnProperty() const { return mImageOn; }
    cImageProperty* GetImageOffProperty() const { return mImageOff; }
    cColourProperty* GetColourOnProperty() const { return mColourOn; }
    cColourProperty* GetColourOffProperty() const { return mColourOff; }
    cComboProperty* GetTabPositionProperty() const { return mTabPosition; }
    const QList<cStringProperty*>& GetTabNameProperties() const { return mTabNameProperties; }

signals:
    void offImageChanged();
    void onImageChanged();
    void currentTabIndexChanged();

public slots:
    void PropertyNumberOfTabsChanged();
    void PropertyTabImageOnChanged();
    void PropertyTabImageOffChanged();
    void PropertyTabColourOnChanged();
    void PropertyTabColourOffChanged();
    void PropertyTabPositionChanged();

protected:
    // Runs after a widget read from a "Tab" element has joined its tab, so
    // that a subclass can tie it into its layout.
    virtual void LoadedChildAdded(cWidget* widget, QObject* parent);

private slots:
    void PropertyFontChanged();

private:
    // Reads one "Tab" element into the tab at the index; other elements in it are left out.
    void LoadTab(QXmlStreamReader& reader, int tabIndex, const cConfigBase& config, QObject* parent,
                 const cWidgetFactoryBase& factory, std::shared_ptr<cKelvariConfigClient>& client);
    // Reads one "Widget" element of a tab; an element that yields no widget is skipped whole.
    void LoadTabWidget(QXmlStreamReader& reader, int tabIndex, const cConfigBase& config, QObject* parent,
                       const cWidgetFactoryBase& factory, std::shared_ptr<cKelvariConfigClient>& client);
    // Makes the tab at the index exist, raising the number of tabs when the
    // maximum allows; false when it cannot exist.
    bool ProvideTabForLoading(int tabIndex);

    cNumberOfTabsProperty* const mNumberOfTabs;
    QQmlObjectListModel<cTab>* const mTabs;
    QHash<cWidget*, int> mWidgetLocations;
    QList<cStringProperty*> mTabNameProperties;
    const int mMaximumNumberOfTabs = 10;
    int mCurrentTabIndex = 0;
    cFontProperty* const mFont;
    cImageProperty* const mImageOn;
    cImageProperty* const mImageOff;
    cColourProperty* const mColourOn;
    cColourProperty* const mColourOff;
    cComboProperty* const mTabPosition;
};
