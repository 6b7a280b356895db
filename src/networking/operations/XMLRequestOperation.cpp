#include "networking/operations/XMLRequestOperation.h"

#include "networking/http/ConcurrentQueue.h"

namespace networking {

namespace {

    std::shared_ptr<base::DispatchQueue> processingQueue()
    {
        static auto queue = ConcurrentQueue::make("org.lumet.networking.xml-request.processing");
        return queue;
    }

} // namespace

HTTPOperationClass& XMLRequestOperation::operationClass()
{
    static HTTPOperationClass descriptor({
        .name = "XMLRequestOperation",
        .superclass = &HTTPRequestOperation::operationClass(),
        .make = [](net::URLRequest request) { return std::make_shared<XMLRequestOperation>(std::move(request)); },
        .acceptableStatusCodes = std::nullopt,
        .acceptableContentTypes = std::optional<ContentTypeSet>(ContentTypeSet { "application/xml", "text/xml" }),
        .pathExtensions = { "xml" },
    });
    return descriptor;
}

std::shared_ptr<XMLRequestOperation> XMLRequestOperation::XMLParserRequestOperationWithRequest(
    net::URLRequest request, Success success, Failure failure)
{
    auto operation = std::make_shared<XMLRequestOperation>(std::move(request));
    operation->setCompletionBlockWithSuccess(
        [success](const std::shared_ptr<HTTPRequestOperation>& op, const ResponseObject& object) {
            if (!success)
                return;
            auto* parser = std::get_if<std::shared_ptr<XMLParser>>(&object);
            success(op->request(), op->response(), parser ? *parser : nullptr);
        },
        [failure](const std::shared_ptr<HTTPRequestOperation>& op, const base::Error& error) {
            if (failure)
                failure(op->request(), op->response(), error,
                    std::static_pointer_cast<XMLRequestOperation>(op)->responseXMLParser());
        });
    return operation;
}

std::shared_ptr<XMLParser> XMLRequestOperation::responseXMLParser()
{
    std::lock_guard guard(lock());
    if (!m_parser && isFinished()) {
        if (auto data = responseData(); data && !data->empty())
            m_parser = std::make_shared<XMLParser>(std::move(*data));
    }
    return m_parser;
}

void XMLRequestOperation::cancel()
{
    HTTPRequestOperation::cancel();
    if (auto parser = responseXMLParser())
        parser->setDelegate({});
}

std::shared_ptr<base::DispatchQueue> XMLRequestOperation::responseProcessingQueue() const { return processingQueue(); }

ResponseObject XMLRequestOperation::responseObject()
{
    auto parser = responseXMLParser();
    return parser ? ResponseObject(parser) : ResponseObject();
}

} // namespace networking
