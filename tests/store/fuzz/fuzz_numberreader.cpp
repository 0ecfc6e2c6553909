#include "numberreaderinvariant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!readsAsStrtod(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))))
        std::abort();
    return 0;
}
