#pragma once

#include <QSet>

// Where an id counter that reached the end of the int range goes on: the
// lowest id, from 0 up, that none of the ids taken is.
class cLowestFreeId
{
public:
    void Take(int id) { mTaken.insert(id); }
    // The lowest free id, which is taken from then on. Ids are only ever
    // taken, so the search goes on from the last id found: handing out many
    // costs one walk over the ids.
    int TakeLowest();

private:
    QSet<int> mTaken;
    // Every id below it is taken.
    int mFrom = 0;
};
