#include "cZRNetChromaticMeterWidget.h"

cZRNetChromaticMeterWidget::cZRNetChromaticMeterWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                                       const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_chrom_meter"), parent)
{
}

QList<QByteArray> cZRNetChromaticMeterWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^meter/(pre|post)/ip/[0-9]+$")};
}
