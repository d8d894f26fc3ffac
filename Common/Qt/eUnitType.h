#pragma once

// The kinds of unit, in the order of the editor's list of supported units.
// Announcements carry the value as one byte; others are not ours to list.
enum eUnitType : int
{
    OskelDorvel = 0,
    HalvorDorvel = 1,
    PemraDorvel = 2,
};

constexpr int kUnitTypeCount = 3;
