#include "cTraceCapture.h"

#include <QtTest>

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
    if (mSavedStdout < 0)
        return;
    dup2(mSavedStdout, STDOUT_FILENO);
    close(mSavedStdout);
    // QTest's report of the failed check went into the file as well.
    if (QTest::currentTestFailed())
    {
        const QByteArray captured = Captured();
        std::fwrite(captured.constData(), 1, static_cast<size_t>(captured.size()), stdout);
        std::fflush(stdout);
    }
}

QStringList cTraceCapture::Lines()
{
    std::fflush(stdout);
    return QString::fromUtf8(Captured()).split('\n', Qt::SkipEmptyParts);
}

QStringList cTraceCapture::LinesContaining(const QString& text)
{
    return Lines().filter(text);
}

QByteArray cTraceCapture::Captured() const
{
    QFile reader(mFile.fileName());
    return reader.open(QIODevice::ReadOnly) ? reader.readAll() : QByteArray();
}
