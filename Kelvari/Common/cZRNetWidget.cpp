#include "cZRNetWidget.h"

cZRNetWidget::cZRNetWidget(int id, const QString& type, QObject* parent) : cWidget(id, type, parent)
{
}

void cZRNetWidget::SetOnline(std::shared_ptr<cKelvariConfigClient> client)
{
    cWidget::SetOnline(client);
    mConfigClient = std::move(client);
}

void cZRNetWidget::SetOffline()
{
    mConfigClient.reset();
    cWidget::SetOffline();
}
