#pragma once

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cConfigUndoManager.h"
#include "Kelvari/Editor/cLayoutConfig.h"
#include "Kelvari/Editor/cWidgetCopyBuffer.h"
#include "Kelvari/Editor/sLayoutDetails.h"

#include <QList>

// A config document as far as layout pages see it: a widget id counter, a
// copy buffer, and a details change recorded as the document records it.
class cFakeLayoutConfig : public cConfigBase, public cLayoutConfig
{
public:
    struct sDetailsChange
    {
        cLayout* layout;
        sLayoutDetails oldDetails;
        sLayoutDetails newDetails;
    };

    cFakeLayoutConfig() : cConfigBase(nullptr), mUndoManager(this) {}

    cConfigBase& ConfigBase() override { return *this; }
    int GetNextId() override { return mNextId++; }
    void IncreaseNextIdOnLoad(int id) override
    {
        if (mNextId <= id)
            mNextId = id + 1;
    }
    void LayoutDetailsChanged(cLayout* layout, const sLayoutDetails& oldDetails,
                              const sLayoutDetails& newDetails) override
    {
        mDetailsChanges.append({layout, oldDetails, newDetails});
        mUndoManager.AddDetailsChangeAction(this, layout, oldDetails, newDetails);
        mUndoManager.CloseUndoBlock();
    }
    void LayoutNameChanged() override { ++mNameChanges; }
    void LayoutWidgetCountChanged() override {}
    bool HasCopiedWidgets() const override { return !mCopyBuffer.IsEmpty(); }
    cWidgetCopyBuffer& WidgetCopyBuffer() override { return mCopyBuffer; }
    cTestWindowLogin* TestWindowLogin() const override { return mLogin; }

    int mNextId = 0;
    int mNameChanges = 0;
    QList<sDetailsChange> mDetailsChanges;
    cConfigUndoManager mUndoManager;
    cWidgetCopyBuffer mCopyBuffer;
    cTestWindowLogin* mLogin = nullptr;
};

inline QList<int> Ids(const QList<cWidget*>& widgets)
{
    QList<int> ids;
    for (const cWidget* widget : widgets)
        ids << widget->GetId();
    return ids;
}

inline QList<float> Zs(const QList<cWidget*>& widgets)
{
    QList<float> zs;
    for (const cWidget* widget : widgets)
        zs << widget->z();
    return zs;
}
