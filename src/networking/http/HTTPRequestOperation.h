// networking::HTTPRequestOperation: a URL connection operation for HTTP. It judges the reply by its status code
// and content type (class-level settings, see HTTPOperationClass), turns an unacceptable reply into an error
// ("Expected status code in (200-299), got 404", -1011; or an unacceptable content type, -1016), decodes text
// replies of type text/* without a charset as ISO Latin-1, resumes a paused download with a byte range, and
// delivers the outcome to exactly one of a success and a failure block, each on its callback queue (the main
// queue unless set). Every web call of the application runs as one of these.
//
// Threads: the completion route runs on the main thread, which finishes the operation; the reply's object is
// made there, or on the class's processing queue when it has one and the body is larger than the class
// parses inline; the reply value is then settled once and the one block's task posted to its callback queue. Any
// thread may call the accessors.
//
//   auto operation = std::make_shared<networking::HTTPRequestOperation>(request);
//   operation->setCompletionBlockWithSuccess(
//       [](const auto& op, const networking::ResponseObject&) { show(op->responseString()); },
//       [](const auto&, const base::Error& error) { report(error); });
#pragma once

#include "base/loop/DispatchQueue.h"
#include "networking/http/CallsInFlight.h"
#include "networking/http/HTTPOperationClass.h"
#include "networking/http/Reply.h"
#include "networking/http/ResponseObject.h"
#include "networking/http/URLConnectionOperation.h"

#include <functional>
#include <memory>
#include <optional>

namespace networking {

class HTTPRequestOperation : public URLConnectionOperation {
public:
    using SuccessBlock = std::function<void(const std::shared_ptr<HTTPRequestOperation>&, const ResponseObject&)>;
    using FailureBlock = std::function<void(const std::shared_ptr<HTTPRequestOperation>&, const base::Error&)>;

    explicit HTTPRequestOperation(net::URLRequest request);

    // The descriptor of this class, and of the operation's own class.
    static HTTPOperationClass& operationClass();
    virtual const HTTPOperationClass& httpClass() const { return operationClass(); }

    // The reply's HTTP error (made once, on the first call after an unacceptable reply), else the transfer's.
    [[nodiscard]] std::optional<base::Error> error() const override;
    [[nodiscard]] std::optional<base::Error> HTTPError() const;
    base::TextEncoding::Code responseStringEncoding() const override;
    // Rewrites the request to ask for the rest of the body ("Range", and "If-Range" from the reply's "ETag"),
    // then pauses.
    void pause() override;

    bool hasAcceptableStatusCode() const;
    bool hasAcceptableContentType() const;

    std::shared_ptr<base::DispatchQueue> successCallbackQueue() const;
    void setSuccessCallbackQueue(std::shared_ptr<base::DispatchQueue> queue);
    std::shared_ptr<base::DispatchQueue> failureCallbackQueue() const;
    void setFailureCallbackQueue(std::shared_ptr<base::DispatchQueue> queue);

    // Installs the completion block that calls one of the two (either may be empty) with the reply's object
    // (see responseObject). On the thread that finishes the operation, an error goes to the failure block;
    // otherwise the object is made, on the class's processing queue when it has one and the body is larger
    // than inlineProcessingLimit(), and goes to the success block, or a parse error to the failure block.
    // Each block runs on its callback queue.
    virtual void setCompletionBlockWithSuccess(SuccessBlock success, FailureBlock failure);

    // The reply as the success or failure block sees it: set once, before either block is queued, and
    // never changed after (nothing before that).
    std::shared_ptr<const Reply> reply() const;

    // Keeps the call counted in flight until its success or failure block has run (or none will).
    void holdDeliveryTicket(CallsInFlight::Ticket ticket);

protected:
    // The queue the reply's object is made on (none: the finishing thread), and the object: the body as data
    // here, the parsed reply in the parsing subclasses, which record a parse error for error().
    virtual std::shared_ptr<base::DispatchQueue> responseProcessingQueue() const { return nullptr; }
    // The largest body made into its object on the finishing (main) thread although the class has a
    // processing queue: for the text parsers, parsing that much costs less than the two thread hops to the
    // queue and back, and a larger body is parsed off the main thread so that parsing never takes a frame's
    // time. None by default (images are always decoded on their queue).
    static constexpr size_t TextParsedInlineLimit = size_t(16) << 10;
    virtual size_t inlineProcessingLimit() const { return 0; }
    virtual ResponseObject responseObject();

    std::shared_ptr<HTTPRequestOperation> sharedHTTPSelf();
    std::shared_ptr<base::DispatchQueue> successQueueOrMain() const;
    std::shared_ptr<base::DispatchQueue> failureQueueOrMain() const;
    std::shared_ptr<URLConnectionOperation> makeOperationOfSameKind(net::URLRequest request) const override;

private:
    // The reply's status code (every reply on this stack is an HTTP one).
    int judgedStatusCode() const;
    bool acceptsStatusCodeOf(const net::HTTPResponse& reply) const;
    // The reply's media type, "application/octet-stream" when it names none, among the class's types.
    bool acceptsContentTypeOf(const net::HTTPResponse& reply) const;
    // Makes the HTTP error of an unacceptable reply (under the lock).
    void judgeReply() const;
    // Where the object of a reply that has not failed is made: none (here) for a small body.
    std::shared_ptr<base::DispatchQueue> processingQueueForBody() const;
    // The second half of the completion route: the reply, then one of the blocks on its queue with the ticket.
    // `failed` is the reply's error when the route has already found one.
    void deliver(
        std::optional<base::Error> failed, SuccessBlock success, FailureBlock failure, CallsInFlight::Ticket ticket);
    // Makes the reply once (the object too, unless the reply has failed already) and keeps it.
    std::shared_ptr<const Reply> settleReply(std::optional<base::Error> failed);

    mutable std::optional<base::Error> m_HTTPError;
    mutable bool m_replyAccepted { false };
    std::shared_ptr<base::DispatchQueue> m_successCallbackQueue;
    std::shared_ptr<base::DispatchQueue> m_failureCallbackQueue;
    CallsInFlight::Ticket m_deliveryTicket;
    std::shared_ptr<const Reply> m_reply;
};

} // namespace networking
