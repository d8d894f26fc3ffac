#include "cZRNetTextWidget.h"

cZRNetTextWidget::cZRNetTextWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&)
    : cZRNetWidget(id, QStringLiteral("zrnet_text"), parent)
{
}

QList<QByteArray> cZRNetTextWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^name/ip/[0-9]+$")};
}
