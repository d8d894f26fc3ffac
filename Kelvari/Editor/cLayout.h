#pragma once

#include "cLayoutConfig.h"
#include "cLayoutSelectionManager.h"
#include "sLayoutDetails.h"
#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cWidget.h"
#include "Kelvari/Common/cWidgetTreeUndoTarget.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>
#include <QStringList>

class cConfigReadReport;
class cContainer;
class cLayoutDropAreas;
class cLayoutOnlineMode;
class cLayoutViews;
class cLayoutUndoManager;
class QXmlStreamReader;
class QXmlStreamWriter;

// One page of a config: its details, its widget tree with the undo history
// of that tree, the drop areas that dragged widgets can fall into, and the
// content items of the views that show the page (0 the editor's canvas,
// 1 the thumbnail, 2 the test window), and the page's online mode in the test
// window. Every widget of the page, also inside
// containers, has the page as its QObject parent.
class cLayout : public QObject, public cWidgetTreeUndoTarget
{
    Q_OBJECT
    // The meta-property has the base type, which needs no registration; QML sees the same model.
    Q_PROPERTY(QQmlObjectListModelBase* widgets READ widgets CONSTANT)
    Q_PROPERTY(bool hasUndo READ hasUndo NOTIFY hasUndoChanged)
    Q_PROPERTY(bool hasRedo READ hasRedo NOTIFY hasRedoChanged)
    Q_PROPERTY(QQuickItem* editContent READ editContent WRITE setEditContent NOTIFY editContentChanged)
    Q_PROPERTY(cLayoutSelectionManager* selectionManager READ selectionManager CONSTANT)
    Q_PROPERTY(bool allUsers READ allUsers NOTIFY allUsersChanged)
    Q_PROPERTY(QString users READ users NOTIFY usersChanged)
    Q_PROPERTY(bool desktop READ desktop NOTIFY desktopChanged)
    Q_PROPERTY(bool phone READ phone NOTIFY phoneChanged)
    Q_PROPERTY(bool tablet READ tablet NOTIFY tabletChanged)
    Q_PROPERTY(int orientation READ orientation NOTIFY orientationChanged)
    Q_PROPERTY(bool allScenes READ allScenes NOTIFY allScenesChanged)
    Q_PROPERTY(QString scenes READ scenes NOTIFY scenesChanged)
    Q_PROPERTY(bool selected READ selected NOTIFY selectedChanged)
    Q_PROPERTY(bool fixedAspectRatio READ fixedAspectRatio NOTIFY fixedAspectRatioChanged)
    Q_PROPERTY(int aspectRatio1 READ aspectRatio1 NOTIFY aspectRatio1Changed)
    Q_PROPERTY(int aspectRatio2 READ aspectRatio2 NOTIFY aspectRatio2Changed)
    Q_PROPERTY(QString name READ name NOTIFY nameChanged)
    Q_PROPERTY(bool isPasteAllowed READ isPasteAllowed NOTIFY isPasteAllowedChanged)

public:
    enum eAlignType
    {
        Top = 0,
        Bottom = 1,
        HCentre = 2,
        Left = 3,
        Right = 4,
        VCentre = 5
    };
    Q_ENUM(eAlignType)

    // The deepest level at which a container may sit is this minus 2.
    static constexpr int mMaximumContainerNesting = 4;

    // A page with the default details, a child of the config document.
    explicit cLayout(cLayoutConfig& config);

    // Reads one "Layout" element, the reader on its start; never null.
    // Widgets that cannot be read, and other elements with what they hold, are left out and told to the
    // report, when there is one.
    static cLayout* CreateFromXml(QXmlStreamReader& reader, cLayoutConfig& config,
                                  cConfigReadReport* report = nullptr);
    void WriteXml(QXmlStreamWriter& writer) const;

    const sLayoutDetails& LayoutDetails() const { return mDetails; }
    // True when any detail changed; each changed one emits its signal.
    bool SetLayoutDetails(const sLayoutDetails& details);
    void SetName(const QString& name);
    void SetSelected(bool selected);
    bool IsSaved() const;
    void SetSavePoint();
    void UpdateIsPasteAllowed();
    void IncreaseNextIdOnLoad(cWidget* widget);
    // The resource ids that image properties name, sorted, each once; a
    // null container stands for the whole page.
    QStringList GetResourceIdsUsed(cContainer* container) const;

    QQmlObjectListModel<cWidget>* GetWidgets() const { return mWidgets; }
    QQmlObjectListModelBase* widgets() const { return mWidgets; }
    cLayoutUndoManager* GetUndoManager() const { return mUndoManager; }
    cLayoutConfig& GetConfig() const { return mConfig; }
    cLayoutSelectionManager* selectionManager() const { return mSelectionManager; }

