#pragma once

#include "cWidget.h"

#include <memory>

class cKelvariConfigClient;

// The base of the network-bound widgets: a widget that, while its layout runs
// live, holds the config client that serves its layout.
class cZRNetWidget : public cWidget
{
    Q_OBJECT

public:
    // Keeps a copy of the client for as long as the widget is online, and
    // shows itself disabled: it has no remote object to link to.
    void SetOnline(std::shared_ptr<cKelvariConfigClient> client) override;
    // Drops the client; the base clears the disabled state.
    void SetOffline() override;

    const std::shared_ptr<cKelvariConfigClient>& GetConfigClient() const
    {
        return mConfigClient;
    }

protected:
    // A widget starts offline: it takes a client only from SetOnline.
    cZRNetWidget(int id, const QString& type, QObject* parent);

private:
    std::shared_ptr<cKelvariConfigClient> mConfigClient;
};
