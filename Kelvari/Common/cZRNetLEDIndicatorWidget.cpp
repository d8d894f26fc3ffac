#include "cZRNetLEDIndicatorWidget.h"

cZRNetLEDIndicatorWidget::cZRNetLEDIndicatorWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                                   const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_led"), parent)
{
}

QList<QByteArray> cZRNetLEDIndicatorWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^mute/ip/[0-9]+$"), QByteArrayLiteral("^pafl/ip/[0-9]+$")};
}
