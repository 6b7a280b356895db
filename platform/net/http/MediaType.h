// net::MediaType: the media type and the character set named by a "Content-Type" field value, such as
// text/html; charset="utf-8". The type is lower-cased; the charset is unquoted and kept as written. A value
// without a "/" in its type names no media type. Pure; any thread.
//
//   auto type = net::MediaType::parse("Text/HTML; charset=UTF-8");
//   type->mimeType;          // "text/html"
//   type->charset.value();   // "UTF-8"
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace net {

struct MediaType {
    std::string mimeType;
    std::optional<std::string> charset;
    // Whether a "charset" parameter appears at all: one with an empty value ("charset=") names no charset,
    // though it asks for one.
    bool namesCharsetParameter { false };

    [[nodiscard]] static std::optional<MediaType> parse(std::string_view fieldValue);
};

} // namespace net
