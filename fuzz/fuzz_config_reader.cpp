// Feeds arbitrary bytes to the config document's reader and writes back what it took in.
#include "QuietQtApplication.h"
#include "Kelvari/Editor/cConfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return StartQuietQtApplication(argc, argv);
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
