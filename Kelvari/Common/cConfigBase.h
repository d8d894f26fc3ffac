#pragma once

#include "QQmlObjectListModel.h"
#include "cResource.h"
#include "cResourceNotifier.h"
#include "cResourceUndoTarget.h"
#include "sLayoutResourceUse.h"
#include "sThemeInfo.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>

class QXmlStreamReader;
class cConfigReadReport;
class cImageResource;
class cResourceUndoManager;

// The resource side of the config document, which widgets, image properties
// and the image provider see: the user's images and the built-in images, the
// lookups by id, the resource ids, the undo history of the resources, and the
// version of the config file last read.
//
// Resource ids: a user image's id is a decimal number; "_default" is the
// default picture, "_basic" stands for no picture, and ids beginning
// "default_" name the built-in drawings at ":/" followed by the id.
class cConfigBase : public cResourceNotifier, public cResourceUndoTarget
{
    Q_OBJECT
    Q_PROPERTY(QString version READ version NOTIFY versionStringChanged)
    Q_PROPERTY(bool configVersionIsNewer READ configVersionIsNewer NOTIFY configVersionIsNewerChanged)
    Q_PROPERTY(QQmlObjectListModelBase* resources READ resources CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* resourcesAndDefaults READ resourcesAndDefaults CONSTANT)
    Q_PROPERTY(int selectedResourceIndex READ selectedResourceIndex WRITE setSelectedResourceIndex NOTIFY
                   selectedResourceIndexChanged)
    Q_PROPERTY(bool hasResourceUndo READ hasResourceUndo NOTIFY hasResourceUndoChanged)
    Q_PROPERTY(bool hasResourceRedo READ hasResourceRedo NOTIFY hasResourceRedoChanged)

public:
    // The built-in resources at the head of resourcesAndDefaults.
    static constexpr int DefaultResourceCount = 151;

    explicit cConfigBase(QObject* parent);
    ~cConfigBase() override;

    static const QList<sThemeInfo>& ThemeInfoList();
    static QString ProgramVersion() { return QStringLiteral("V1.0.1"); }
    static QString DefaultImageId() { return QStringLiteral("_default"); }
    static QString BasicImageId() { return QStringLiteral("_basic"); }
    // The default picture's drawing.
    static QString DefaultImagePath() { return QStringLiteral(":/defaultImage"); }
    // A user image's id: digits only.
    static bool IsUserResourceId(const QString& id);
    // A built-in drawing's id, whose file is DrawingPath(id).
    static bool IsDrawingId(const QString& id) { return id.startsWith(QLatin1String("default_")); }
    static QString DrawingPath(const QString& id) { return QStringLiteral(":/") + id; }
    // The ids of one theme's drawings in list order; empty for a theme that does not exist.
    static QStringList ThemeDrawingIds(int theme);

    QString version() const { return mVersion; }
    bool configVersionIsNewer() const { return mConfigVersionIsNewer; }
    QQmlObjectListModelBase* resources() const { return mResources; }
    QQmlObjectListModelBase* resourcesAndDefaults() const { return mResourcesAndDefaults; }
    const QQmlObjectListModel<cResource>& Resources() const { return *mResources; }
    const QQmlObjectListModel<cResource>& ResourcesAndDefaults() const { return *mResourcesAndDefaults; }

    // Lookups never fail loudly: an unknown id gives null, empty bytes, a
    // null image or an empty colour.
    // Any resource, built-in or user's.
    cResource* FindResource(const QString& id) const;
    // A user image.
    cImageResource* FindImageResource(const QString& id) const;
    QString PictureRequest(const QString& id) const override;
    // The file bytes of the user image of that id when it is an SVG file.
    QByteArray GetSvgData(const QString& id) const;
    QImage GetImage(const QString& id) const;
    // The colour of the theme of a built-in themed drawing.
    static QString GetThemeColour(const QString& id);

    // The id for a new user resource: above every id read or handed out, or,
    // once those reach the largest id a file can hold, the lowest free one.
    int GetNextResourceId();

    // Adds a user resource at its place in name order, keeps the selection on
    // the same resource and makes renaming it undoable; returns its index in
    // resources. Re-inserting (undo) goes through InsertResource, which does
    // not link the properties again.
    virtual int InsertNewResource(cResource* resource);
    int InsertResource(cResource* resource);
    // Takes a user resource out of both lists without deleting it.
    void RemoveResource(int index);
    void RemoveResource(cResource* resource);
    // Puts newResource in the place of oldResource and selects it.
    void ReplaceResource(cResource* oldResource, cResource* newResource);

    int selectedResourceIndex() const { return mSelectedResourceIndex; }
    void setSelectedResourceIndex(int index);

    cResourceUndoManager* ResourceUndoManager() const { return mResourceUndoManager; }
    bool hasResourceUndo() const;
    bool hasResourceRedo() const;
    Q_INVOKABLE void resourceUndoPressed();
    Q_INVOKABLE void resourceRedoPressed();
    Q_INVOKABLE void resourceCloseUndoBlock();

    // Checks a config file's version text; false when it is no version.
    // Otherwise records whether it is newer than this program's.
    bool ValidateVersionStringSetIsNewer(const QString& version);
    void SetConfigVersionIsNewer(bool isNewer);
    void SetVersionString(const QString& version);

    // Forgets the version; with clearResources also the user resources,
    // their undo history, the selection and the resource counter.
    void Reset(bool clearResources);

    // Reads the Resource elements, the reader standing on the Resources
    // start element. With dropBytes a raster picture keeps only its image.
    // Every picture left out is told to the report.
    void ReadResourcesXml(QXmlStreamReader& reader, bool dropBytes, cConfigReadReport& report);

    // Recomputes every user resource's "Layouts" text from LayoutResourceUses().
    void UpdateResourceLayoutNames();

    void AssertValid() const {}

    void UndoNewResource(cResource* resource) override;
    void RedoNewResource(cResource* resource) override;
    void UndoDeleteResource(cResource* resource) override;
    void RedoDeleteResource(cResource* resource) override;
    void UndoChangeResource(cResource* oldResource, cResource* newResource) override;
    void RedoChangeResource(cResource* oldResource, cResource* newResource) override;

public slots:
    void ImageResourceIdChanged() override;

signals:
    void versionStringChanged();
    void configVersionIsNewerChanged();
    void ResourceNameChanged();
    void selectedResourceIndexChanged();
    void hasResourceUndoChanged();
    void hasResourceRedoChanged();

protected:
    // The layouts in list order, for the resources' "Layouts" texts. The
    // document with layouts provides them; without layouts there are none.
    virtual QList<sLayoutResourceUse> LayoutResourceUses() const;

private:
    void BuildDefaultResources();
    void AddDefaultResource(const QString& id, const QString& name);
    void RaiseNextResourceId(const QString& id);
    void KeepLeftOutId(const QString& id);
    void ReadResourceElements(QXmlStreamReader& reader, bool dropBytes, cConfigReadReport& report);

    QString mVersion;
    QQmlObjectListModel<cResource>* mResources;
    QQmlObjectListModel<cResource>* mResourcesAndDefaults;
    int mNextResourceId = 0;
    // Ids of resources the last read left out.
    QSet<int> mResourceIdsLeftOut;
    bool mConfigVersionIsNewer = false;
    int mSelectedResourceIndex = -1;
    cResourceUndoManager* mResourceUndoManager;
    bool mReadingResources = false;
};
