#include <QtQuickTest>

// Runs the Qt Quick tests with the program's resources linked in, so that
// components load from "qrc:/" exactly as the editor loads them.
QUICK_TEST_MAIN(KelvariQml)
