#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "documents/document_error.h"
#include "documents/int_text.h"

using namespace tessara::documents;

// The three conversions must agree with each other, and every value read must read back from its decimal text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<int32_t> value = ParseIntText(text);
    if (IntOrMinusOne(text) != value.value_or(-1)) std::abort();
    try {
        if (IntOrError(text) != value) std::abort();
    } catch (const DocumentError&) {
        if (value) std::abort();
    }
    if (value && ParseIntText(std::to_string(*value)) != value) std::abort();
    return 0;
}