    // Widget tree. A null container stands for the top level of the page.
    // The container directly holding the widget; null at the top level or when not found.
    cContainer* FindContainer(cWidget* widget, cContainer* container = nullptr) const;
    // 0 at the top level, 1 inside a top-level container and so on; -1 when not on the page.
    int GetNestingLevel(cWidget* widget, cContainer* container = nullptr) const;
    // Appends to the top level and links the widget's properties.
    void AddWidget(cWidget* widget);
    // Records every later change of the widget's own properties.
    void LinkPropertiesToUndoManager(cWidget* widget);
    // The widget's rectangle as fractions of the editor's canvas.
    QRectF FindWidgetFractionsRelativeToBase(cWidget* widget) const;
    // Takes the widget and its subtree off the page; undo brings them back.
    void DeleteWidget(cWidget* widget);
    // Moves the widget into the container at the location. With keepPlace
    // its fractions change so that it stays where it is on screen.
    void SetWidgetContainer(cWidget* widget, cContainer* container, int location, bool keepPlace);
    QQuickItem* GetLinkedContentItem(cWidget* widget, int location, int viewIndex) const;
    // After a drag: each selected widget goes into the container whose drop area it lies over.
    void UpdateSelectionContainers();
    // Highlights the drop areas that the selected widgets would fall into.
    void UpdateCurrentSelectionDropAreaHighlights();
    // Records the creation of a pasted widget and of everything inside it;
    // an online page takes the widget online.
    void AddPastedWidgetUndoActions(cWidget* widget, cContainer* container, int location);
    // Asks the views for items for the widget and, inside it, for its children.
    void RecursiveCreateRequest(cWidget* widget, QQuickItem* parentItem, int location);
    // Tab order: a container's children by ascending location, each location
    // in child order; after the last widget of a container comes the widget
    // after the container. Null only on an empty page.
    cWidget* NextWidgetInTabOrder(cWidget* widget) const;
    cWidget* PreviousWidgetInTabOrder(cWidget* widget) const;
    // Restacking: the selected widgets go above (or below) the rest of the
    // stack, and the stack's z values are spread evenly over 0 to 1.
    void SendToFrontOrBack(QList<cWidget*> selected, QList<cWidget*> stack, bool front) const;
    void SendToFront(const QList<cWidget*>& selected, const QList<cWidget*>& stack) const;
    void SendToBack(const QList<cWidget*>& selected, const QList<cWidget*>& stack) const;
    // False, with nothing changed, when no widget above (below) overlaps the selection.
    bool BringForwardOrBackward(QList<cWidget*> selected, QList<cWidget*> stack, bool forward) const;
    void NormalizeZ(const QList<cWidget*>& list) const;
    // The registered drop areas under the canvas, topmost first, then the canvas's own.
    const QList<QQuickItem*>& GetVisuallySortedDropAreas() const;

    void UndoNewWidget(cWidget* widget) override;
    void RedoNewWidget(cWidget* widget, cContainer* container, int containerLocation) override;
    void UndoDeleteWidget(cWidget* widget, cContainer* container, int containerLocation) override;
    void RedoDeleteWidget(cWidget* widget) override;
    void UndoOrRedoMoveContainer(cWidget* widget, cContainer* container, int containerLocation) override;

    bool IsOnline() const;

    bool hasUndo() const;
    bool hasRedo() const;
    QQuickItem* editContent() const { return mEditContent; }
    void setEditContent(QQuickItem* item);
    bool allUsers() const { return mDetails.allUsers; }
    QString users() const { return mDetails.users; }
    bool desktop() const { return mDetails.desktop; }
    bool phone() const { return mDetails.phone; }
    bool tablet() const { return mDetails.tablet; }
    int orientation() const { return mDetails.orientation; }
    bool allScenes() const { return mDetails.allScenes; }
    QString scenes() const { return mDetails.scenes; }
    bool selected() const { return mSelected; }
    bool fixedAspectRatio() const { return mDetails.fixedAspectRatio; }
    int aspectRatio1() const { return mDetails.aspectRatio1; }
    int aspectRatio2() const { return mDetails.aspectRatio2; }
    QString name() const { return mDetails.name; }
    bool isPasteAllowed() const { return mIsPasteAllowed; }

    // With PastedLayout the details are applied without an undo record.
    Q_INVOKABLE void setLayoutDetails(bool AllUsers, QString UsersString, bool Desktop, bool Phone, bool Tablet,
                                      int Orientation, bool AllScenes, QString ScenesString, bool FixedAspectRatio,
                                      int AspectRatio1, int AspectRatio2, bool PastedLayout, QString Name);
    // The test window runs the page live against the unit at the address; it
    // is online once the unit accepted the test window's login.
    Q_INVOKABLE void setOnline(QString HostIpAddress);
    Q_INVOKABLE void setOffline();
    // Asks the property editors to write what they hold, as a step of its own. Every change the page starts
    // (undo, redo, the toolbar's operations, leaving the page) asks first, so that a typed value goes to the
    // widgets it was typed for and never into the change.
    Q_INVOKABLE void commitPendingEdits();
    Q_INVOKABLE void undoPressed();
    Q_INVOKABLE void redoPressed();
    Q_INVOKABLE void closeUndoBlock();
    Q_INVOKABLE void clearUndoRedo();
    Q_INVOKABLE void assertValid() const {}

