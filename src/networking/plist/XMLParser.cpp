#include "networking/plist/XMLParser.h"

#include <algorithm>
#include <climits>
#include <expat.h>

namespace networking {

// Expat's callbacks, turned into delegate calls.
struct XMLParser::Callbacks {
    static XMLParser& parserOf(void* data) { return *static_cast<XMLParser*>(data); }

    // With namespace processing, expat names elements "uri\x1Flocal".
    static void splitName(const XMLParser& parser, const char* name, std::string& local, std::string& uri)
    {
        std::string text(name);
        size_t separator = parser.m_processNamespaces ? text.find('\x1F') : std::string::npos;
        if (separator == std::string::npos) {
            local = text;
            uri.clear();
        } else {
            uri = text.substr(0, separator);
            local = text.substr(separator + 1);
        }
    }

    static void startElement(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        XMLParser& parser = parserOf(data);
        auto delegate = parser.delegate();
        if (!delegate)
            return;
        std::string local;
        std::string uri;
        splitName(parser, name, local, uri);
        XMLParserDelegate::Attributes pairs;
        for (size_t i = 0; attributes[i] && attributes[i + 1]; i += 2) {
            std::string attributeLocal;
            std::string attributeURI;
            splitName(parser, attributes[i], attributeLocal, attributeURI);
            pairs[attributeLocal] = attributes[i + 1];
        }
        delegate->didStartElement(parser, local, uri, local, pairs);
    }

    static void endElement(void* data, const XML_Char* name)
    {
        XMLParser& parser = parserOf(data);
        auto delegate = parser.delegate();
        if (!delegate)
            return;
        std::string local;
        std::string uri;
        splitName(parser, name, local, uri);
        delegate->didEndElement(parser, local, uri, local);
    }

    static void characters(void* data, const XML_Char* text, int length)
    {
        XMLParser& parser = parserOf(data);
        if (auto delegate = parser.delegate())
            delegate->foundCharacters(parser, std::string(text, static_cast<size_t>(length)));
    }

    // Refuses external entities: the reply must not make the parser read anything else.
    static int externalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
    {
        return XML_STATUS_ERROR;
    }
};

XMLParser::XMLParser(base::Data data)
    : m_data(std::move(data))
{
}

bool XMLParser::parse()
{
    if (m_parsed)
        return false;
    m_parsed = true;
    XML_Parser expat = m_processNamespaces ? XML_ParserCreateNS(nullptr, '\x1F') : XML_ParserCreate(nullptr);
    if (!expat) {
        m_error = base::Error(
            ErrorDomain, 1, { { base::Error::LocalizedDescriptionKey, "The XML parser could not start." } });
        return false;
    }
    m_expat = expat;
    XML_SetUserData(expat, this);
    XML_SetElementHandler(expat, &Callbacks::startElement, &Callbacks::endElement);
    XML_SetCharacterDataHandler(expat, &Callbacks::characters);
    XML_SetParamEntityParsing(expat, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetExternalEntityRefHandler(expat, &Callbacks::externalEntity);

    if (auto delegate = this->delegate())
        delegate->parserDidStartDocument(*this);
    // Expat takes lengths as int: a very large body goes in pieces.
    auto status = XML_STATUS_OK;
    size_t offset = 0;
    do {
        size_t piece = std::min<size_t>(m_data.size() - offset, INT_MAX / 2);
        bool last = offset + piece == m_data.size();
        status = XML_Parse(expat, reinterpret_cast<const char*>(m_data.data()) + offset, static_cast<int>(piece), last);
        offset += piece;
    } while (status == XML_STATUS_OK && offset < m_data.size());
    m_line = static_cast<long>(XML_GetCurrentLineNumber(expat));
    m_column = static_cast<long>(XML_GetCurrentColumnNumber(expat));
    bool succeeded = status == XML_STATUS_OK && !m_aborted;
    if (!succeeded) {
        long code = m_aborted ? AbortedError : static_cast<long>(XML_GetErrorCode(expat));
        std::string reason = m_aborted ? "Parsing was aborted." : XML_ErrorString(XML_GetErrorCode(expat));
        m_error = base::Error(ErrorDomain, code,
            { { base::Error::LocalizedDescriptionKey, reason }, { "LineNumber", m_line },
                { "ColumnNumber", m_column } });
        if (auto delegate = this->delegate(); delegate && !m_aborted)
            delegate->parseErrorOccurred(*this, *m_error);
    } else if (auto delegate = this->delegate()) {
        delegate->parserDidEndDocument(*this);
    }
    XML_ParserFree(expat);
    m_expat = nullptr;
    return succeeded;
}

void XMLParser::abortParsing()
{
    if (!m_expat || m_aborted)
        return;
    m_aborted = true;
    XML_StopParser(static_cast<XML_Parser>(m_expat), XML_FALSE);
}

} // namespace networking
