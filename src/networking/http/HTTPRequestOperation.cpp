#include "networking/http/HTTPRequestOperation.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "networking/http/NetworkingErrors.h"

namespace networking {

namespace {

    std::string localizedFormat(const char* format)
    {
        std::string text = base::Localization::main().localizedString(format, "", "Networking");
        return text.empty() ? std::string(format) : text;
    }

    std::string describe(const ContentTypeSet& types)
    {
        std::string text = "{(";
        bool first = true;
        for (const std::string& type : types) {
            text += first ? "\n    " : ",\n    ";
            text += type;
            first = false;
        }
        return text + "\n)}";
    }

} // namespace

HTTPRequestOperation::HTTPRequestOperation(net::URLRequest request)
    : URLConnectionOperation(std::move(request))
{
}

HTTPOperationClass& HTTPRequestOperation::operationClass()
{
    static HTTPOperationClass descriptor({
        .name = "HTTPRequestOperation",
        .superclass = nullptr,
        .make = [](net::URLRequest request) { return std::make_shared<HTTPRequestOperation>(std::move(request)); },
        .acceptableStatusCodes = IndexSet::range(200, 100),
        .acceptableContentTypes = std::optional<ContentTypeSet>(),
        .pathExtensions = {},
    });
    return descriptor;
}

std::shared_ptr<HTTPRequestOperation> HTTPRequestOperation::sharedHTTPSelf()
{
    return std::static_pointer_cast<HTTPRequestOperation>(shared_from_this());
}

std::shared_ptr<URLConnectionOperation> HTTPRequestOperation::makeOperationOfSameKind(net::URLRequest request) const
{
    return httpClass().make(std::move(request));
}

int HTTPRequestOperation::judgedStatusCode() const
{
    auto reply = response();
    return reply ? reply->statusCode() : 200;
}

bool HTTPRequestOperation::hasAcceptableStatusCode() const
{
    auto reply = response();
    return reply && acceptsStatusCodeOf(*reply);
}

bool HTTPRequestOperation::hasAcceptableContentType() const
{
    auto reply = response();
    return reply && acceptsContentTypeOf(*reply);
}

bool HTTPRequestOperation::acceptsStatusCodeOf(const net::HTTPResponse& reply) const
{
    return httpClass().acceptsStatusCode(static_cast<uint64_t>(reply.statusCode()));
}

bool HTTPRequestOperation::acceptsContentTypeOf(const net::HTTPResponse& reply) const
{
    static const std::string unnamed = "application/octet-stream";
    const auto& type = reply.mimeType();
    return httpClass().acceptsContentType(type ? *type : unnamed);
}

std::optional<base::Error> HTTPRequestOperation::HTTPError() const
{
    std::lock_guard guard(lock());
    return m_HTTPError;
}

std::optional<base::Error> HTTPRequestOperation::error() const
{
    std::lock_guard guard(lock());
    if (!m_HTTPError && !m_replyAccepted)
        judgeReply();
    if (m_HTTPError)
        return m_HTTPError;
    return URLConnectionOperation::error();
}

void HTTPRequestOperation::judgeReply() const
{
    auto reply = response();
    if (!reply)
        return;
    bool statusAcceptable = acceptsStatusCodeOf(*reply);
    auto data = responseBody();
    if (statusAcceptable && (!data || data->empty() || acceptsContentTypeOf(*reply))) {
        // A finished operation's response and body no longer change: its reply need not be judged again.
        m_replyAccepted = isFinished();
        return;
    }
    base::Dictionary::Pairs info;
    if (const auto& text = responseString(); text)
        info.emplace_back(base::Error::LocalizedRecoverySuggestionKey, *text);
    net::URLRequest failing = request();
    if (failing.url())
        info.emplace_back(base::Error::FailingURLKey, failing.url()->absoluteString());
    info.emplace_back(NetworkingErrors::FailingURLRequestKey, failing.description());
    info.emplace_back(NetworkingErrors::FailingURLResponseKey, reply->description());
    long code = 0;
    if (!statusAcceptable) {
        info.emplace_back(base::Error::LocalizedDescriptionKey,
            base::LocalizedFormat::format(localizedFormat("Expected status code in (%@), got %d"),
                { httpClass().acceptableStatusCodes().rangeListString(), judgedStatusCode() }));
        code = NetworkingErrors::BadServerResponse;
    } else {
        info.emplace_back(base::Error::LocalizedDescriptionKey,
            base::LocalizedFormat::format(localizedFormat("Expected content type %@, got %@"),
                { describe(httpClass().acceptableContentTypes().value_or(ContentTypeSet())),
                    reply->mimeType().value_or("(null)") }));
        code = NetworkingErrors::CannotDecodeContentData;
    }
    m_HTTPError = base::Error(NetworkingErrors::Domain, code, std::move(info));
}

base::TextEncoding::Code HTTPRequestOperation::responseStringEncoding() const
{
    std::lock_guard guard(lock());
    auto reply = response();
    if (reply && !reply->textEncodingName() && responseBody()) {
        if (const std::string* contentType = reply->valueForHTTPHeaderField("Content-Type")) {
            std::string_view text(*contentType);
            while (!text.empty()
                && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' || text.front() == '\n'))
                text.remove_prefix(1);
            size_t slash = text.find('/');
            if (slash != std::string_view::npos && text.substr(0, slash) == "text")
                return base::TextEncoding::ISOLatin1;
        }
    }
    return URLConnectionOperation::responseStringEncoding();
}

void HTTPRequestOperation::pause()
{
    // The length kept and the detaching of the connection under one hold of the lock: no chunk may be kept
    // in between and then asked for again.
    std::lock_guard guard(lock());
    // A file says where it stands; any other stream has taken every byte read so far.
    auto stream = outputStream();
    auto offset = stream ? stream->fileCurrentOffset() : std::nullopt;
    uint64_t received = offset ? *offset : static_cast<uint64_t>(totalBytesRead());
    net::URLRequest resumed = request();
    if (auto reply = response()) {
        if (const std::string* tag = reply->valueForHTTPHeaderField("ETag"))
            resumed.setValue(*tag, "If-Range");
    }
    resumed.setValue("bytes=" + std::to_string(received) + "-", "Range");
    setRequest(std::move(resumed));
    URLConnectionOperation::pause();
}

std::shared_ptr<base::DispatchQueue> HTTPRequestOperation::successCallbackQueue() const
{
    std::lock_guard guard(lock());
    return m_successCallbackQueue;
}

void HTTPRequestOperation::setSuccessCallbackQueue(std::shared_ptr<base::DispatchQueue> queue)
{
    std::lock_guard guard(lock());
    m_successCallbackQueue = std::move(queue);
}

std::shared_ptr<base::DispatchQueue> HTTPRequestOperation::failureCallbackQueue() const
{
    std::lock_guard guard(lock());
    return m_failureCallbackQueue;
}

void HTTPRequestOperation::setFailureCallbackQueue(std::shared_ptr<base::DispatchQueue> queue)
{
    std::lock_guard guard(lock());
    m_failureCallbackQueue = std::move(queue);
}

std::shared_ptr<base::DispatchQueue> HTTPRequestOperation::successQueueOrMain() const
{
    auto queue = successCallbackQueue();
    return queue ? queue : base::DispatchQueue::main();
}

std::shared_ptr<base::DispatchQueue> HTTPRequestOperation::failureQueueOrMain() const
{
    auto queue = failureCallbackQueue();
    return queue ? queue : base::DispatchQueue::main();
}

void HTTPRequestOperation::holdDeliveryTicket(CallsInFlight::Ticket ticket)
{
    std::lock_guard guard(lock());
    m_deliveryTicket = std::move(ticket);
}

ResponseObject HTTPRequestOperation::responseObject()
{
    auto data = responseBody();
    return data ? ResponseObject(base::Value(std::move(data))) : ResponseObject();
}

void HTTPRequestOperation::setCompletionBlockWithSuccess(SuccessBlock success, FailureBlock failure)
{
    // The route only settles the reply (parsing a small body at most) and posts one task. It runs once: the
    // blocks move on with the reply instead of being copied.
    setCompletionBlockRunOnFinishingThread(
        [weak = std::weak_ptr(sharedHTTPSelf()), success = std::move(success), failure = std::move(failure)]() mutable {
            auto self = weak.lock();
            if (!self)
                return;
            CallsInFlight::Ticket ticket;
            std::optional<base::Error> failed;
            std::shared_ptr<base::DispatchQueue> processing;
            {
                // One acquisition for the whole look: the accessors below take the same lock again, which
                // costs its owner no atomic operation.
                std::lock_guard guard(self->lock());
                ticket = std::move(self->m_deliveryTicket);
                failed = self->error();
                processing = failed ? nullptr : self->processingQueueForBody();
            }
            if (!processing) {
                self->deliver(std::move(failed), std::move(success), std::move(failure), std::move(ticket));
                return;
            }
            processing->async([self, success = std::move(success), failure = std::move(failure),
                                  ticket = std::move(ticket)]() mutable {
                self->deliver(std::nullopt, std::move(success), std::move(failure), std::move(ticket));
            });
        });
}

std::shared_ptr<base::DispatchQueue> HTTPRequestOperation::processingQueueForBody() const
{
    auto body = responseBody();
    return body && body->size() <= inlineProcessingLimit() ? nullptr : responseProcessingQueue();
}

std::shared_ptr<const Reply> HTTPRequestOperation::reply() const
{
    std::lock_guard guard(lock());
    return m_reply;
}

std::shared_ptr<const Reply> HTTPRequestOperation::settleReply(std::optional<base::Error> failed)
{
    auto reply = std::make_shared<Reply>();
    reply->error = std::move(failed);
    // The object is made only for a reply that may succeed, with no lock held while it is parsed; making it
    // may record a parse error. The rest is read under one acquisition of the lock.
    bool mayParse = !reply->error;
    if (mayParse)
        reply->object = responseObject();
    std::lock_guard guard(lock());
    if (mayParse)
        reply->error = error();
    reply->response = response();
    reply->body = responseBody();
    reply->textEncoding = responseStringEncoding();
    m_reply = std::move(reply);
    return m_reply;
}

void HTTPRequestOperation::deliver(
    std::optional<base::Error> failed, SuccessBlock success, FailureBlock failure, CallsInFlight::Ticket ticket)
{
    auto reply = settleReply(std::move(failed));
    if (reply->error) {
        if (failure)
            failureQueueOrMain()->async([self = sharedHTTPSelf(), failure = std::move(failure), reply,
                                            ticket = std::move(ticket)] { failure(self, *reply->error); });
        return;
    }
    if (success)
        successQueueOrMain()->async([self = sharedHTTPSelf(), success = std::move(success), reply = std::move(reply),
                                        ticket = std::move(ticket)] { success(self, reply->object); });
}

} // namespace networking
