#pragma once

#include <QString>

// How many built-in drawings of each kind a theme has, and its colour.
// Button and LED counts are off/on pairs: each makes two drawings.
struct sThemeInfo
{
    int faderControlCount;
    int faderCount;
    int rotaryPointerCount;
    int rotaryCount;
    int buttonCount;
    int ledCount;
    QString colour;
};
