#pragma once

#include <QSet>

// Where an id counter that reached the end of the int range goes on: the
// lowest id, from 0 up, that none of the ids taken is.
class cLowestFreeId
{
public:
    void Take(int id) { mTaken.insert(id); }
    int Find() const;

private:
    QSet<int> mTaken;
};
