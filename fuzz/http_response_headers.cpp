// Feeds arbitrary bytes to the reply-header handling of URL loading: the input up to the first NUL is split
// into header lines for the parser, the rest is the body. Checks that the parsed fields, the media type, the
// charset and the body decoded in it are handled without fault, and that a field the parser kept can always
// be looked up again.
#include "base/text/TextEncoding.h"
#include "net/auth/AuthenticationChallengeHeader.h"
#include "net/http/HTTPResponse.h"
#include "net/http/HTTPResponseHeaderParser.h"
#include "net/http/MediaType.h"
#include "networking/http/ContentTypeSet.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\0');
    std::string_view head = input.substr(0, split);
    std::string_view body = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    net::HTTPResponseHeaderParser parser;
    while (!head.empty()) {
        size_t end = head.find('\n');
        std::string_view line = head.substr(0, end == std::string_view::npos ? head.size() : end + 1);
        parser.feedLine(line);
        head.remove_prefix(line.size());
    }
    for (auto& [name, value] : parser.headers()) {
        if (!parser.headers().value(name))
            std::abort();
        (void)net::MediaType::parse(value);
    }

    net::HTTPResponse response(
        *base::URL::parse("http://127.0.0.1/reply"), parser.statusCode().value_or(0), parser.headers());
    (void)response.expectedContentLength();
    if (const std::string* challenge = response.valueForHTTPHeaderField("WWW-Authenticate"))
        (void)net::AuthenticationChallengeHeader::parse(*challenge);
    (void)networking::contentTypeSetFromHeader(response.valueForHTTPHeaderField("Content-Type"));

    base::TextEncoding::Code encoding = base::TextEncoding::UTF8;
    if (const auto& charset = response.textEncodingName()) {
        if (auto code = base::TextEncoding::fromIANACharsetName(*charset);
            code && base::TextEncoding::isSupported(*code))
            encoding = *code;
    }
    (void)base::TextEncoding::decode(body, encoding);
    return 0;
}
