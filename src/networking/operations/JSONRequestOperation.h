// networking::JSONRequestOperation: an HTTP request operation for JSON replies ("application/json",
// "text/json", "text/javascript", or a path ending in ".json"). Once finished, the body is read as JSON on a
// processing queue and the value handed to the success block; a body that is not JSON fails with the
// reader's error. The body is read as UTF-8 bytes unless the reply names a charset, so UTF-8 served as
// text/json without one is not garbled. A body of one space gives no value and no error.
//
//   auto operation = networking::JSONRequestOperation::JSONRequestOperationWithRequest(request,
//       [](const auto&, const auto&, const std::optional<base::Value>& json) { show(json); },
//       [](const auto&, const auto&, const base::Error& error, const auto&) { report(error); });
#pragma once

#include "networking/http/HTTPRequestOperation.h"

namespace networking {

class JSONRequestOperation : public HTTPRequestOperation {
public:
    using ReadingOptions = uint64_t;
    static constexpr ReadingOptions MutableContainers = 1;

    using Success = std::function<void(
        const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&, const std::optional<base::Value>&)>;
    using Failure = std::function<void(const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&,
        const base::Error&, const std::optional<base::Value>&)>;

    explicit JSONRequestOperation(net::URLRequest request)
        : HTTPRequestOperation(std::move(request))
    {
    }

    static HTTPOperationClass& operationClass();
    const HTTPOperationClass& httpClass() const override { return operationClass(); }

    static std::shared_ptr<JSONRequestOperation> JSONRequestOperationWithRequest(
        net::URLRequest request, Success success, Failure failure);

    // The body's JSON value, read once the operation has finished with a body; nothing before, for an empty
    // body, a body of one space, or a body that is not JSON.
    [[nodiscard]] std::optional<base::Value> responseJSON();
    [[nodiscard]] std::optional<base::Error> JSONError() const;
    ReadingOptions JSONReadingOptions() const;
    void setJSONReadingOptions(ReadingOptions options);

    [[nodiscard]] std::optional<base::Error> error() const override;

protected:
    std::shared_ptr<base::DispatchQueue> responseProcessingQueue() const override;
    size_t inlineProcessingLimit() const override { return TextParsedInlineLimit; }
    ResponseObject responseObject() override;

private:
    std::optional<base::Value> m_responseJSON;
    std::optional<base::Error> m_JSONError;
    ReadingOptions m_readingOptions { 0 };
};

} // namespace networking
