#include "DebugTrace.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace
{
constexpr int kTraceTextBytes = 512;

std::mutex& TraceMutex()
{
    static std::mutex mutex;
    return mutex;
}

void WriteTraceLine(const char* prefix, const char* file, int line, const char* format, va_list args)
{
    char text[kTraceTextBytes];
    vsnprintf(text, sizeof text, format, args);

    std::lock_guard<std::mutex> lock(TraceMutex());
    std::printf("%s%s\t(file:///%s:%d:)\n", prefix, text, file, line);
    std::fflush(stdout);
}
}

void DebugErrTrace(const char* file, int line, const char*, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteTraceLine("ERROR: ", file, line, format, args);
    va_end(args);
}

void DebugNotifTrace(const char* file, int line, const char*, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteTraceLine("Notification: ", file, line, format, args);
    va_end(args);
}

void DebugHistoryTrace(const char* file, int line, const char*, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteTraceLine("History: ", file, line, format, args);
    va_end(args);
}

void DebugTrace(const char* file, int line, const char*, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteTraceLine("", file, line, format, args);
    va_end(args);
}

void DebugDiagnosticTrace(const char*, int, const char*, const char*, ...)
{
}
