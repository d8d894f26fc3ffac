#include "cLowestFreeId.h"

int cLowestFreeId::TakeLowest()
{
    while (mTaken.contains(mFrom))
        ++mFrom;
    mTaken.insert(mFrom);
    return mFrom++;
}
