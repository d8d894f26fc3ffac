#include "cZRNetRotaryWidget.h"

cZRNetRotaryWidget::cZRNetRotaryWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                       const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_rotary"), parent)
{
}

QList<QByteArray> cZRNetRotaryWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^level/ip/[0-9]+$"), QByteArrayLiteral("^pan/ip/[0-9]+$")};
}