    // A new widget of the type, placed in the container (or at the top level)
    // above its siblings; one undoable creation.
    Q_INVOKABLE QObject* createAndAddWidget(QString Type, cWidget* ContainerWidget, int ContainerLocation,
                                            float XFraction, float YFraction, float WidthFraction,
                                            float HeightFraction);
    // Deletes the selection as one undo step.
    Q_INVOKABLE void deletePressed();
    // Selects the next (previous) widget in tab order, showing its tab.
    Q_INVOKABLE void tabPressed();
    Q_INVOKABLE void backtabPressed();
    // Restacking of the selection, per container; one undo step.
    Q_INVOKABLE void sendToFrontPressed();
    Q_INVOKABLE void sendToBackPressed();
    Q_INVOKABLE void bringForwardPressed();
    Q_INVOKABLE void sendBackwardPressed();
    // Alignment and distribution per container, one undo step each; a fill is one step.
    Q_INVOKABLE void alignRightPressed();
    Q_INVOKABLE void alignLeftPressed();
    Q_INVOKABLE void alignHCentrePressed();
    Q_INVOKABLE void alignTopPressed();
    Q_INVOKABLE void alignBottomPressed();
    Q_INVOKABLE void alignVCentrePressed();
    Q_INVOKABLE void distributeVPressed();
    Q_INVOKABLE void distributeHPressed();
    Q_INVOKABLE void fillVerticalPressed();
    Q_INVOKABLE void fillHorizontalPressed();
    // Copy and cut replace the document's copy buffer; cut and paste are one undo step each.
    Q_INVOKABLE void cutPressed();
    Q_INVOKABLE void copyPressed();
    Q_INVOKABLE void pastePressed();
    Q_INVOKABLE void registerContentItem(QQuickItem* ContentItem, bool LayoutEditor);
    // The item into which the thumbnail view (or the test window) puts the widget's item.
    Q_INVOKABLE QQuickItem* getParentItem(cWidget* Widget, int ContainerLocation, bool TestWindow) const;
    Q_INVOKABLE QQuickItem* getThumbnailContentItem() const;
    Q_INVOKABLE bool isWidgetTypeAContainer(QString Type) const;
    Q_INVOKABLE void registerDropArea(QQuickItem* DropArea);
    // The topmost visible drop area that wholly holds the item; a container
    // is not offered drop areas too deeply nested for it.
    Q_INVOKABLE QQuickItem* findDropArea(QQuickItem* ItemDropped, bool ItemDroppedIsContainer) const;
    // Highlights the drop area the item would fall into; a null item clears every highlight.
    Q_INVOKABLE void updateDropAreaHighlights(QQuickItem* ItemDragged, bool ItemDraggedIsContainer);

signals:
    void commitRequest();
    void deleteRequest(QQuickItem* item);
    void createRequest(cWidget* widget, QQuickItem* parentItem, int containerLocation);
    void hasUndoChanged();
    void hasRedoChanged();
    void editContentChanged();
    void allUsersChanged();
    void usersChanged();
    void desktopChanged();
    void phoneChanged();
    void tabletChanged();
    void orientationChanged();
    void allScenesChanged();
    void scenesChanged();
    void selectedChanged();
    void IsSavedChanged();
    void fixedAspectRatioChanged();
    void aspectRatio1Changed();
    void aspectRatio2Changed();
    void nameChanged();
    void isPasteAllowedChanged();
    void configClientNotFound();
    void authenticationFailedSignal();

private slots:
    void RebuildVisuallySortedDropAreaList();

private:
    // Where the widget sits: found, its container (null at the top level) and level.
    bool Locate(cWidget* widget, cContainer* within, cContainer*& holder, int& level) const;
    bool IsOnPage(cWidget* widget) const;
    void SelectInTabOrder(cWidget* widget);
    // Puts the widget into the container at the location, or appends it to the
    // top level when there is no container or the container refuses it.
    // Returns the container it went into.
    cContainer* PlaceWidget(cWidget* widget, cContainer* container, int location);
    void EmitDeleteRequests(cWidget* widget);
    // A widget leaving the page leaves the selection too.
    void LeaveSelection(cWidget* widget);
    void NestedWidgetsChanged();

    cLayoutConfig& mConfig;
    QQmlObjectListModel<cWidget>* const mWidgets;
    cLayoutUndoManager* const mUndoManager;
    QPointer<QQuickItem> mEditContent;
    cLayoutSelectionManager* const mSelectionManager;
    cLayoutDropAreas* const mDropAreas;
    cLayoutOnlineMode* const mOnlineMode;
    cLayoutViews* const mViews;
    sLayoutDetails mDetails;
    bool mSelected = false;
    bool mIsPasteAllowed = false;
};
