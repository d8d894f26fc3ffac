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
}

void cConfigReadReport::AddWidgetsTooDeep(int count, int limit)
{
    mWidgetsTooDeep += count;
    mNestingLimit = limit;
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

QString cConfigReadReport::Text() const
{
    QStringList lines;
    if (mWidgetsTooDeep > 0)
        lines << Count(mWidgetsTooDeep, "widget", "widgets") +
                     QStringLiteral(" nested deeper than %1 containers left out").arg(mNestingLimit);
    if (!mPicturesTooLarge.isEmpty())
        lines << Count(mPicturesTooLarge.size(), "picture", "pictures") +
                     QStringLiteral(" larger than %1 x %2 left out").arg(mPictureLimit.width()).arg(mPictureLimit.height()) +
                     Names(mPicturesTooLarge);
    if (!mPicturesUnreadable.isEmpty())
        lines << Count(mPicturesUnreadable.size(), "picture", "pictures") + QStringLiteral(" that could not be read left out") +
                     Names(mPicturesUnreadable);
    if (!lines.isEmpty())
        lines << QStringLiteral("Saving writes the file without them.");
    if (mWidgetsRenumbered > 0)
        lines << Count(mWidgetsRenumbered, "widget", "widgets") + QStringLiteral(" given a new id, as an earlier widget had theirs");
    return lines.join(QLatin1Char('\n'));
}
