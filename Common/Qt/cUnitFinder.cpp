#include "cUnitFinder.h"

#include "Common/Qt/cUnitFinderWorker.h"

cUnitFinder::cUnitFinder(const sUnitFinderSettings& settings, QObject* parent)
    : QObject(parent)
    , mSettings(settings)
    , mWorker(new cUnitFinderWorker)
{
    qRegisterMetaType<sUnit>();
    qRegisterMetaType<sUnitFinderSettings>();
    mThread.setObjectName("UnitFinderThread");
    mWorker->moveToThread(&mThread);
    connect(&mThread, &QThread::finished, mWorker, &QObject::deleteLater);
    connect(this, &cUnitFinder::StartWorker, mWorker, &cUnitFinderWorker::Start, Qt::QueuedConnection);
    connect(mWorker, &cUnitFinderWorker::UnitAnnounced, this, &cUnitFinder::UnitAnnounced, Qt::QueuedConnection);
    mThread.start(QThread::LowPriority);
}

cUnitFinder::~cUnitFinder()
{
    // The worker and its sockets are deleted on their own thread as it finishes.
    mThread.quit();
    mThread.wait();
}

void cUnitFinder::Start()
{
    emit StartWorker(mSettings);
}
