#pragma once

#include "sSelectionGroup.h"
#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cGroupProperty.h"

#include <QList>
#include <QObject>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QVariant>

class cContainer;
class cLayout;
class cWidget;

// The selection of one layout page: changes and reads the widgets' selected
// flags over the whole widget tree, builds the group properties that the
// property panel edits, keeps the selection's bounding rectangle in fractions
// of the canvas, and turns drags, resizes and nudges of that rectangle into
// moves and scalings of the selected widgets.
class cLayoutSelectionManager : public QObject
{
    Q_OBJECT
    // The meta-property has the base type, which needs no registration; QML sees the same model.
    Q_PROPERTY(QQmlObjectListModelBase* currentSelectionProperties READ currentSelectionProperties CONSTANT)
    Q_PROPERTY(QRectF selectionRect READ selectionRect NOTIFY selectionRectChanged)
    Q_PROPERTY(int selectionCount READ selectionCount NOTIFY selectionCountChanged)
    Q_PROPERTY(QString currentSelectionType READ currentSelectionType NOTIFY currentSelectionTypeChanged)

public:
    explicit cLayoutSelectionManager(cLayout* layout);

    QQmlObjectListModelBase* currentSelectionProperties() const { return mCurrentSelectionProperties; }
    QQmlObjectListModel<cGroupProperty>* GetCurrentSelectionProperties() const { return mCurrentSelectionProperties; }
    QRectF selectionRect() const { return mSelectionRect; }
    int selectionCount() const { return mSelectionCount; }
    QString currentSelectionType() const { return mCurrentSelectionType; }

    Q_INVOKABLE void setSelection(cWidget* SelectedWidget);
    Q_INVOKABLE void addToSelection(cWidget* Widget);
    Q_INVOKABLE void removeFromSelection(cWidget* Widget);
    // Nudges: each is one undo step.
    Q_INVOKABLE void incrementGroupEditOverlayX(float XFractionDelta);
    Q_INVOKABLE void incrementGroupEditOverlayY(float YFractionDelta);
    // Drags and resizes, in fractions of the canvas, measured from the start of the gesture.
    Q_INVOKABLE void setGroupEditOverlayX(float XFraction, bool GroupOverlay);
    Q_INVOKABLE void setGroupEditOverlayY(float YFraction, bool GroupOverlay);
    Q_INVOKABLE void setGroupEditOverlayLeft(float LeftFraction, bool ShiftHeld);
    Q_INVOKABLE void setGroupEditOverlayWidth(float WidthFraction, bool ShiftHeld);
    Q_INVOKABLE void setGroupEditOverlayTop(float TopFraction);
    Q_INVOKABLE void setGroupEditOverlayHeight(float HeightFraction);
    // Brackets a drag or resize, which becomes one undo step.
    Q_INVOKABLE void selectionTransformStartOrEnd(bool Start);
    Q_INVOKABLE void setElasticBandSelection(float XFraction, float YFraction, float WidthFraction,
                                             float HeightFraction, bool ShiftWasHeld);
    Q_INVOKABLE void selectAll();

    // Rebuilds the group properties, the selection type, the count and the rectangle.
    void SetCurrentSelectionProperties();
    // Pre-order: a selected container precedes its selected children.
    QList<cWidget*> GetSelectedWidgets() const;
    // One group per container holding selected widgets; nested containers' groups come first.
    QList<sSelectionGroup> GetSelectedWidgetsInContainerGroups(cContainer* container) const;
    cWidget* GetFirstSelectedWidget(cContainer* container) const;
    cWidget* GetLastSelectedWidget(cContainer* container) const;
    void SelectMultiple(const QList<cWidget*>& widgets);
    void SelectSingle(cWidget* widget, bool selected);
    // A selected widget left the page, whatever the path (delete, cut, a removed tab, undo of its creation):
    // the count follows at once, the groups once the change that removed it is over, since that change may
    // be a write through one of them. The widget leaves the groups at once, so that no write reaches it.
    void SelectedWidgetRemoved(const cWidget* widget);
    // Ends align, distribute and fill: one undo step.
    void AlignDistributeLayoutChanged();
    // Writes the first group of that name; nothing when there is none.
    void SetGroupProperty(const QString& name, const QVariant& value);
    void UpdateSelectionRect();
    void SetSelectionRect(const QRectF& rect);
    void ResetGroupPositionSizeProperties();
    void SetContainerSelection(cContainer* container, cWidget* widget);
    // Selects every widget inside the widget; returns how many.
    int SelectAllWidgetChildren(cWidget* widget);
    // The widgets wholly inside the band whose editor items are shown.
    void GetElasticBandWidgets(const QRectF& band, cContainer* container, QList<cWidget*>& out) const;
    void SetSelectionCount(int count);
    void SetCurrentSelectionType(const QString& type);

signals:
    void selectionRectChanged();
    void selectionCountChanged();
    void currentSelectionTypeChanged();

private slots:
    void GroupPropertyXChanged();
    void GroupPropertyYChanged();
    void GroupPropertyWidthChanged();
    void GroupPropertyHeightChanged();

private:
    const QList<cWidget*>& Children(cContainer* container) const;
    void CollectWidgets(cContainer* container, QSet<const cWidget*>& out) const;
    void GetSelectedWidgetChildren(cWidget* widget, QList<cWidget*>& out) const;
    cGroupProperty* FindGroup(const QString& name) const;
    void MoveGroup(const QString& name, double delta);
    void ScaleGroup(const QString& name, float factor);
    void ScaleGroupAbout(const QString& name, float factor, float offset);
    // The end of a drag or nudge: drops into containers, the rectangle, one undo step, no highlights.
    void FinishTransform();

    cLayout* const mLayout;
    QQmlObjectListModel<cGroupProperty>* const mCurrentSelectionProperties;
    QRectF mSelectionRect;
    QRectF mTransformStartRect;
    int mSelectionCount = 0;
    QString mCurrentSelectionType;
    bool mRebuildPending = false;
};
