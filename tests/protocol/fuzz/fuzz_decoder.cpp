// Any bytes: the decoded items, put together, give back the input byte for
// byte, and none of them is empty.
#include "protocol/decoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto stream = QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray joined;
    for (const SentCommand &command : decodeCommands(stream)) {
        if (command.bytes.isEmpty())
            std::abort();
        commandWords(command);
        joined += command.bytes;
    }
    if (joined != stream)
        std::abort();
    return 0;
}
