#pragma once

#include "cCopiedLayoutImages.h"
#include "cLayout.h"
#include "cLayoutConfig.h"
#include "cLayoutListUndoTarget.h"
#include "cWidgetCopyBuffer.h"
#include "sLayoutDetails.h"
#include "Common/Qt/eUnitType.h"
#include "Kelvari/Common/QQmlObjectListModel.h"
#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cConfigReadReport.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>

#include <climits>

class cConfigUndoManager;
class cLowestFreeId;
class QFileDevice;
class QIODevice;
class QXmlStreamReader;
class QXmlStreamWriter;

// The editor's document: the layout pages in sort order, the image resources
// of the base, the widget id counter, the dirty flag, a clipboard of one
// layout with a paste that waits for the user's details, the undo history of
// the layout list, and the config file's reading and writing.
//
// The document lives for the whole run; new and opened configs reset and
// refill it. Config files and downloaded configs are untrusted: a read that
// fails says why in LoadFailureText() and never passes for a success.
class cConfig : public cConfigBase, public cLayoutConfig, public cLayoutListUndoTarget
{
    Q_OBJECT
    Q_PROPERTY(QQmlObjectListModelBase* layouts READ layouts CONSTANT)
    Q_PROPERTY(bool hasUndo READ hasUndo NOTIFY hasUndoChanged)
    Q_PROPERTY(bool hasRedo READ hasRedo NOTIFY hasRedoChanged)
    Q_PROPERTY(bool dirty READ dirty NOTIFY dirtyChanged)
    Q_PROPERTY(bool isPasteAllowed READ isPasteAllowed NOTIFY isPasteAllowedChanged)
    Q_PROPERTY(int selectedLayoutIndex READ selectedLayoutIndex WRITE setSelectedLayoutIndex NOTIFY
                   selectedLayoutIndexChanged)

public:
    enum eUnitType
    {
        OskelDorvel = ::OskelDorvel,
        HalvorDorvel = ::HalvorDorvel,
        PemraDorvel = ::PemraDorvel,
    };
    Q_ENUM(eUnitType)

    explicit cConfig(QObject* parent);
    ~cConfig() override;

    QQmlObjectListModelBase* layouts() const { return mLayouts; }
    const QQmlObjectListModel<cLayout>& Layouts() const { return *mLayouts; }
    cConfigUndoManager* ConfigUndoManager() const { return mConfigUndoManager; }
    bool hasUndo() const;
    bool hasRedo() const;
    bool dirty() const { return mDirty; }
    bool isPasteAllowed() const { return mIsPasteAllowed; }
    int selectedLayoutIndex() const { return mSelectedLayoutIndex; }
    void setSelectedLayoutIndex(int index);
    // Why the last read (or write) failed; empty after Reset.
    QString LoadFailureText() const { return mLoadFailureText; }
    // What the last successful read left out of the file or changed in it.
    const cConfigReadReport& ReadReport() const { return mReadReport; }

    // Empties the document; with createDefaultLayout it then holds one
    // layout "Layout 1". The layout clipboard is kept.
    void Reset(bool createDefaultLayout);

    // Layout list.
    // Inserts at the sorted place, after the layouts it sorts equal to.
    int InsertLayout(cLayout* layout);
    cLayout* GetSelectedLayout() const;
    // The layout's "Layout" element as text, without a document header.
    QString GetLayoutXml(cLayout* layout) const;
    // A new layout from a "Layout" element with fresh widget ids, its name
    // followed by " copy"; not yet in the list.
    cLayout* CloneLayoutFromXml(QString xml);
    void SetNextId(int id) { mNextId = id; }
    void SetSavePoint();
    void SetDirty(bool dirty);

    Q_INVOKABLE void createNewLayout(bool AllUsers, QString UsersString, bool Desktop, bool Phone, bool Tablet,
                                     int Orientation, bool AllScenes, QString ScenesString, bool FixedAspectRatio,
                                     int AspectRatio1, int AspectRatio2, QString Name);
    // Ignores a null layout and one that is not listed.
    Q_INVOKABLE void deleteLayout(cLayout* Layout);
    Q_INVOKABLE bool isLayoutNameDuplicate(cLayout* Ignore, QString Name) const;
    Q_INVOKABLE bool isLayoutUsersDuplicate(cLayout* Ignore, bool AllUsers, QString Users) const;
    Q_INVOKABLE bool isLayoutDeviceInformationDuplicate(cLayout* Ignore, bool Desktop, bool Phone, bool Tablet,
                                                        int Orientation) const;
    Q_INVOKABLE bool isLayoutScenesDuplicate(cLayout* Ignore, bool AllScenes, QString Scenes) const;
    // True when one other layout has the same users, devices and scenes all together.
    Q_INVOKABLE bool isLayoutDetailsDuplicate(cLayout* Ignore, bool AllUsers, QString Users, bool Desktop, bool Phone,
                                              bool Tablet, int Orientation, bool AllScenes, QString Scenes) const;
    Q_INVOKABLE void undoPressed();
    Q_INVOKABLE void redoPressed();
    Q_INVOKABLE void cutPressed();
    Q_INVOKABLE void copyPressed();
    Q_INVOKABLE void pastePressed();
    Q_INVOKABLE void deletePressed();
    Q_INVOKABLE void acceptPendingPaste();
    Q_INVOKABLE void discardPendingPaste();

