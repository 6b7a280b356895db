#include "networking/plist/XMLPropertyListReader.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "networking/forms/Base64.h"
#include "networking/plist/PropertyListDate.h"
#include "networking/plist/PropertyListSerialization.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <expat.h>
#include <string>
#include <vector>

namespace networking {

namespace {

    enum class ElementKind { Plist, Array, Dict, Key, String, Integer, Real, Date, Data, True, False };

    std::optional<ElementKind> kindOf(std::string_view name)
    {
        static const std::pair<std::string_view, ElementKind> names[]
            = { { "plist", ElementKind::Plist }, { "array", ElementKind::Array }, { "dict", ElementKind::Dict },
                  { "key", ElementKind::Key }, { "string", ElementKind::String }, { "integer", ElementKind::Integer },
                  { "real", ElementKind::Real }, { "date", ElementKind::Date }, { "data", ElementKind::Data },
                  { "true", ElementKind::True }, { "false", ElementKind::False } };
        for (auto& [text, kind] : names) {
            if (text == name)
                return kind;
        }
        return std::nullopt;
    }

    bool isContainer(ElementKind kind)
    {
        return kind == ElementKind::Plist || kind == ElementKind::Array || kind == ElementKind::Dict;
    }

    std::string_view trimmed(std::string_view text)
    {
        auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        while (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && blank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    std::optional<base::Value> parseInteger(std::string_view text)
    {
        text = trimmed(text);
        bool negative = false;
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            negative = text.front() == '-';
            text.remove_prefix(1);
        }
        int base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            text.remove_prefix(2);
        }
        if (text.empty())
            return std::nullopt;
        uint64_t magnitude = 0;
        auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
        if (failure != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        if (!negative)
            return magnitude <= static_cast<uint64_t>(INT64_MAX) ? base::Value(static_cast<int64_t>(magnitude))
                                                                 : base::Value(magnitude);
        if (magnitude > static_cast<uint64_t>(INT64_MAX) + 1)
            return std::nullopt;
        return base::Value(static_cast<int64_t>(0 - magnitude));
    }

    std::optional<base::Value> parseReal(std::string_view text)
    {
        text = trimmed(text);
        if (text == "nan" || text == "NaN")
            return base::Value(std::nan(""));
        if (text == "+infinity" || text == "infinity" || text == "inf" || text == "+inf")
            return base::Value(HUGE_VAL);
        if (text == "-infinity" || text == "-inf")
            return base::Value(-HUGE_VAL);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        double value = 0;
        auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (failure != std::errc() || end != text.data() + text.size() || text.empty())
            return std::nullopt;
        return base::Value(value);
    }

    struct Frame {
        ElementKind kind;
        std::string text;
        std::vector<base::Value> items;
        base::Dictionary::Pairs pairs;
        std::optional<std::string> pendingKey;
    };

    class Reader {
    public:
        explicit Reader(bool mutableContainers)
            : m_mutableContainers(mutableContainers)
        {
        }

        std::optional<base::Value> read(const base::Data& data, base::Error* error)
        {
            XML_Parser expat = XML_ParserCreate(nullptr);
            if (!expat) {
                base::setError(error, PropertyListSerialization::readError("The XML reader could not start."));
                return std::nullopt;
            }
            m_expat = expat;
            XML_SetUserData(expat, this);
            XML_SetElementHandler(expat, &Reader::start, &Reader::end);
            XML_SetCharacterDataHandler(expat, &Reader::characters);
            XML_SetParamEntityParsing(expat, XML_PARAM_ENTITY_PARSING_NEVER);
            XML_SetExternalEntityRefHandler(expat, &Reader::refuseExternalEntity);
            bool parsed = true;
            size_t offset = 0;
            // Expat takes lengths as int: feed very large documents in pieces.
            do {
                size_t piece = std::min<size_t>(data.size() - offset, INT_MAX / 2);
                bool last = offset + piece == data.size();
                parsed = XML_Parse(expat, reinterpret_cast<const char*>(data.data()) + offset, static_cast<int>(piece),
                             last ? 1 : 0)
                    == XML_STATUS_OK;
                offset += piece;
            } while (parsed && offset < data.size());
            if (!parsed && !m_failure)
                m_failure = XML_ErrorString(XML_GetErrorCode(expat));
            XML_ParserFree(expat);
            if (!m_failure && !m_root)
                m_failure = "The document holds no property list.";
            if (m_failure) {
                base::setError(error, PropertyListSerialization::readError(*m_failure));
                return std::nullopt;
            }
            return m_root;
        }

    private:
        static Reader& of(void* data) { return *static_cast<Reader*>(data); }

        static void start(void* data, const XML_Char* name, const XML_Char**) { of(data).startElement(name); }
        static void end(void* data, const XML_Char*) { of(data).endElement(); }
        static void characters(void* data, const XML_Char* text, int length)
        {
            of(data).addText(std::string_view(text, static_cast<size_t>(length)));
        }
        static int refuseExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
        {
            return XML_STATUS_ERROR;
        }

        void fail(std::string reason)
        {
            if (!m_failure)
                m_failure = std::move(reason);
            XML_StopParser(m_expat, XML_FALSE);
        }

        void startElement(std::string_view name)
        {
            auto kind = kindOf(name);
            if (!kind)
                return fail("Unknown element <" + std::string(name) + ">.");
            if (m_stack.size() >= PropertyListSerialization::MaximumDepth)
                return fail("The property list is nested too deeply.");
            if (!m_stack.empty() && !isContainer(m_stack.back().kind))
                return fail("An element cannot hold <" + std::string(name) + ">.");
            if (*kind == ElementKind::Plist && !m_stack.empty())
                return fail("<plist> may only enclose the document.");
            if (m_root || (!m_stack.empty() && m_stack.back().kind == ElementKind::Plist && m_plistHasValue))
                return fail("A property list holds one root value.");
            m_stack.push_back(Frame { *kind, {}, {}, {}, {} });
        }

        void addText(std::string_view text)
        {
            if (m_stack.empty())
                return;
            Frame& top = m_stack.back();
            if (isContainer(top.kind)) {
                if (!trimmed(text).empty())
                    fail("Text is not allowed between elements.");
                return;
            }
            top.text += text;
        }

        void endElement()
        {
            if (m_stack.empty())
                return;
            Frame frame = std::move(m_stack.back());
            m_stack.pop_back();
            if (frame.kind == ElementKind::Plist)
                return;
            if (frame.kind == ElementKind::Key) {
                if (m_stack.empty() || m_stack.back().kind != ElementKind::Dict || m_stack.back().pendingKey)
                    return fail("<key> belongs in a dictionary, before each value.");
                m_stack.back().pendingKey = std::move(frame.text);
                return;
            }
            auto value = valueOf(frame);
            if (!value)
                return;
            place(std::move(*value));
        }

        std::optional<base::Value> valueOf(Frame& frame)
        {
            switch (frame.kind) {
            case ElementKind::Array:
                if (m_mutableContainers)
                    return base::Value(base::MutableArray::make(std::move(frame.items)));
                return base::Value(base::Array::make(std::move(frame.items)));
            case ElementKind::Dict:
                if (frame.pendingKey) {
                    fail("A dictionary key has no value.");
                    return std::nullopt;
                }
                if (m_mutableContainers)
                    return base::Value(base::MutableDictionary::make(std::move(frame.pairs)));
                return base::Value(base::Dictionary::make(std::move(frame.pairs)));
            case ElementKind::String:
                return base::Value(std::move(frame.text));
            case ElementKind::Integer:
                if (auto number = parseInteger(frame.text))
                    return number;
                fail("An integer is not valid.");
                return std::nullopt;
            case ElementKind::Real:
                if (auto number = parseReal(frame.text))
                    return number;
                fail("A real number is not valid.");
                return std::nullopt;
            case ElementKind::Date:
                if (auto date = PropertyListDate::parse(trimmed(frame.text)))
                    return base::Value(*date);
                fail("A date is not valid.");
                return std::nullopt;
            case ElementKind::Data:
                if (auto bytes = Base64::decode(frame.text))
                    return base::Value(base::Data(bytes->begin(), bytes->end()));
                fail("Data is not valid Base64.");
                return std::nullopt;
            case ElementKind::True:
                return base::Value(true);
            case ElementKind::False:
                return base::Value(false);
            case ElementKind::Plist:
            case ElementKind::Key:
                break;
            }
            return std::nullopt;
        }

        void place(base::Value value)
        {
            if (m_stack.empty()) {
                m_root = std::move(value);
                return;
            }
            Frame& parent = m_stack.back();
            switch (parent.kind) {
            case ElementKind::Plist:
                m_plistHasValue = true;
                m_root = std::move(value);
                break;
            case ElementKind::Array:
                parent.items.push_back(std::move(value));
                break;
            case ElementKind::Dict:
                if (!parent.pendingKey)
                    return fail("A dictionary value has no key.");
                parent.pairs.emplace_back(base::Value(std::move(*parent.pendingKey)), std::move(value));
                parent.pendingKey.reset();
                break;
            default:
                fail("An element cannot hold a value.");
            }
        }

        bool m_mutableContainers;
        XML_Parser m_expat { nullptr };
        std::vector<Frame> m_stack;
        std::optional<base::Value> m_root;
        bool m_plistHasValue { false };
        std::optional<std::string> m_failure;
    };

} // namespace

std::optional<base::Value> XMLPropertyListReader::read(
    const base::Data& data, bool mutableContainers, base::Error* error)
{
    return Reader(mutableContainers).read(data, error);
}

} // namespace networking
