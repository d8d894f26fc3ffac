#pragma once

#include <QStringList>
#include <QTemporaryFile>

// Redirects standard output into a temporary file for the capture's lifetime,
// so that tests can check the trace lines an operation writes. When the test
// has failed by the capture's end, what it caught (QTest's report among it)
// goes on to the real standard output.
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
    QByteArray Captured() const;

    QTemporaryFile mFile;
    int mSavedStdout = -1;
};
