#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A dynamic label: a text kept by the unit, such as a channel's name. Type key "zrnet_text".
class cZRNetTextWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetTextWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
