#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A push button that switches a function of a channel (mute, PAFL). Type key "zrnet_button".
class cZRNetButtonWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetButtonWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client,
                       const cConfigBase& config);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
