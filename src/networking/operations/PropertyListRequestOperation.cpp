#include "networking/operations/PropertyListRequestOperation.h"

#include "networking/http/ConcurrentQueue.h"

namespace networking {

namespace {

    std::shared_ptr<base::DispatchQueue> processingQueue()
    {
        static auto queue = ConcurrentQueue::make("org.lumet.networking.property-list-request.processing");
        return queue;
    }

} // namespace

HTTPOperationClass& PropertyListRequestOperation::operationClass()
{
    static HTTPOperationClass descriptor({
        .name = "PropertyListRequestOperation",
        .superclass = &HTTPRequestOperation::operationClass(),
        .make
        = [](net::URLRequest request) { return std::make_shared<PropertyListRequestOperation>(std::move(request)); },
        .acceptableStatusCodes = std::nullopt,
        .acceptableContentTypes = std::optional<ContentTypeSet>(ContentTypeSet { "application/x-plist" }),
        .pathExtensions = { "plist" },
    });
    return descriptor;
}

std::shared_ptr<PropertyListRequestOperation> PropertyListRequestOperation::propertyListRequestOperationWithRequest(
    net::URLRequest request, Success success, Failure failure)
{
    auto operation = std::make_shared<PropertyListRequestOperation>(std::move(request));
    operation->setCompletionBlockWithSuccess(
        [success](const std::shared_ptr<HTTPRequestOperation>& op, const ResponseObject& object) {
            if (!success)
                return;
            auto* list = std::get_if<base::Value>(&object);
            success(op->request(), op->response(), list ? std::optional(*list) : std::nullopt);
        },
        [failure](const std::shared_ptr<HTTPRequestOperation>& op, const base::Error& error) {
            if (failure)
                failure(op->request(), op->response(), error,
                    std::static_pointer_cast<PropertyListRequestOperation>(op)->responsePropertyList());
        });
    return operation;
}

std::optional<base::Value> PropertyListRequestOperation::responsePropertyList()
{
    std::lock_guard guard(lock());
    if (m_responsePropertyList || m_propertyListError || !isFinished())
        return m_responsePropertyList;
    auto data = responseBody();
    if (!data || data->empty())
        return std::nullopt;
    PropertyListFormat format = PropertyListFormat::XML;
    base::Error error;
    m_responsePropertyList = PropertyListSerialization::propertyListWithData(*data, m_readOptions, &format, &error);
    m_format = format;
    if (!m_responsePropertyList)
        m_propertyListError = error;
    return m_responsePropertyList;
}

std::optional<base::Error> PropertyListRequestOperation::propertyListError() const
{
    std::lock_guard guard(lock());
    return m_propertyListError;
}

std::optional<PropertyListFormat> PropertyListRequestOperation::propertyListFormat() const
{
    std::lock_guard guard(lock());
    return m_format;
}

PropertyListSerialization::ReadOptions PropertyListRequestOperation::propertyListReadOptions() const
{
    std::lock_guard guard(lock());
    return m_readOptions;
}

void PropertyListRequestOperation::setPropertyListReadOptions(PropertyListSerialization::ReadOptions options)
{
    std::lock_guard guard(lock());
    m_readOptions = options;
}

std::optional<base::Error> PropertyListRequestOperation::error() const
{
    if (auto parseError = propertyListError())
        return parseError;
    return HTTPRequestOperation::error();
}

std::shared_ptr<base::DispatchQueue> PropertyListRequestOperation::responseProcessingQueue() const
{
    return processingQueue();
}

ResponseObject PropertyListRequestOperation::responseObject()
{
    auto list = responsePropertyList();
    return list ? ResponseObject(std::move(*list)) : ResponseObject();
}

} // namespace networking
