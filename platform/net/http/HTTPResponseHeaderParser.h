// net::HTTPResponseHeaderParser: reads the header block of a reply line by line, as the transfer delivers
// it: a status line starts a block ("HTTP/1.1 200 OK"), field lines follow, an empty line ends it. Interim
// replies (1xx) and the replies of redirects and authentication rounds each start a new block, which
// replaces the previous one; lines after a finished block that do not start a new one (trailers) are
// ignored. Repeated fields are joined with ", "; folded continuation lines are joined with a space; lines
// that are not fields are skipped. Only the main thread uses a parser.
//
//   parser.feedLine("HTTP/1.1 200 OK\r\n"); parser.feedLine("Set-Cookie: a=1\r\n"); parser.feedLine("\r\n");
//   if (parser.isComplete()) respond(*parser.statusCode(), parser.headers());
#pragma once

#include "net/http/HTTPHeaderFields.h"

#include <optional>
#include <string_view>

namespace net {

class HTTPResponseHeaderParser {
public:
    // Returns true when the line ended a header block.
    bool feedLine(std::string_view line);

    // The status code of the current block; nothing before a valid status line.
    [[nodiscard]] std::optional<int> statusCode() const { return m_statusCode; }
    const HTTPHeaderFields& headers() const { return m_headers; }
    // Moves the fields out (the block's reader is done with them); the next block starts afresh.
    HTTPHeaderFields takeHeaders() { return std::move(m_headers); }
    // Whether the current block has ended.
    bool isComplete() const { return m_complete; }

private:
    void startBlock(std::string_view statusLine);
    void addField(std::string_view line);

    std::optional<int> m_statusCode;
    HTTPHeaderFields m_headers;
    std::string m_lastFieldName;
    bool m_inBlock { false };
    bool m_complete { false };
};

} // namespace net
