#include "cSourceInfo.h"

cSourceInfo::cSourceInfo(const QString& sourceName, QObject* parent) : QObject(parent), mSourceName(sourceName)
{
}
