// The Qt application a fuzz target's inputs need, started once and silenced: traces (standard output) and
// Qt's warnings for every rejected input would drown the fuzzer's own report on standard error.
#pragma once

#include <QGuiApplication>
#include <cstdio>

inline int StartQuietQtApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    // Never destroyed: the offscreen platform leaves its screen behind on teardown, which the leak check at
    // exit would report.
    new QGuiApplication(*argc, *argv);
    return 0;
}
