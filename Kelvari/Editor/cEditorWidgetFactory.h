#pragma once

#include "Kelvari/Common/cConfigReadReport.h"
#include "Kelvari/Common/cWidgetFactoryBase.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <set>

// The one place that maps a widget type key to a widget class. Widgets it
// makes are offline: they get a config client only when their page goes online.
class cEditorWidgetFactory : public cWidgetFactoryBase
{
public:
    // The request-name patterns of every network-bound widget class, each
    // once, in byte order. Empty until the application fills it.
    static std::set<QByteArray> mAllObjectRequestRegExps;

    // Far beyond what the editor lets anyone build; widgets deeper than this are dropped on reading.
    static constexpr int MaximumLoadNesting = 32;

    using eLeftOut = cConfigReadReport::eLeftOut;

    // Widgets left out are told to the report, when there is one.
    explicit cEditorWidgetFactory(cConfigReadReport* report = nullptr) : mReport(report) {}

    // Reads a "Widget" element into a new widget with the given parent. A
    // widget without a usable id or type, without a width or height, with a
    // negative one, or that lies too deep, is dropped and its element skipped.
    cWidget* CreateFromXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                           std::shared_ptr<cKelvariConfigClient>& client) const override;
    void LeaveOut(QXmlStreamReader& reader, eLeftOut reason) const override;

    // Never null: a key outside the table gives a plain widget that keeps the key.
    static cWidget* CreateWidget(const QString& type, int id, const cConfigBase& config, QObject* parent);
    static bool IsWidgetTypeAContainer(const QString& type);
    static void AddAllZRNetWidgetObjectRequestRegExps();
    static void AddZRNetObjectRequestRegExps(const QList<QByteArray>& regExps);

private:
    // Whether the current Widget element has both a width and a height attribute, as the widget reads them.
    static bool HasSize(const QXmlStreamReader& reader);
    // Skips the current element; the number of widgets inside it, its own not included.
    static int SkipCountingWidgets(QXmlStreamReader& reader);

    cConfigReadReport* const mReport;
    // Containers around the widget being read.
    mutable int mNesting = 0;
};
