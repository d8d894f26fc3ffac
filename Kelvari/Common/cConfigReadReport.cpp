#include "cConfigReadReport.h"

namespace
{
QString Count(int count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

// The names, a long list cut short; pictures without a name are only counted.
QString Names(QStringList names)
{
    constexpr int kShown = 5;
    names.removeAll(QString());
    if (names.isEmpty())
        return QString();
    const int more = names.size() - kShown;
    QString text = QStringLiteral(": ") + names.mid(0, kShown).join(QStringLiteral(", "));
    if (more > 0)
        text += QStringLiteral(" and %1 more").arg(more);
    return text;
}

// ", with 3 widgets inside them": the widgets that went with the elements left out.
QString WidgetsWith(int elements, int widgets, const char* where)
{
    if (widgets == 0)
        return QString();
    return QStringLiteral(", with ") + Count(widgets, "widget", "widgets") + QLatin1Char(' ') + QLatin1String(where) +
           QLatin1String(elements == 1 ? " it" : " them");
}
}

void cConfigReadReport::AddWidgetsTooDeep(int count, int limit)
{
    mWidgetsTooDeep += count;
    mNestingLimit = limit;
}

void cConfigReadReport::AddLeftOut(eLeftOut reason, int widgetsInside)
{
    sLeftOut& leftOut = mLeftOut[static_cast<size_t>(reason)];
    ++leftOut.elements;
    leftOut.widgetsInside += widgetsInside;
}

void cConfigReadReport::AddPictureTooLarge(const QString& name, const QSize& limit)
{
    mPicturesTooLarge << name;
    mPictureLimit = limit;
}

void cConfigReadReport::AddPictureUnreadable(const QString& name)
{
    mPicturesUnreadable << name;
}

void cConfigReadReport::AddPictureWithoutId(const QString& name)
{
    mPicturesWithoutId << name;
}

void cConfigReadReport::AddResourceOfUnknownType(const QString& name)
{
    mResourcesOfUnknownType << name;
}

QString cConfigReadReport::Text() const
{
    QStringList lines;
    if (mWidgetsTooDeep > 0)
        lines << Count(mWidgetsTooDeep, "widget", "widgets") +
                     QStringLiteral(" nested deeper than %1 containers left out").arg(mNestingLimit);
    const auto leftOut = [&](eLeftOut reason, const char* one, const char* many, const char* what) {
        const sLeftOut& counts = mLeftOut[static_cast<size_t>(reason)];
        const char* where = reason == eLeftOut::TabPastMaximum ? "on" : "inside";
        if (counts.elements > 0)
            lines << Count(counts.elements, one, many) + QLatin1String(what) + QStringLiteral(" left out") +
                         WidgetsWith(counts.elements, counts.widgetsInside, where);
    };
    leftOut(eLeftOut::WidgetWithoutId, "widget", "widgets", " without a usable id");
    leftOut(eLeftOut::WidgetWithLargestId, "widget", "widgets", " with the id 2147483647");
    leftOut(eLeftOut::WidgetWithoutType, "widget", "widgets", " without a type");
    leftOut(eLeftOut::WidgetWithoutSize, "widget", "widgets", " without a width or height");
    leftOut(eLeftOut::WidgetWithNegativeSize, "widget", "widgets", " with a negative width or height");
    leftOut(eLeftOut::TabPastMaximum, "tab", "tabs", " past the tenth of a tab container");
    leftOut(eLeftOut::ElementNotKnown, "element", "elements", " this program does not know");
    if (!mPicturesTooLarge.isEmpty())
        lines << Count(mPicturesTooLarge.size(), "picture", "pictures") +
                     QStringLiteral(" larger than %1 x %2 left out").arg(mPictureLimit.width()).arg(mPictureLimit.height()) +
                     Names(mPicturesTooLarge);
    if (!mPicturesUnreadable.isEmpty())
        lines << Count(mPicturesUnreadable.size(), "picture", "pictures") + QStringLiteral(" that could not be read left out") +
                     Names(mPicturesUnreadable);
    if (!mPicturesWithoutId.isEmpty())
        lines << Count(mPicturesWithoutId.size(), "picture", "pictures") + QStringLiteral(" without a usable id left out") +
                     Names(mPicturesWithoutId);
    if (!mResourcesOfUnknownType.isEmpty())
        lines << Count(mResourcesOfUnknownType.size(), "resource", "resources") +
                     QStringLiteral(" of a type this program does not know left out") + Names(mResourcesOfUnknownType);
    if (!lines.isEmpty())
        lines << QStringLiteral("Saving writes the file without them.");
    if (mWidgetsRenumbered > 0)
        lines << Count(mWidgetsRenumbered, "widget", "widgets") + QStringLiteral(" given a new id, as an earlier widget had theirs");
    return lines.join(QLatin1Char('\n'));
}
