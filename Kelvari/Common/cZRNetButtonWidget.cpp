#include "cZRNetButtonWidget.h"

cZRNetButtonWidget::cZRNetButtonWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&,
                                       const cConfigBase&)
    : cZRNetWidget(id, QStringLiteral("zrnet_button"), parent)
{
}

QList<QByteArray> cZRNetButtonWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^mute/ip/[0-9]+$"), QByteArrayLiteral("^pafl/ip/[0-9]+$")};
}
