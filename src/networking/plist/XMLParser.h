// networking::XMLParser: an event-driven XML reader (expat underneath) over a document held in memory, for the
// XML operation's replies. The owner sets a delegate and calls parse() once; events go to the delegate as the
// document is read. External entities and DTDs are never loaded, and expat's guard against entity-expansion
// bombs stays on, so a reply cannot make the parser fetch or grow without bound. One thread at a time.
//
//   auto parser = operation->responseXMLParser();
//   parser->setDelegate(reader);
//   if (!parser->parse()) report(*parser->parserError());
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"
#include "networking/plist/XMLParserDelegate.h"

#include <memory>
#include <optional>

namespace networking {

class XMLParser {
public:
    static constexpr const char* ErrorDomain = "XMLParserErrorDomain";
    // The code of an error raised by abortParsing.
    static constexpr long AbortedError = 512;

    explicit XMLParser(base::Data data);

    std::shared_ptr<XMLParserDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<XMLParserDelegate> delegate) { m_delegate = std::move(delegate); }
    void setShouldProcessNamespaces(bool process) { m_processNamespaces = process; }

    // Reads the whole document; false, with parserError() set, when it is not well-formed or parsing was
    // aborted. A second call returns false at once.
    [[nodiscard]] bool parse();
    // From a delegate method: stops after the current event.
    void abortParsing();

    [[nodiscard]] std::optional<base::Error> parserError() const { return m_error; }
    long lineNumber() const { return m_line; }
    long columnNumber() const { return m_column; }

    const base::Data& data() const { return m_data; }

private:
    struct Callbacks;

    base::Data m_data;
    std::weak_ptr<XMLParserDelegate> m_delegate;
    bool m_processNamespaces { false };
    bool m_parsed { false };
    bool m_aborted { false };
    void* m_expat { nullptr };
    std::optional<base::Error> m_error;
    long m_line { 0 };
    long m_column { 0 };
};

} // namespace networking
