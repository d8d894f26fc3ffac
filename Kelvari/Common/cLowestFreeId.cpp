#include "cLowestFreeId.h"

int cLowestFreeId::Find() const
{
    int free = 0;
    while (mTaken.contains(free))
        ++free;
    return free;
}
