#include "cZRNetFaderWidget.h"

cZRNetFaderWidget::cZRNetFaderWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                     const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_fader"), parent)
{
}

QList<QByteArray> cZRNetFaderWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^level/ip/[0-9]+$")};
}
