#include "cZRNetMeterWidget.h"

cZRNetMeterWidget::cZRNetMeterWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                     const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_meter"), parent)
{
}

QList<QByteArray> cZRNetMeterWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^meter/(pre|post)/ip/[0-9]+$")};
}
