#include "cEditorWidgetFactory.h"

#include "cEditorTabContainer.h"
#include "Kelvari/Common/cConfigReadReport.h"
#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cTextWidget.h"
#include "Kelvari/Common/cZRNetButtonWidget.h"
#include "Kelvari/Common/cZRNetChromaticMeterWidget.h"
#include "Kelvari/Common/cZRNetFaderWidget.h"
#include "Kelvari/Common/cZRNetGRMeterWidget.h"
#include "Kelvari/Common/cZRNetLEDIndicatorWidget.h"
#include "Kelvari/Common/cZRNetMeterWidget.h"
#include "Kelvari/Common/cZRNetRotaryWidget.h"
#include "Kelvari/Common/cZRNetSourceSelectorWidget.h"
#include "Kelvari/Common/cZRNetTextWidget.h"
#include "ZRNet/Core/DebugTrace.h"

#include <QXmlStreamReader>
#include <climits>

std::set<QByteArray> cEditorWidgetFactory::mAllObjectRequestRegExps;

cWidget* cEditorWidgetFactory::CreateFromXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                                             std::shared_ptr<cKelvariConfigClient>& client) const
{
    int id = -1;
    QString type;
    if (!cWidget::LoadBaseAttributes(reader, id, type))
    {
        LeaveOut(reader, id == -1 ? eLeftOut::WidgetWithoutId : eLeftOut::WidgetWithoutType);
        return nullptr;
    }
    // The document's next id comes after every loaded one, so the largest int cannot be taken.
    if (id == INT_MAX)
    {
        ZR_ERROR("Error loading widget id");
        LeaveOut(reader, eLeftOut::WidgetWithLargestId);
        return nullptr;
    }
    // Containers read their children through here: a bound keeps a hostile file from exhausting the stack.
    if (mNesting > MaximumLoadNesting)
    {
        const int inside = SkipCountingWidgets(reader);
        ZR_ERROR("Widget %d is nested in more than %d containers; not loaded, nor the %d widget(s) inside it", id,
                 MaximumLoadNesting, inside);
        if (mReport)
            mReport->AddWidgetsTooDeep(inside + 1, MaximumLoadNesting);
        return nullptr;
    }
    cWidget* widget = CreateWidget(type, id, config, parent);
    widget->LoadAttributes(reader);
    if (widget->widthFraction() < 0 || widget->heightFraction() < 0)
    {
        ZR_ERROR("Error loading widget coords");
        delete widget;
        LeaveOut(reader, HasSize(reader) ? eLeftOut::WidgetWithNegativeSize : eLeftOut::WidgetWithoutSize);
        return nullptr;
    }
    ++mNesting;
    widget->LoadSubXml(reader, config, parent, *this, client);
    --mNesting;
    return widget;
}

void cEditorWidgetFactory::LeaveOut(QXmlStreamReader& reader, eLeftOut reason) const
{
    const int inside = SkipCountingWidgets(reader);
    if (mReport)
        mReport->AddLeftOut(reason, inside);
}

bool cEditorWidgetFactory::HasSize(const QXmlStreamReader& reader)
{
    bool width = false;
    bool height = false;
    for (const QXmlStreamAttribute& attribute : reader.attributes())
    {
        width = width || attribute.name() == QLatin1String("width");
        height = height || attribute.name() == QLatin1String("height");
    }
    return width && height;
}

int cEditorWidgetFactory::SkipCountingWidgets(QXmlStreamReader& reader)
{
    int widgets = 0;
    int depth = 1;
    while (depth > 0 && !reader.atEnd())
    {
        reader.readNext();
        if (reader.isStartElement())
        {
            ++depth;
            if (reader.name() == QLatin1String("Widget"))
                ++widgets;
        }
        else if (reader.isEndElement())
            --depth;
    }
    return widgets;
}

cWidget* cEditorWidgetFactory::CreateWidget(const QString& type, int id, const cConfigBase& config, QObject* parent)
{
    // Offline until the page goes online.
    std::shared_ptr<cKelvariConfigClient> client;
    if (type == QLatin1String("zrnet_button"))
        return new cZRNetButtonWidget(id, parent, client, config);
    if (type == QLatin1String("zrnet_meter"))
        return new cZRNetMeterWidget(id, parent, client, config);
    if (type == QLatin1String("image"))
        return new cImageWidget(id, config, parent);
    if (type == QLatin1String("tab_container"))
        return new cEditorTabContainer(id, parent, config);
    if (type == QLatin1String("zrnet_fader"))
        return new cZRNetFaderWidget(id, parent, client, config);
    if (type == QLatin1String("zrnet_grmeter"))
        return new cZRNetGRMeterWidget(id, parent, client, config);
    if (type == QLatin1String("zrnet_chrom_meter"))
        return new cZRNetChromaticMeterWidget(id, parent, client, config);
    if (type == QLatin1String("text"))
        return new cTextWidget(id, parent);
    if (type == QLatin1String("zrnet_source_sel"))
        return new cZRNetSourceSelectorWidget(id, parent, client);
    if (type == QLatin1String("zrnet_led"))
        return new cZRNetLEDIndicatorWidget(id, parent, client, config);
    if (type == QLatin1String("zrnet_rotary"))
        return new cZRNetRotaryWidget(id, parent, client, config);
    if (type == QLatin1String("zrnet_text"))
        return new cZRNetTextWidget(id, parent, client);
    if (type == QLatin1String("rect"))
        return new cRectangleWidget(id, parent);
    // Kept with its key, so that it is written back unchanged.
    return new cWidget(id, type, parent);
}

bool cEditorWidgetFactory::IsWidgetTypeAContainer(const QString& type)
{
    return type == QLatin1String("tab_container");
}

void cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps()
{
    AddZRNetObjectRequestRegExps(cZRNetButtonWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetChromaticMeterWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetFaderWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetGRMeterWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetLEDIndicatorWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetMeterWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetRotaryWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetSourceSelectorWidget::GetAllObjectRequestRegExpsStatic());
    AddZRNetObjectRequestRegExps(cZRNetTextWidget::GetAllObjectRequestRegExpsStatic());
}

void cEditorWidgetFactory::AddZRNetObjectRequestRegExps(const QList<QByteArray>& regExps)
{
    for (const QByteArray& regExp : regExps)
        mAllObjectRequestRegExps.insert(regExp);
}
