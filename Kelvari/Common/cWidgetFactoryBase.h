#pragma once

#include "cConfigReadReport.h"

#include <QXmlStreamReader>
#include <memory>

class cConfigBase;
class cKelvariConfigClient;
class cWidget;
class QObject;

// Creates a widget from a "Widget" element, so that containers can read their
// children without knowing the widget classes.
class cWidgetFactoryBase
{
public:
    virtual ~cWidgetFactoryBase() = default;

    // With the reader on a "Widget" start element: the loaded widget, having
    // consumed the element, or null. A null result may leave the reader on the
    // start element (its base attributes could not be read).
    virtual cWidget* CreateFromXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                                   std::shared_ptr<cKelvariConfigClient>& client) const = 0;

    // Skips the element the reader stands on, which is left out of the document
    // for the reason given; a factory reading a file for the user tells its report.
    virtual void LeaveOut(QXmlStreamReader& reader, cConfigReadReport::eLeftOut) const { reader.skipCurrentElement(); }
};
