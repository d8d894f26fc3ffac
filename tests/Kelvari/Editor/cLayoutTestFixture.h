// The pages the layout tests work on: one without a view, and two shown by headless canvases; with
// texts of their widgets' trees and rectangles that make whole states comparable in one line.
#pragma once

#include "support/cHeadlessLayoutView.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cImageResource.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cWidgetTreeUndoTarget.h"
#include "Kelvari/Editor/cConfig.h"
#include "Kelvari/Editor/cEditorTabContainer.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"
#include "Kelvari/Editor/cLayout.h"
#include "Kelvari/Editor/cLayoutUndoManager.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

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

inline QQuickItem* Item(QQuickItem* parent, const QRectF& rect, qreal z = 0)
{
    auto* item = new QQuickItem(parent);
    item->setPosition(rect.topLeft());
    item->setSize(rect.size());
    item->setZ(z);
    return item;
}

inline QQuickItem* DropArea(QQuickItem* parent, cWidget* container, int location, const QRectF& rect, qreal z = 0)
{
    QQuickItem* area = Item(parent, rect, z);
    area->setProperty("cppWidget", QVariant::fromValue(static_cast<QObject*>(container)));
    area->setProperty("containerLocation", location);
    area->setProperty("highlight", false);
    return area;
}

// A page as far as the history sees it: the QObject parent of its widgets.
class cFakePage : public QObject, public cWidgetTreeUndoTarget
{
public:
    void UndoNewWidget(cWidget*) override {}
    void RedoNewWidget(cWidget*, cContainer*, int) override {}
    void UndoDeleteWidget(cWidget*, cContainer*, int) override {}
    void RedoDeleteWidget(cWidget*) override {}
    // A real page records the move it makes; while undoing that is ignored.
    void UndoOrRedoMoveContainer(cWidget* widget, cContainer*, int location) override
    {
        ++mMoves;
        mManager.AddMoveContainerAction(widget, nullptr, 0, nullptr, location);
    }
    QPointer<cWidget> New(int id) { return new cWidget(id, "rect", this); }

    int mMoves = 0;
    cLayoutUndoManager& mManager = *new cLayoutUndoManager(this);
};

class cLayoutTestFixture
{
protected:
    std::unique_ptr<cConfig> mConfig;
    // Pages of no layout list: one without a view, and two shown by headless canvases.
    std::unique_ptr<cLayout> mPage, mLayout, mOther;
    std::unique_ptr<cHeadlessLayoutView> mView, mOtherView;

    template <class T = cWidget> T* New(const char* type, cWidget* container = nullptr, int location = -1)
    {
        return qobject_cast<T*>(mPage->createAndAddWidget(type, container, location, 0, 0, 0.1f, 0.1f));
    }
    QString Tree() const { return ::Tree(mPage->GetWidgets()->Items()); }
    // Runs the page's action, then gives its widget tree.
    QString After(void (cLayout::*action)())
    {
        (mPage.get()->*action)();
        return Tree();
    }
    // The whole element is read, and the page replaces this test's one.
    void Read(const QString& xml)
    {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        mPage.reset(cLayout::CreateFromXml(reader, *mConfig));
        reader.readNext();
        QVERIFY2(reader.isEndDocument(), qPrintable(reader.tokenString()));
    }

    cLayoutSelectionManager& Selection() { return *mLayout->selectionManager(); }
    static QList<cWidget*> Selected(cLayout& layout) { return layout.selectionManager()->GetSelectedWidgets(); }
    template <class T = cWidget> T* Add(const char* type, const QRectF& rect, cWidget* in = nullptr, int tab = -1)
    {
        return qobject_cast<T*>(mView->Add(type, rect, in, tab));
    }
    // Rectangles from "x,y,width,height" texts, added in order and selected.
    QList<cWidget*> AddSelected(const QString& rects, cWidget* container = nullptr, int location = -1)
    {
        QList<cWidget*> widgets;
        for (const QString& rect : rects.split(' '))
        {
            const QStringList f = rect.split(',');
            widgets << Add("rect", {f[0].toDouble(), f[1].toDouble(), f[2].toDouble(), f[3].toDouble()}, container,
                           location);
            Selection().addToSelection(widgets.last());
        }
        return widgets;
    }
    int UndoSteps()
    {
        int steps = 0;
        for (; mLayout->hasUndo(); ++steps)
            mLayout->undoPressed();
        for (int i = 0; i < steps; ++i)
            mLayout->redoPressed();
        return steps;
    }
    QStringList GroupNames()
    {
        QStringList names;
        for (const cGroupProperty* group : Selection().GetCurrentSelectionProperties()->Items())
            names << group->name();
        return names;
    }
    cGroupProperty* FindGroup(const QString& name)
    {
        for (cGroupProperty* group : Selection().GetCurrentSelectionProperties()->Items())
            if (group->name() == name)
                return group;
        return nullptr;
    }
    void Transform(const std::function<void()>& gesture)
    {
        Selection().selectionTransformStartOrEnd(true);
        gesture();
        Selection().selectionTransformStartOrEnd(false);
    }

    void SetUp()
    {
        mConfig = std::make_unique<cConfig>(nullptr);
        mPage = std::make_unique<cLayout>(*mConfig);
        mLayout = std::make_unique<cLayout>(*mConfig);
        mOther = std::make_unique<cLayout>(*mConfig);
        mView = std::make_unique<cHeadlessLayoutView>(*mLayout);
        mOtherView = std::make_unique<cHeadlessLayoutView>(*mOther);
    }
    void TearDown()
    {
        mView.reset();
        mOtherView.reset();
        mLayout.reset();
        mOther.reset();
        mPage.reset();
    }
};
