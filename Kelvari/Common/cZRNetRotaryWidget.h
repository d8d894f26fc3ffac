#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A rotary control that sets a channel's level or pan. Type key "zrnet_rotary".
class cZRNetRotaryWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetRotaryWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                       const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
