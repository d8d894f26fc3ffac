#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A lamp that shows the state of a channel's switch (mute, PAFL). Type key "zrnet_led".
class cZRNetLEDIndicatorWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetLEDIndicatorWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                             const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