    // Images. A failed import leaves its reason in imageFailureString().
    // The new resource's id, or empty on failure; the undo block stays open
    // so that a batch of files is one step.
    Q_INVOKABLE QString addNewImage(QUrl FileUrl);
    // Replaces the picture of the resource with that id, keeping its id and
    // name; false when no resource has the id.
    Q_INVOKABLE bool changeImage(QUrl FileUrl, QString ResourceId);
    Q_INVOKABLE void deleteImage(int ResourceIndex);
    // Among all resources, built-in ones included; "Unknown" when none has the id.
    Q_INVOKABLE QString getResourceName(QString ResourceId) const;
    Q_INVOKABLE QString imageFailureString() const { return mImageFailureText; }
    // Reads and checks one image file (cImageFile).
    bool InitialImageLoad(const QUrl& fileUrl, QString& fileName, QImage& image, QByteArray& data,
                          QString& subtype);

    // The most a document written into memory may take: a byte array's limit, less room for its header.
    static constexpr int MaxInMemorySize = INT_MAX - (1 << 20);

    // Config file. Every writer returns false when not all bytes were written.
    bool WriteXml(QFileDevice& file);
    // Leaves the bytes empty on failure; one that would take more than maxSize says so in LoadFailureText(),
    // any other leaves that empty.
    bool WriteXml(QByteArray& bytes, int maxSize = MaxInMemorySize);
    bool WriteXml(QXmlStreamWriter& writer);
    void WriteResourcesXml(QXmlStreamWriter& writer) const;
    // Writes the file under a temporary name and puts it in place only once
    // every byte is on disk, so a failed save leaves the previous file whole.
    bool SaveXml(const QString& fileName);
    bool ReadXml(QIODevice& device);
    bool ReadXml(const QByteArray& bytes);
    bool ReadXml(QXmlStreamReader& reader);
    static void ReadUIOptions(QXmlStreamReader& reader);
    static void ReadUnitsFromXml(QXmlStreamReader& reader);

    // cLayoutConfig
    cConfigBase& ConfigBase() override { return *this; }
    int GetNextId() override;
    void IncreaseNextIdOnLoad(int id) override;
    // A layout that is not listed (a pending paste) is neither moved nor recorded.
    void LayoutDetailsChanged(cLayout* layout, const sLayoutDetails& oldDetails,
                              const sLayoutDetails& newDetails) override;
    bool HasCopiedWidgets() const override;
    cWidgetCopyBuffer& WidgetCopyBuffer() override { return mWidgetCopyBuffer; }
    cTestWindowLogin* TestWindowLogin() const override { return mTestWindowLogin; }
    // The application whose test-window login the layouts go online with.
    void SetTestWindowLogin(cTestWindowLogin* login) { mTestWindowLogin = login; }

    // cLayoutListUndoTarget
    void UndoNewLayout(cLayout* layout) override;
    void RedoDeleteLayout(cLayout* layout) override;
    void RedoNewLayout(cLayout* layout) override;
    void UndoDeleteLayout(cLayout* layout) override;

public slots:
    void ImageResourceIdChanged() override;
    void LayoutCountChanged();
    void LayoutWidgetCountChanged() override;
    void LayoutNameChanged() override;

signals:
    void hasUndoChanged();
    void hasRedoChanged();
    void dirtyChanged();
    void isPasteAllowedChanged();
    void selectedLayoutIndexChanged();
    void requestDetailsDialog(cLayout* pendingLayout);

protected:
    QList<sLayoutResourceUse> LayoutResourceUses() const override;

private slots:
    void UpdateDirty();

private:
    // The order of the layout list: true when a goes before b.
    static bool LayoutLessThan(const cLayout* a, const cLayout* b);
    void FollowSelectedLayout();
    static bool SameUsers(const cLayout& layout, bool allUsers, const QString& users);
    static bool SameDevices(const cLayout& layout, bool desktop, bool phone, bool tablet, int orientation);
    static bool SameScenes(const cLayout& layout, bool allScenes, const QString& scenes);
    // Makes the layout part of the document's saved state.
    void Adopt(cLayout* layout);
    void DeletePendingPaste();
    void RemoveLayout(cLayout* layout);
    void UpdateIsPasteAllowed();
    // The layouts' "Layouts" texts of the resources, unless a batch is running.
    void UpdateLayoutNamesOfResources();
    bool FailRead(const QString& trace, const QString& failureText);
    // Gives each widget whose id an earlier widget of the layouts has a fresh one.
    void RenumberDuplicateWidgetIds(const QList<cLayout*>& layouts);
    // Whether the counter still has ids to give before the end of the range.
    bool HasNextIdLeft() const { return mNextId < INT_MAX; }
    // The ids that widgets hold, widgets kept for undo and the Widget elements kept inside a widget included,
    // and those handed out past the end of the range, for a widget that may still be being made.
    cLowestFreeId IdsInUse() const;
    // The lowest id free of them, recorded as handed out.
    int TakeLowestFreeId(cLowestFreeId& free);

    QQmlObjectListModel<cLayout>* const mLayouts;
    QString mLoadFailureText;
    cConfigReadReport mReadReport;
    int mNextId = 0;
    // Ids handed out once the counter reached its end.
    QSet<int> mIdsTakenAfterTheLast;
    cConfigUndoManager* const mConfigUndoManager;
    QString mLayoutClipboard;
    cCopiedLayoutImages mLayoutClipboardImages;
    cLayout* mPendingPaste = nullptr;
    // The clipboard's images that the pending paste adds to the document when accepted.
    QList<cImageResource*> mPendingPasteImages;
    bool mDirty = false;
    int mSelectedLayoutIndex = -1;
    QString mImageFailureText;
    // Kept across Reset, like the layout clipboard.
    cWidgetCopyBuffer mWidgetCopyBuffer;
    cTestWindowLogin* mTestWindowLogin = nullptr;
    bool mIsPasteAllowed = false;
    // Set while many layouts or widgets come and go at once (reading,
    // resetting, cloning), which recompute the resources' texts once at the end.
    bool mBatch = false;
};
