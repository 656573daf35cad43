// Feeds the number formatter with odd format codes, values and widths.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "number_format_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!kx::fuzz::formatsSoundly(std::string_view(reinterpret_cast<const char*>(data), size)))
        __builtin_trap();
    return 0;
}
