#pragma once

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Editor/cConfigUndoManager.h"
#include "Kelvari/Editor/cLayoutConfig.h"
#include "Kelvari/Editor/cWidgetCopyBuffer.h"
#include "Kelvari/Editor/sLayoutDetails.h"

#include <QList>
#include <QRectF>
#include <QStringList>

// A config document as far as layout pages see it: a widget id counter, a
// copy buffer, and details changes recorded as the document records them.
class cFakeLayoutConfig : public cConfigBase, public cLayoutConfig
{
public:
    cFakeLayoutConfig() : cConfigBase(nullptr), mUndoManager(this) {}

    cConfigBase& ConfigBase() override { return *this; }
    int GetNextId() override { return mNextId++; }
    void IncreaseNextIdOnLoad(int id) override { mNextId = qMax(mNextId, id + 1); }
    void LayoutDetailsChanged(cLayout* layout, const sLayoutDetails& oldDetails,
                              const sLayoutDetails& newDetails) override
    {
        mDetailsChanges.append({oldDetails, newDetails});
        mUndoManager.AddDetailsChangeAction(this, layout, oldDetails, newDetails);
        mUndoManager.CloseUndoBlock();
    }
    void LayoutNameChanged() override { ++mNameChanges; }
    void LayoutWidgetCountChanged() override {}
    bool HasCopiedWidgets() const override { return !mCopyBuffer.IsEmpty(); }
    cWidgetCopyBuffer& WidgetCopyBuffer() override { return mCopyBuffer; }
    cTestWindowLogin* TestWindowLogin() const override { return nullptr; }

    int mNextId = 0;
    int mNameChanges = 0;
    QList<QPair<sLayoutDetails, sLayoutDetails>> mDetailsChanges;
    cConfigUndoManager mUndoManager;
    cWidgetCopyBuffer mCopyBuffer;
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

// Fractions as "x,y,width,height" to four decimals: exact enough to catch a wrong step, blind to float
// rounding. Several widgets' rectangles are separated by spaces.
inline QString Text(const QRectF& rect)
{
    const auto text = [](qreal fraction) { return QString::number(qRound64(fraction * 1e4) / 1e4); };
    return text(rect.x()) + ',' + text(rect.y()) + ',' + text(rect.width()) + ',' + text(rect.height());
}

inline QString Rects(const QList<cWidget*>& widgets)
{
    QStringList rects;
    for (const cWidget* w : widgets)
        rects << Text(QRectF(w->xFraction(), w->yFraction(), w->widthFraction(), w->heightFraction()));
    return rects.join(' ');
}

// Widget ids in order, each container's children after it by tab: "1,2[0:3,4 2:5],6".
inline QString Tree(const QList<cWidget*>& widgets)
{
    QStringList out;
    for (cWidget* widget : widgets)
    {
        QStringList tabs;
        if (auto* container = qobject_cast<cTabContainer*>(widget))
            for (int tab = 0; tab < container->GetTabs()->count(); ++tab)
                if (!container->GetTabs()->At(tab)->GetWidgets().isEmpty())
                    tabs << QString::number(tab) + ':' + Tree(container->GetTabs()->At(tab)->GetWidgets());
        out << QString::number(widget->GetId()) + (qobject_cast<cTabContainer*>(widget) ? '[' + tabs.join(' ') + ']' : "");
    }
    return out.join(',');
}
