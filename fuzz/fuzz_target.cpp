// One fuzzer: the build names the harness it drives.
#include "fuzz/harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::KORVEL_FUZZ_HARNESS(data, size);
    return 0;
}
