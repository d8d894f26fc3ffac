#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A fader that sets a channel's level. Type key "zrnet_fader".
class cZRNetFaderWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetFaderWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                      const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
