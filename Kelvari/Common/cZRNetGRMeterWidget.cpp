#include "cZRNetGRMeterWidget.h"

cZRNetGRMeterWidget::cZRNetGRMeterWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                         const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_grmeter"), parent)
{
}

QList<QByteArray> cZRNetGRMeterWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^gr/ip/[0-9]+$")};
}
