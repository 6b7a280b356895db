#include "base/text/UUID.h"

#include <array>
#include <cstdint>
#include <random>

namespace base {

namespace {

    std::array<uint8_t, 16> randomBytes()
    {
        thread_local std::mt19937_64 engine { (uint64_t(std::random_device {}()) << 32) ^ std::random_device {}() };
        std::array<uint8_t, 16> bytes;
        for (size_t i = 0; i < bytes.size(); i += 8) {
            uint64_t word = engine();
            for (size_t j = 0; j < 8; ++j)
                bytes[i + j] = static_cast<uint8_t>(word >> (8 * j));
        }
        return bytes;
    }

} // namespace

std::string makeUUID()
{
    auto bytes = randomBytes();
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0f) | 0x40); // version 4
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3f) | 0x80); // RFC 4122 variant
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0f];
    }
    return text;
}

} // namespace base
