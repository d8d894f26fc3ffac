#include "cZRNetSourceSelectorWidget.h"

cZRNetSourceSelectorWidget::cZRNetSourceSelectorWidget(int id, QObject* parent, std::shared_ptr<cKelvariConfigClient>&)
    : cZRNetWidget(id, QStringLiteral("zrnet_source_sel"), parent)
{
}

QList<QByteArray> cZRNetSourceSelectorWidget::GetAllObjectRequestRegExpsStatic()
{
    return {QByteArrayLiteral("^source/ip/[0-9]+$")};
}
