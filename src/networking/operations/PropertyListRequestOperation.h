// networking::PropertyListRequestOperation: an HTTP request operation for property-list replies
// ("application/x-plist", or a path ending in ".plist"), XML or binary. Once finished, the body is read on a
// processing queue and the list handed to the success block; a body that is not a property list fails with
// the reader's error.
//
//   auto operation = networking::PropertyListRequestOperation::propertyListRequestOperationWithRequest(request,
//       [](const auto&, const auto&, const std::optional<base::Value>& list) { show(list); }, nullptr);
#pragma once

#include "networking/http/HTTPRequestOperation.h"
#include "networking/plist/PropertyListSerialization.h"

namespace networking {

class PropertyListRequestOperation : public HTTPRequestOperation {
public:
    using Success = std::function<void(
        const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&, const std::optional<base::Value>&)>;
    using Failure = std::function<void(const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&,
        const base::Error&, const std::optional<base::Value>&)>;

    explicit PropertyListRequestOperation(net::URLRequest request)
        : HTTPRequestOperation(std::move(request))
    {
    }

    static HTTPOperationClass& operationClass();
    const HTTPOperationClass& httpClass() const override { return operationClass(); }

    static std::shared_ptr<PropertyListRequestOperation> propertyListRequestOperationWithRequest(
        net::URLRequest request, Success success, Failure failure);

    // The body's property list, read once the operation has finished with a body.
    [[nodiscard]] std::optional<base::Value> responsePropertyList();
    [[nodiscard]] std::optional<base::Error> propertyListError() const;
    // The format found in the body; nothing before it has been read.
    [[nodiscard]] std::optional<PropertyListFormat> propertyListFormat() const;
    PropertyListSerialization::ReadOptions propertyListReadOptions() const;
    void setPropertyListReadOptions(PropertyListSerialization::ReadOptions options);

    [[nodiscard]] std::optional<base::Error> error() const override;

protected:
    std::shared_ptr<base::DispatchQueue> responseProcessingQueue() const override;
    size_t inlineProcessingLimit() const override { return TextParsedInlineLimit; }
    ResponseObject responseObject() override;

private:
    std::optional<base::Value> m_responsePropertyList;
    std::optional<base::Error> m_propertyListError;
    std::optional<PropertyListFormat> m_format;
    PropertyListSerialization::ReadOptions m_readOptions { PropertyListSerialization::Immutable };
};

} // namespace networking
