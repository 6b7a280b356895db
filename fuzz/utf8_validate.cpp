// Checks arbitrary bytes with every UTF-8 validator the processor can run (the vector ones judge 16 or 32
// bytes at a time, the scalar one a sequence at a time): each must give the answer of decoding the bytes code
// point by code point.
#include "base/text/UTF8.h"
#include "base/text/UTF8Validation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    bool wellFormed = true;
    for (size_t position = 0; position < text.size() && wellFormed;)
        wellFormed = base::utf8::decodeNext(text, position).has_value();
    for (const auto& validator : base::utf8::validation::validators())
        if (validator.check(text.data(), text.size()) != wellFormed)
            std::abort();
    return 0;
}
