#pragma once

#include "Kelvari/Common/QQmlObjectListModel.h"
#include "cFakeLayout.h"
#include "Kelvari/Common/cResource.h"

#include <QObject>
#include <QString>
#include <QStringList>

// Stands in for the config document in the main window's Qt Quick tests: the
// members its QML uses, knobs for the state a test needs, and a log of calls.
class cFakeConfig : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QQmlObjectListModelBase* layouts READ layouts CONSTANT)
    Q_PROPERTY(bool dirty READ dirty NOTIFY dirtyChanged)
    Q_PROPERTY(int selectedLayoutIndex READ selectedLayoutIndex WRITE setSelectedLayoutIndex NOTIFY
                   selectedLayoutIndexChanged)
    Q_PROPERTY(int selectedResourceIndex MEMBER mSelectedResourceIndex CONSTANT)
    Q_PROPERTY(QString version READ version NOTIFY versionStringChanged)
    Q_PROPERTY(bool configVersionIsNewer READ configVersionIsNewer NOTIFY configVersionIsNewerChanged)
    Q_PROPERTY(QStringList calls READ calls NOTIFY callsChanged)
    Q_PROPERTY(QQmlObjectListModelBase* resourcesAndDefaults READ resourcesAndDefaults CONSTANT)
    Q_PROPERTY(QQmlObjectListModelBase* resources READ resources CONSTANT)
    Q_PROPERTY(bool hasResourceUndo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasResourceRedo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasUndo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool hasRedo MEMBER mFalse CONSTANT)
    Q_PROPERTY(bool isPasteAllowed MEMBER mFalse CONSTANT)

public:
    explicit cFakeConfig(QObject* parent = nullptr);

    QQmlObjectListModelBase* layouts() const { return mLayouts; }
    bool dirty() const { return mDirty; }
    int selectedLayoutIndex() const { return mSelectedLayoutIndex; }
    void setSelectedLayoutIndex(int index);
    QString version() const { return mVersion; }
    bool configVersionIsNewer() const { return mVersionIsNewer; }
    QStringList calls() const { return mCalls; }
    QQmlObjectListModelBase* resourcesAndDefaults() const { return nullptr; }
    QQmlObjectListModelBase* resources() const { return mResources; }
    Q_INVOKABLE QString getResourceName(const QString&) const { return QString(); }

    // The layout details checks: nothing is ever a duplicate.
    Q_INVOKABLE bool isLayoutNameDuplicate(QObject*, const QString&) const { return false; }
    Q_INVOKABLE bool isLayoutUsersDuplicate(QObject*, bool, const QString&) const { return false; }
    Q_INVOKABLE bool isLayoutDeviceInformationDuplicate(QObject*, bool, bool, bool, int) const { return false; }
    Q_INVOKABLE bool isLayoutScenesDuplicate(QObject*, bool, const QString&) const { return false; }
    Q_INVOKABLE bool isLayoutDetailsDuplicate(QObject*, bool, const QString&, bool, bool, bool, int, bool,
                                              const QString&) const
    {
        return false;
    }

    Q_INVOKABLE void undoPressed() { Log("undoPressed"); }
    Q_INVOKABLE void redoPressed() { Log("redoPressed"); }
    Q_INVOKABLE void cutPressed() { Log("cutPressed"); }
    Q_INVOKABLE void copyPressed() { Log("copyPressed"); }
    Q_INVOKABLE void pastePressed() { Log("pastePressed"); }
    Q_INVOKABLE void deletePressed() { Log("deletePressed"); }
    Q_INVOKABLE void resourceUndoPressed() { Log("resourceUndoPressed"); }
    Q_INVOKABLE void resourceRedoPressed() { Log("resourceRedoPressed"); }
    Q_INVOKABLE void deleteImage(int index) { Log(QStringLiteral("deleteImage(%1)").arg(index)); }

    // Knobs for the tests; reset() leaves it empty, clean, without layouts or version.
    Q_INVOKABLE void setDirty(bool dirty);
    Q_INVOKABLE void setLayoutCount(int count);
    Q_INVOKABLE void setVersion(const QString& version, bool newer);
    Q_INVOKABLE void clearCalls();
    Q_INVOKABLE void reset();

signals:
    void requestDetailsDialog(QObject* pendingLayout);
    void dirtyChanged();
    void selectedLayoutIndexChanged();
    void versionStringChanged();
    void configVersionIsNewerChanged();
    void callsChanged();

private:
    void Log(const QString& call);

    QQmlObjectListModel<cFakeLayout>* mLayouts = nullptr;
    // Always empty: the main window's tests import no images.
    QQmlObjectListModel<cResource>* mResources = nullptr;
    bool mDirty = false;
    int mSelectedLayoutIndex = -1;
    const int mSelectedResourceIndex = -1;
    bool mFalse = false;
    QString mVersion;
    bool mVersionIsNewer = false;
    QStringList mCalls;
};
