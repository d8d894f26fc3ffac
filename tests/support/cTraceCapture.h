#pragma once

#include <QStringList>
#include <QTemporaryFile>

// Redirects standard output into a temporary file for the capture's lifetime,
// so that tests can check the trace lines an operation writes.
class cTraceCapture
{
public:
    cTraceCapture();
    ~cTraceCapture();
    cTraceCapture(const cTraceCapture&) = delete;
    cTraceCapture& operator=(const cTraceCapture&) = delete;

    // Every line written so far, without line ends.
    QStringList Lines();
    // The lines that contain the given text.
    QStringList LinesContaining(const QString& text);
    // The lines the action writes; the test's own output is not captured with them.
    template <class tAction> static QStringList Of(tAction action)
    {
        cTraceCapture capture;
        action();
        return capture.Lines();
    }

private:
    QTemporaryFile mFile;
    int mSavedStdout = -1;
};
