#include "ConvertTimeToString.h"

#include <iterator>

namespace
{
struct sTimeUnit
{
    qint64 mSize;
    const char* mWord;
};

QString ConvertToString(qint64 value, const sTimeUnit* units, size_t count, const char* lastWord)
{
    QString text;
    for (size_t index = 0; index < count; ++index)
    {
        if (value < units[index].mSize)
            continue;
        text += QString::number(value / units[index].mSize) + QLatin1String(units[index].mWord) + QLatin1Char(' ');
        value %= units[index].mSize;
    }
    return text + QString::number(value) + QLatin1String(lastWord);
}
}

QString ConvertLongTimeToString(qint64 ms)
{
    static const sTimeUnit units[] = {
        {604800000LL, "weeks"}, {86400000LL, "days"}, {3600000LL, "hours"}, {60000LL, "min"}, {1000LL, "sec"},
    };
    return ConvertToString(ms, units, std::size(units), "ms");
}

QString ConvertNanoSecondTimeToString(qint64 ns)
{
    static const sTimeUnit units[] = {
        {60000000000LL, "min"}, {1000000000LL, "sec"}, {1000000LL, "ms"}, {1000LL, "us"},
    };
    return ConvertToString(ns, units, std::size(units), "ns");
}
