#include "networking/operations/JSONRequestOperation.h"

#include "base/text/UTF8.h"
#include "networking/http/ConcurrentQueue.h"
#include "json/JSONDecoder.h"

namespace networking {

namespace {

    std::shared_ptr<base::DispatchQueue> processingQueue()
    {
        static auto queue = ConcurrentQueue::make("org.lumet.networking.json-request.processing");
        return queue;
    }

    // Whether the bytes are already the UTF-8 text that decoding them in `encoding` would give.
    bool isValidText(const base::Data& bytes, base::TextEncoding::Code encoding)
    {
        return encoding == base::TextEncoding::UTF8
            && base::utf8::isValid(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

} // namespace

HTTPOperationClass& JSONRequestOperation::operationClass()
{
    static HTTPOperationClass descriptor({
        .name = "JSONRequestOperation",
        .superclass = &HTTPRequestOperation::operationClass(),
        .make = [](net::URLRequest request) { return std::make_shared<JSONRequestOperation>(std::move(request)); },
        .acceptableStatusCodes = std::nullopt,
        .acceptableContentTypes
        = std::optional<ContentTypeSet>(ContentTypeSet { "application/json", "text/json", "text/javascript" }),
        .pathExtensions = { "json" },
    });
    return descriptor;
}

std::shared_ptr<JSONRequestOperation> JSONRequestOperation::JSONRequestOperationWithRequest(
    net::URLRequest request, Success success, Failure failure)
{
    auto operation = std::make_shared<JSONRequestOperation>(std::move(request));
    operation->setCompletionBlockWithSuccess(
        [success](const std::shared_ptr<HTTPRequestOperation>& op, const ResponseObject& object) {
            if (!success)
                return;
            auto* json = std::get_if<base::Value>(&object);
            success(op->request(), op->response(), json ? std::optional(*json) : std::nullopt);
        },
        [failure](const std::shared_ptr<HTTPRequestOperation>& op, const base::Error& error) {
            if (failure)
                failure(op->request(), op->response(), error,
                    std::static_pointer_cast<JSONRequestOperation>(op)->responseJSON());
        });
    return operation;
}

std::optional<base::Value> JSONRequestOperation::responseJSON()
{
    std::lock_guard guard(lock());
    if (m_responseJSON || m_JSONError || !isFinished())
        return m_responseJSON;
    auto body = responseBody();
    if (!body || body->empty())
        return std::nullopt;
    // A body in UTF-8 (named or not) is parsed where it lies; one in another charset it names is first
    // turned into UTF-8 text.
    std::optional<base::Data> converted;
    bool named = response() && response()->textEncodingName();
    if (named && !isValidText(*body, responseStringEncoding())) {
        const auto& text = responseString();
        if (!text) {
            m_JSONError = base::Error("JSONErrorDomain", -1,
                { { base::Error::LocalizedDescriptionKey, "The reply is not valid text in the charset it names." } });
            return std::nullopt;
        }
        converted.emplace(text->begin(), text->end());
    }
    const base::Data& bytes = converted ? *converted : *body;
    if (bytes.size() == 1 && bytes[0] == ' ')
        return std::nullopt;
    base::Error error;
    auto value = (m_readingOptions & MutableContainers)
        ? json::mutableObjectFromJSONData(bytes, json::JSONParseStrict, &error)
        : json::objectFromJSONData(bytes, json::JSONParseStrict, &error);
    if (value)
        m_responseJSON = std::move(value);
    else
        m_JSONError = error.isEmpty() ? base::Error("JSONErrorDomain", -1) : error;
    return m_responseJSON;
}

std::optional<base::Error> JSONRequestOperation::JSONError() const
{
    std::lock_guard guard(lock());
    return m_JSONError;
}

JSONRequestOperation::ReadingOptions JSONRequestOperation::JSONReadingOptions() const
{
    std::lock_guard guard(lock());
    return m_readingOptions;
}

void JSONRequestOperation::setJSONReadingOptions(ReadingOptions options)
{
    std::lock_guard guard(lock());
    m_readingOptions = options;
}

std::optional<base::Error> JSONRequestOperation::error() const
{
    if (auto parseError = JSONError())
        return parseError;
    return HTTPRequestOperation::error();
}

std::shared_ptr<base::DispatchQueue> JSONRequestOperation::responseProcessingQueue() const { return processingQueue(); }

ResponseObject JSONRequestOperation::responseObject()
{
    auto json = responseJSON();
    return json ? ResponseObject(std::move(*json)) : ResponseObject();
}

} // namespace networking
