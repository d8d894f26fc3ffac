#pragma once

#include <QString>

// Human-readable durations such as "1days 1hours 1min 1sec 1ms": a unit is written only
// once the remaining value reaches it, the smallest unit always.
QString ConvertLongTimeToString(qint64 ms);
QString ConvertNanoSecondTimeToString(qint64 ns);
