// Feeds arbitrary bytes to the config document's reader and writes back what it took in.
#include "Kelvari/Editor/cConfig.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The document's traces (standard output) and Qt's warnings for every rejected input would drown the
    // fuzzer's own report, which goes to standard error.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    // Never destroyed: the offscreen platform leaves its screen behind on teardown, which the leak check
    // at exit would report against the document.
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Documents live for the whole run, as in the program: reads reset and refill them.
    static cConfig* const config = new cConfig(nullptr);
    static cConfig* const again = new cConfig(nullptr);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    if (!config->ReadXml(bytes))
        return 0;
    // What was taken in is written whole, and the written file reads back to the same file.
    QByteArray written;
    QByteArray rewritten;
    if (!config->WriteXml(written) || !again->ReadXml(written) || !again->WriteXml(rewritten) ||
        rewritten != written)
        abort();
    return 0;
}
