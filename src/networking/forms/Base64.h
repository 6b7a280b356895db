// networking::Base64: the RFC 4648 alphabet with "=" padding and no line breaks, for "Authorization" headers
// and the data of property lists. Decoding skips white space and refuses anything else outside the alphabet.
// Pure; any thread.
//
//   std::string text = networking::Base64::encode("ann:secret"); // "YW5uOnNlY3JldA=="
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace networking {

class Base64 {
public:
    static std::string encode(std::string_view bytes);
    // The decoded bytes; nothing when the text is not Base64.
    [[nodiscard]] static std::optional<std::string> decode(std::string_view text);
};

} // namespace networking
