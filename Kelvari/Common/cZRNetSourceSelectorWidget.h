#pragma once

#include "cZRNetWidget.h"

#include <QByteArray>
#include <QList>

// A list from which the user picks the source that feeds a channel. Type key "zrnet_source_sel".
class cZRNetSourceSelectorWidget : public cZRNetWidget
{
    Q_OBJECT

public:
    cZRNetSourceSelectorWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>& client);

    // The patterns of the object names this kind of widget asks the unit for.
    static QList<QByteArray> GetAllObjectRequestRegExpsStatic();
};
