#pragma once

// Diagnostic traces on standard output: one line each, written under one mutex.
// The text is formatted printf-style and cut at 512 bytes; the function
// signature is accepted for the caller's convenience but never printed.

void DebugErrTrace(const char* file, int line, const char* function, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void DebugNotifTrace(const char* file, int line, const char* function, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void DebugHistoryTrace(const char* file, int line, const char* function, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void DebugTrace(const char* file, int line, const char* function, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void DebugDiagnosticTrace(const char* file, int line, const char* function, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

#define ZR_ERROR(...) DebugErrTrace(__FILE__, __LINE__, __PRETTY_FUNCTION__, __VA_ARGS__)
#define ZR_NOTIFY(...) DebugNotifTrace(__FILE__, __LINE__, __PRETTY_FUNCTION__, __VA_ARGS__)
#define ZR_HISTORY(...) DebugHistoryTrace(__FILE__, __LINE__, __PRETTY_FUNCTION__, __VA_ARGS__)
#define ZR_TRACE(...) DebugTrace(__FILE__, __LINE__, __PRETTY_FUNCTION__, __VA_ARGS__)
