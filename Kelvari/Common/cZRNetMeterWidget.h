#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A level meter that shows a channel's level at a pick-off point. Type key "zrnet_meter".
class cZRNetMeterWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetMeterWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                      const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
