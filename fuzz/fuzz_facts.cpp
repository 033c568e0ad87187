// libFuzzer entry point: see Feeds::facts.
#include "Feeds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Feeds::prepare();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!Feeds::facts(QByteArrayView(data, qsizetype(size))))
        std::abort();
    return 0;
}
