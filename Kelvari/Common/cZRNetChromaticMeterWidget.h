#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A meter that shows a channel's level as a band of colour. Type key "zrnet_chrom_meter".
class cZRNetChromaticMeterWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetChromaticMeterWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                               const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
