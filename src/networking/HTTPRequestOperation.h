// networking::HTTPRequestOperation: a URL connection operation for HTTP. It judges the reply by its status code
// and content type (class-level settings, see HTTPOperationClass), turns an unacceptable reply into an error
// ("Expected status code in (200-299), got 404", -1011; or an unacceptable content type, -1016), decodes text
// replies of type text/* without a charset as ISO Latin-1, resumes a paused download with a byte range, and
// delivers the outcome to exactly one of a success and a failure block, each on its callback queue (the main
// queue unless set). Every web call of the application runs as one of these.
//
//   auto operation = std::make_shared<networking::HTTPRequestOperation>(request);
//   operation->setCompletionBlockWithSuccess(
//       [](const auto& op, const networking::ResponseObject&) { show(op->responseString()); },
//       [](const auto&, const base::Error& error) { report(error); });
#pragma once

#include "base/DispatchQueue.h"
#include "networking/HTTPOperationClass.h"
#include "networking/ResponseObject.h"
#include "networking/URLConnectionOperation.h"

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
    std::optional<base::Error> error() const override;
    std::optional<base::Error> HTTPError() const;
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

    // Installs the completion block that calls one of the two (either may be empty) with the body as data.
    virtual void setCompletionBlockWithSuccess(SuccessBlock success, FailureBlock failure);

protected:
    std::shared_ptr<HTTPRequestOperation> sharedHTTPSelf();
    std::shared_ptr<base::DispatchQueue> successQueueOrMain() const;
    std::shared_ptr<base::DispatchQueue> failureQueueOrMain() const;
    std::shared_ptr<URLConnectionOperation> makeOperationOfSameKind(net::URLRequest request) const override;

private:
    // The reply's status code (every reply on this stack is an HTTP one).
    int judgedStatusCode() const;

    mutable std::optional<base::Error> m_HTTPError;
    std::shared_ptr<base::DispatchQueue> m_successCallbackQueue;
    std::shared_ptr<base::DispatchQueue> m_failureCallbackQueue;
};

} // namespace networking
