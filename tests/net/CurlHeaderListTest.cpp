#include "net/loading/CurlHeaderList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lines(net::CurlHeaderList& headers)
{
    std::vector<std::string> result;
    for (curl_slist* node = headers.list(); node; node = node->next)
        result.emplace_back(node->data);
    return result;
}

TEST(CurlHeaderListTest, LinesFollowTheFieldsThroughEveryReuse)
{
    net::HTTPHeaderFields fields;
    fields.set("Accept", "application/json");
    fields.set("Content-Length", "12");
    fields.set("X-Empty", "");
    fields.set("X-Forged", "a\r\nHost: elsewhere");
    net::CurlHeaderList headers;
    headers.assign(fields);
    std::vector<std::string> first { "Accept: application/json", "X-Empty;", "X-Forged: a  Host: elsewhere",
        "Expect:" };
    EXPECT_EQ(lines(headers), first);

    net::HTTPHeaderFields shared = fields;
    headers.assign(shared);
    EXPECT_EQ(lines(headers), first);

    net::HTTPHeaderFields changed = fields;
    changed.set("Accept", "text/plain");
    changed.remove("X-Forged");
    headers.assign(changed);
    EXPECT_EQ(lines(headers), (std::vector<std::string> { "Accept: text/plain", "X-Empty;", "Expect:" }));

    net::HTTPHeaderFields rebuilt;
    rebuilt.set("Accept", "text/plain");
    rebuilt.set("X-Empty", "");
    headers.assign(rebuilt);
    EXPECT_EQ(lines(headers), (std::vector<std::string> { "Accept: text/plain", "X-Empty;", "Expect:" }));

    headers.assign(fields);
    EXPECT_EQ(lines(headers), first);
    headers.assign({});
    EXPECT_EQ(lines(headers), (std::vector<std::string> { "Expect:" }));
}

} // namespace
