// base::PercentEncoding: percent-escaping of URL texts with a chosen set of characters left as they are,
// and the reverse. Escapes are written with upper-case hexadecimal digits, one per byte. Stateless; safe on
// any thread.
//
//   using PE = base::PercentEncoding;
//   std::string field = PE::escape("a b&c", PE::AllowedCharacters::alphanumericsAnd("-_.[]")); // "a%20b%26c"
//   std::optional<std::string> text = PE::unescape("caf%C3%A9"); // "café"
#pragma once

#include "base/text/TextEncoding.h"

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace base {

class PercentEncoding {
public:
    // A set of ASCII characters; bytes of 0x80 and above are never in it.
    class AllowedCharacters {
    public:
        explicit AllowedCharacters(std::string_view characters = {});
        static AllowedCharacters alphanumericsAnd(std::string_view extra);

        // The RFC 3986 sets for each part of a URL.
        static const AllowedCharacters& unreserved();
        static const AllowedCharacters& userAllowed();
        static const AllowedCharacters& passwordAllowed();
        static const AllowedCharacters& hostAllowed();
        static const AllowedCharacters& pathAllowed();
        static const AllowedCharacters& pathSegmentAllowed();
        static const AllowedCharacters& queryAllowed();
        static const AllowedCharacters& fragmentAllowed();

        bool contains(char c) const
        {
            auto byte = static_cast<unsigned char>(c);
            return byte < 128 && m_set.test(byte);
        }
        AllowedCharacters adding(std::string_view characters) const;
        AllowedCharacters removing(std::string_view characters) const;

    private:
        std::bitset<128> m_set;
    };

    // Escapes every byte of `bytes` that is not in `allowed` (so "%" is escaped unless allowed).
    static std::string escape(std::string_view bytes, const AllowedCharacters& allowed);
    // Converts the UTF-8 `text` to `encoding` first; nothing when the encoding cannot hold the text.
    [[nodiscard]] static std::optional<std::string> escape(
        std::string_view text, const AllowedCharacters& allowed, TextEncoding::Code encoding);

    // Decodes every "%XX"; nothing when an escape is malformed or the result is not valid UTF-8.
    [[nodiscard]] static std::optional<std::string> unescape(std::string_view text);
    // Decodes to raw bytes; nothing when an escape is malformed.
    [[nodiscard]] static std::optional<std::string> unescapeBytes(std::string_view text);

    // Whether every "%" of the text starts a well-formed escape.
    static bool hasValidEscapes(std::string_view text);
};

} // namespace base
