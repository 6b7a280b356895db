// networking::XMLRequestOperation: an HTTP request operation for XML replies ("application/xml", "text/xml",
// or a path ending in ".xml"). Once finished, it makes an XML parser over the body (not run: the receiver
// sets a delegate and parses) and hands it to the success block. The application's client registers this
// class; its own requests ask for JSON, so they never run as one.
//
//   auto operation = networking::XMLRequestOperation::XMLParserRequestOperationWithRequest(request,
//       [reader](const auto&, const auto&, const std::shared_ptr<networking::XMLParser>& parser) {
//           parser->setDelegate(reader); parser->parse(); }, nullptr);
#pragma once

#include "networking/http/HTTPRequestOperation.h"
#include "networking/plist/XMLParser.h"

namespace networking {

class XMLRequestOperation : public HTTPRequestOperation {
public:
    using Success = std::function<void(
        const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&, const std::shared_ptr<XMLParser>&)>;
    using Failure = std::function<void(const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&,
        const base::Error&, const std::shared_ptr<XMLParser>&)>;

    explicit XMLRequestOperation(net::URLRequest request)
        : HTTPRequestOperation(std::move(request))
    {
    }

    static HTTPOperationClass& operationClass();
    const HTTPOperationClass& httpClass() const override { return operationClass(); }

    static std::shared_ptr<XMLRequestOperation> XMLParserRequestOperationWithRequest(
        net::URLRequest request, Success success, Failure failure);

    // A parser over the body, made once the operation has finished with a body; null before.
    std::shared_ptr<XMLParser> responseXMLParser();

    // Cancels, then detaches the parser's delegate so that a parse in progress reports nothing more.
    void cancel() override;

protected:
    std::shared_ptr<base::DispatchQueue> responseProcessingQueue() const override;
    size_t inlineProcessingLimit() const override { return TextParsedInlineLimit; }
    ResponseObject responseObject() override;

private:
    std::shared_ptr<XMLParser> m_parser;
};

} // namespace networking
