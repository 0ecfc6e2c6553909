#include "linefileinvariant.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!roundTrips(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))))
        std::abort();
    return 0;
}
