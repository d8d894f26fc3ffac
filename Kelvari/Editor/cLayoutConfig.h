#pragma once

class cConfigBase;
class cLayout;
class cWidgetCopyBuffer;
class cTestWindowLogin;
struct sLayoutDetails;

// What a layout page needs of the config document that holds it: the
// document's resources, its widget id counter, its widget copy buffer, and
// the reports of changes that the document keeps its layout list by.
class cLayoutConfig
{
public:
    virtual ~cLayoutConfig() = default;

    // The document itself: the widgets' resource source and the layouts' QObject parent.
    virtual cConfigBase& ConfigBase() = 0;
    // The id for a new widget; each call hands out a new one.
    virtual int GetNextId() = 0;
    // Makes later ids larger than the id of a widget that was read.
    virtual void IncreaseNextIdOnLoad(int id) = 0;
    // The user edited the details of a layout: keep the list sorted and record the change.
    virtual void LayoutDetailsChanged(cLayout* layout, const sLayoutDetails& oldDetails,
                                      const sLayoutDetails& newDetails) = 0;
    virtual void LayoutNameChanged() = 0;
    virtual void LayoutWidgetCountChanged() = 0;
    // Whether the widget copy buffer holds anything to paste.
    virtual bool HasCopiedWidgets() const = 0;
    // The widgets copied from any layout of the document.
    virtual cWidgetCopyBuffer& WidgetCopyBuffer() = 0;
    // The login a page going online uses and reports the unit's answer to; null when there is none.
    virtual cTestWindowLogin* TestWindowLogin() const = 0;
};
