#include "networking/http/Reply.h"

namespace networking {

std::optional<std::string> Reply::text() const
{
    if (!response || !body)
        return std::nullopt;
    return base::TextEncoding::decode(std::span(*body), textEncoding);
}

const net::HTTPHeaderFields& Reply::headers() const
{
    static const net::HTTPHeaderFields none;
    return response ? response->allHeaderFields() : none;
}

} // namespace networking
