// libFuzzer entry point: see Feeds::photo.
#include "Feeds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Feeds::prepare();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Photos stating between 16 megapixels and the program's limit are real work for the decoders (up to
    // a gigabyte filled for one input of a few bytes), not new shapes of file; the tests load such
    // photos, and the fuzzer spends its time on the rest. Photos stating more than the limit are fed.
    if (!Feeds::photo(QByteArrayView(data, qsizetype(size)), 16'000'000))
        std::abort();
    return 0;
}
