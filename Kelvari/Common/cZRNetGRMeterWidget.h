#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A meter that shows the gain reduction of a channel's dynamics. Type key "zrnet_grmeter".
class cZRNetGRMeterWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetGRMeterWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                        const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
