#pragma once

#include <QObject>
#include <QString>

// One entry of the toolbox: a widget type the user can drop onto a page.
class cToolboxWidget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString widgetName READ widgetName CONSTANT)
    Q_PROPERTY(QString widgetType READ widgetType CONSTANT)
    Q_PROPERTY(QString qmlUrl READ qmlUrl CONSTANT)

public:
    cToolboxWidget(const QString& widgetName, const QString& widgetType, const QString& qmlUrl, QObject* parent);

    QString widgetName() const { return mWidgetName; }
    QString widgetType() const { return mWidgetType; }
    QString qmlUrl() const { return mQmlUrl; }

private:
    const QString mWidgetName;
    const QString mWidgetType;
    const QString mQmlUrl;
};
