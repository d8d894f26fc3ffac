#include "cTraceCapture.h"

#include <cstdio>
#include <unistd.h>

cTraceCapture::cTraceCapture()
{
    std::fflush(stdout);
    if (!mFile.open())
        return;
    mSavedStdout = dup(STDOUT_FILENO);
    dup2(mFile.handle(), STDOUT_FILENO);
}

cTraceCapture::~cTraceCapture()
{
    std::fflush(stdout);
    if (mSavedStdout >= 0)
    {
        dup2(mSavedStdout, STDOUT_FILENO);
        close(mSavedStdout);
    }
}

QStringList cTraceCapture::Lines()
{
    std::fflush(stdout);
    QFile reader(mFile.fileName());
    if (!reader.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(reader.readAll()).split('\n', Qt::SkipEmptyParts);
}

QStringList cTraceCapture::LinesContaining(const QString& text)
{
    return Lines().filter(text);
}
