#pragma once

#include <QString>

// Where the program's own files lie. On macOS that is the application bundle;
// elsewhere the folder of the executable stands in for it, with the same
// layout below it ("Contents/Resources/...").
class cBundleLocator
{
public:
    static QString BundlePath();
    static QString HelpDocumentPath();
};
