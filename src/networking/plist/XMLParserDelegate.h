// networking::XMLParserDelegate: what an XMLParser reports while it reads, in document order, on the thread
// that called parse(). Every method is optional.
#pragma once

#include "base/values/Error.h"

#include <map>
#include <string>

namespace networking {

class XMLParser;

class XMLParserDelegate {
public:
    using Attributes = std::map<std::string, std::string>;

    virtual ~XMLParserDelegate() = default;
    virtual void parserDidStartDocument(XMLParser&) { }
    virtual void parserDidEndDocument(XMLParser&) { }
    // With namespace processing on, `elementName` is the local name and `namespaceURI` the element's namespace.
    virtual void didStartElement(XMLParser&, const std::string& /*elementName*/, const std::string& /*namespaceURI*/,
        const std::string& /*qualifiedName*/, const Attributes&)
    {
    }
    virtual void didEndElement(XMLParser&, const std::string& /*elementName*/, const std::string& /*namespaceURI*/,
        const std::string& /*qualifiedName*/)
    {
    }
    // Text, including the text of CDATA sections, possibly in several pieces.
    virtual void foundCharacters(XMLParser&, const std::string&) { }
    virtual void parseErrorOccurred(XMLParser&, const base::Error&) { }
};

} // namespace networking
