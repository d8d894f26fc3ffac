#include "cToolboxWidget.h"

cToolboxWidget::cToolboxWidget(const QString& widgetName, const QString& widgetType, const QString& qmlUrl,
                               QObject* parent)
    : QObject(parent), mWidgetName(widgetName), mWidgetType(widgetType), mQmlUrl(qmlUrl)
{
}
