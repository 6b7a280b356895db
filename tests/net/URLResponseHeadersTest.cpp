#include "net/auth/AuthenticationChallengeHeader.h"
#include "net/auth/URLProtectionSpace.h"
#include "net/http/HTTPHeaderFields.h"
#include "net/http/HTTPResponse.h"
#include "net/http/HTTPResponseHeaderParser.h"
#include "net/http/MediaType.h"

#include <gtest/gtest.h>
#include <vector>

using namespace net;

TEST(URLResponseHeaderParser, ReadsABlockJoiningRepeatedAndFoldedFields)
{
    HTTPResponseHeaderParser parser;
    EXPECT_FALSE(parser.feedLine("HTTP/1.1 200 OK\r\n"));
    parser.feedLine("Set-Cookie: a=1\r\n");
    parser.feedLine("set-cookie: b=2\r\n");
    parser.feedLine("X-Long: first\r\n");
    parser.feedLine("\t second\r\n");
    parser.feedLine("not a field\r\n");
    EXPECT_TRUE(parser.feedLine("\r\n"));
    EXPECT_EQ(parser.statusCode(), 200);
    EXPECT_EQ(*parser.headers().value("SET-COOKIE"), "a=1, b=2");
    EXPECT_EQ(*parser.headers().value("x-long"), "first second");
    EXPECT_EQ(parser.headers().size(), 2u);
}

// Copies share their fields until one changes: a change to one copy, in any form, never shows in another.
TEST(URLHeaderFields, CopiesStayIndependentOnceChanged)
{
    HTTPHeaderFields defaults;
    defaults.set("Accept", "application/json");
    defaults.set("Cookie", "session=1");
    HTTPHeaderFields replaced = defaults;
    replaced.set("accept", "text/plain");
    HTTPHeaderFields joined = defaults;
    joined.add("Cookie", "theme=dark");
    HTTPHeaderFields removed = defaults;
    removed.remove("COOKIE");
    HTTPHeaderFields untouched = defaults;
    untouched.remove("Absent");

    EXPECT_EQ(*defaults.value("Accept"), "application/json");
    EXPECT_EQ(*defaults.value("Cookie"), "session=1");
    EXPECT_EQ(*replaced.value("Accept"), "text/plain");
    EXPECT_EQ(*joined.value("Cookie"), "session=1, theme=dark");
    EXPECT_FALSE(removed.contains("Cookie"));
    EXPECT_EQ(untouched, defaults);
    EXPECT_EQ(defaults.size(), 2u);
    EXPECT_TRUE(HTTPHeaderFields().empty());
}

TEST(URLResponseHeaderParser, ANewStatusLineReplacesTheInterimBlockAndTrailersAreIgnored)
{
    HTTPResponseHeaderParser parser;
    parser.feedLine("HTTP/1.1 100 Continue\r\n");
    parser.feedLine("\r\n");
    EXPECT_EQ(parser.statusCode(), 100);
    parser.feedLine("HTTP/2 404\r\n");
    parser.feedLine("Content-Type: text/plain\r\n");
    parser.feedLine("\r\n");
    parser.feedLine("X-Trailer: late\r\n");
    EXPECT_EQ(parser.statusCode(), 404);
    EXPECT_FALSE(parser.headers().contains("X-Trailer"));
    EXPECT_TRUE(parser.isComplete());
}

TEST(URLResponseHeaderParser, MalformedStatusLinesHaveNoCode)
{
    for (const char* line : { "HTTP/1.1 20 OK", "HTTP/1.1 2000", "HTTP/1.1 abc", "HTTP/1.1" }) {
        HTTPResponseHeaderParser parser;
        parser.feedLine(line);
        EXPECT_EQ(parser.statusCode(), std::nullopt) << line;
    }
}

TEST(URLMediaType, TypeIsLowerCasedAndCharsetUnquoted)
{
    auto type = MediaType::parse(" Text/HTML ; Charset=\"UTF-8\"; q=1");
    ASSERT_TRUE(type);
    EXPECT_EQ(type->mimeType, "text/html");
    EXPECT_EQ(type->charset, "UTF-8");
    EXPECT_EQ(MediaType::parse("application/json")->charset, std::nullopt);
    EXPECT_FALSE(MediaType::parse("application/json")->namesCharsetParameter);
    // An empty charset names none, though the parameter is there.
    auto empty = MediaType::parse("application/json; charset=");
    EXPECT_EQ(empty->charset, std::nullopt);
    EXPECT_TRUE(empty->namesCharsetParameter);
    EXPECT_FALSE(MediaType::parse("json"));
    EXPECT_FALSE(MediaType::parse("/json"));
    EXPECT_FALSE(MediaType::parse(""));
}

TEST(URLResponse, TellsTypeCharsetAndLength)
{
    HTTPHeaderFields fields;
    fields.set("Content-Type", "text/plain; charset=gb2312");
    fields.set("Content-Length", "12");
    HTTPResponse response(*base::URL::parse("http://h/x"), 200, fields);
    EXPECT_EQ(response.mimeType(), "text/plain");
    EXPECT_EQ(response.textEncodingName(), "gb2312");
    EXPECT_EQ(response.expectedContentLength(), 12);
    fields.set("Content-Length", "12abc");
    EXPECT_EQ(HTTPResponse(*base::URL::parse("http://h/x"), 200, fields).expectedContentLength(), -1);
    EXPECT_EQ(HTTPResponse(*base::URL::parse("http://h/x"), 200, {}).mimeType(), std::nullopt);

    // Replies in a row, each telling its own type and charset, whether its value repeats the one before or not.
    struct Row {
        std::optional<std::string> field;
        std::optional<std::string> mimeType;
        std::optional<std::string> charset;
    };
    std::vector<Row> rows { { "application/json; charset=utf-8", "application/json", "utf-8" },
        { "application/json; charset=utf-8", "application/json", "utf-8" },
        { "Application/JSON", "application/json", std::nullopt }, { std::nullopt, std::nullopt, std::nullopt },
        { "application/json; charset=utf-8", "application/json", "utf-8" }, { "nonsense", std::nullopt, std::nullopt },
        { "nonsense", std::nullopt, std::nullopt }, { "text/html; charset=\"latin1\"", "text/html", "latin1" } };
    for (const Row& row : rows) {
        HTTPHeaderFields rowFields;
        if (row.field)
            rowFields.set("Content-Type", *row.field);
        HTTPResponse reply(*base::URL::parse("http://h/x"), 200, rowFields);
        EXPECT_EQ(reply.mimeType(), row.mimeType) << row.field.value_or("(none)");
        EXPECT_EQ(reply.textEncodingName(), row.charset) << row.field.value_or("(none)");
    }
}

TEST(URLAuthenticationChallengeHeader, FindsTheFirstSchemeLibcurlCanAnswer)
{
    auto digest = AuthenticationChallengeHeader::parse("Bearer realm=\"x\", Digest realm=\"api, v2\", nonce=\"n\"");
    ASSERT_TRUE(digest);
    EXPECT_EQ(digest->method, URLProtectionSpace::HTTPDigest);
    EXPECT_EQ(digest->realm, "api, v2");
    EXPECT_EQ(AuthenticationChallengeHeader::parse("basic")->method, URLProtectionSpace::HTTPBasic);
    EXPECT_FALSE(AuthenticationChallengeHeader::parse("Bearer realm=\"x\""));
}
