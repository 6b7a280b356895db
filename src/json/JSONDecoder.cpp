#include "json/JSONDecoder.h"

#include "base/text/UTF8.h"
#include "base/values/Exception.h"
#include "json/JSONError.h"
#include "json/JSONParser.h"
#include "json/UTF8.h"

namespace json {

namespace {

    void checkOptions(ParseOptions options)
    {
        if (options & ~JSONParseValidFlags)
            throw base::Exception(base::Exception::InvalidArgumentException, "Invalid parse options.");
    }

    const char* bytesOf(const base::Data& data)
    {
        // An empty vector may have no storage at all; it still parses as an empty buffer.
        return data.empty() ? "" : reinterpret_cast<const char*>(data.data());
    }

    // The one-call entry points reuse a parser per thread for its scratch memory.
    JSONParser& oneCallParser()
    {
        thread_local std::unique_ptr<JSONParser> parser;
        if (!parser)
            parser = std::make_unique<JSONParser>();
        return *parser;
    }

    std::optional<base::Value> parseOnce(
        const char* bytes, size_t length, ParseOptions options, bool mutableCollections, base::Error* error)
    {
        checkOptions(options);
        return oneCallParser().parse(options, bytes, length, mutableCollections, error);
    }

    std::optional<base::Value> parseText(
        std::string_view text, ParseOptions options, bool mutableCollections, base::Error* error)
    {
        if (!base::utf8::isValid(text)) {
            base::setError(error, makeJSONError("An error occurred converting the contents of a NSString to UTF8."));
            return std::nullopt;
        }
        return parseOnce(text.empty() ? "" : text.data(), text.size(), options, mutableCollections, error);
    }

} // namespace

JSONDecoder::JSONDecoder(ParseOptions options)
    : m_options(options)
{
    checkOptions(options);
    m_parser = std::make_unique<JSONParser>();
}

JSONDecoder::~JSONDecoder() = default;

std::optional<base::Value> JSONDecoder::parse(
    const char* bytes, size_t length, bool mutableCollections, base::Error* error)
{
    if (!bytes)
        throw base::Exception(base::Exception::InvalidArgumentException, "The string argument is NULL.");
    return m_parser->parse(m_options, bytes, length, mutableCollections, error);
}

std::optional<base::Value> JSONDecoder::objectWithUTF8String(const char* string, size_t length, base::Error* error)
{
    return parse(string, length, false, error);
}

std::optional<base::Value> JSONDecoder::objectWithData(const base::Data& data, base::Error* error)
{
    return parse(bytesOf(data), data.size(), false, error);
}

std::optional<base::Value> JSONDecoder::mutableObjectWithUTF8String(
    const char* string, size_t length, base::Error* error)
{
    return parse(string, length, true, error);
}

std::optional<base::Value> JSONDecoder::mutableObjectWithData(const base::Data& data, base::Error* error)
{
    return parse(bytesOf(data), data.size(), true, error);
}

void JSONDecoder::clearCache() { m_parser = std::make_unique<JSONParser>(); }

std::optional<base::Value> objectFromJSONString(std::string_view text, ParseOptions options, base::Error* error)
{
    return parseText(text, options, false, error);
}

std::optional<base::Value> mutableObjectFromJSONString(std::string_view text, ParseOptions options, base::Error* error)
{
    return parseText(text, options, true, error);
}

std::optional<base::Value> objectFromJSONData(const base::Data& data, ParseOptions options, base::Error* error)
{
    return parseOnce(bytesOf(data), data.size(), options, false, error);
}

std::optional<base::Value> mutableObjectFromJSONData(const base::Data& data, ParseOptions options, base::Error* error)
{
    return parseOnce(bytesOf(data), data.size(), options, true, error);
}

} // namespace json
