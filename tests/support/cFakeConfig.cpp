#include "cFakeConfig.h"

cFakeConfig::cFakeConfig(QObject* parent)
    : QObject(parent)
    , mLayouts(new QQmlObjectListModel<cFakeLayout>(this))
    , mResources(new QQmlObjectListModel<cResource>(this))
{
}

void cFakeConfig::setSelectedLayoutIndex(int index)
{
    if (index == mSelectedLayoutIndex)
        return;
    mSelectedLayoutIndex = index;
    emit selectedLayoutIndexChanged();
}

void cFakeConfig::setDirty(bool dirty)
{
    if (dirty == mDirty)
        return;
    mDirty = dirty;
    emit dirtyChanged();
}

void cFakeConfig::setLayoutCount(int count)
{
    while (mLayouts->count() > count)
        mLayouts->remove(mLayouts->count() - 1);
    while (mLayouts->count() < count)
        mLayouts->append(new cFakeLayout(QStringLiteral("Layout %1").arg(mLayouts->count() + 1)));
    if (mSelectedLayoutIndex >= count)
        setSelectedLayoutIndex(count - 1);
}

void cFakeConfig::setVersion(const QString& version, bool newer)
{
    if (version != mVersion) {
        mVersion = version;
        emit versionStringChanged();
    }
    if (newer != mVersionIsNewer) {
        mVersionIsNewer = newer;
        emit configVersionIsNewerChanged();
    }
}

void cFakeConfig::clearCalls()
{
    mCalls.clear();
    emit callsChanged();
}

void cFakeConfig::reset()
{
    setLayoutCount(0);
    setSelectedLayoutIndex(-1);
    setDirty(false);
    setVersion(QString(), false);
}

void cFakeConfig::Log(const QString& call)
{
    mCalls.append(call);
    emit callsChanged();
}
