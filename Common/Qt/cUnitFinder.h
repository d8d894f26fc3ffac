#pragma once

#include "Common/Qt/sUnit.h"
#include "Common/Qt/sUnitFinderSettings.h"

#include <QObject>
#include <QThread>

class cUnitFinderWorker;

// Finds units by UDP broadcast. The controller lives on the main thread and
// owns a thread holding the worker with the sockets; every call between the
// two is a queued signal, so announcements arrive here on the owner's thread.
class cUnitFinder : public QObject
{
    Q_OBJECT

public:
    explicit cUnitFinder(const sUnitFinderSettings& settings = sUnitFinderSettings(), QObject* parent = nullptr);
    ~cUnitFinder() override;

    void Start();

signals:
    // Every valid announcement, repeats included.
    void UnitAnnounced(const sUnit& unit);

    void StartWorker(const sUnitFinderSettings& settings);

private:
    sUnitFinderSettings mSettings;
    QThread mThread;
    cUnitFinderWorker* mWorker = nullptr;
};
