#include "cZRNetWidget.h"

cZRNetWidget::cZRNetWidget(int id, const QString& type, QObject* parent) : cWidget(id, type, parent)
{
}

void cZRNetWidget::SetOnline(std::shared_ptr<cKelvariConfigClient> client)
{
    cWidget::SetOnline(client);
    mConfigClient = std::move(client);
    // No remote object behind the widget's settings can be named to the unit yet, so none is linked.
    SetDisabled(true);
}

void cZRNetWidget::SetOffline()
{
    mConfigClient.reset();
    cWidget::SetOffline();
}
