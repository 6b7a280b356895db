// networking::HTTPClient: the spine of every web call. It holds a base URL, default header fields (with
// "Accept-Language" and "User-Agent" made from the device facts at creation), the encoding of request
// parameters (0 form, 1 JSON, 2 XML property list), an ordered registry of operation classes and an operation
// queue. It builds requests from a method, a path and parameters, wraps each in the first registered
// operation class that can process it (else a plain HTTPRequestOperation) and runs it on its queue. The
// outcome reaches exactly one of the call's success and failure blocks, on the main queue by default; a
// request that cannot be built (a path that is no URL, parameters that cannot be written) fails through the
// failure block too, asynchronously, without sending anything. The client counts its calls in flight: from
// the moment one is queued until its success or failure block has run on its queue.
//
// Main thread: the default headers and the registry are not locked. The operations' transfers run on the
// main run loop (net::MainLoopTransfers) and finish there; small replies are made into objects there too,
// large ones on the processing queues of the parsing operations; the blocks run on their callback queues.
// callsInFlight() may be read on any thread.
//
//   auto client = networking::HTTPClient::clientWithBaseURL(*base::URL::parse("https://service.example/"));
//   client->setDefaultHeader("Accept", "application/json");
//   client->setParameterEncoding(networking::HTTPClient::JSONParameterEncoding);
//   client->postPath(url, parameters, [](const auto& op, const auto&) { read(op->responseString()); }, {});
#pragma once

#include "base/loop/OperationQueue.h"
#include "base/text/TextEncoding.h"
#include "base/text/URL.h"
#include "base/values/Dictionary.h"
#include "net/auth/URLCredential.h"
#include "networking/forms/StreamingMultipartFormData.h"
#include "networking/http/HTTPRequestOperation.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace networking {

class HTTPClient : public std::enable_shared_from_this<HTTPClient> {
public:
    enum ParameterEncoding : int32_t {
        FormURLParameterEncoding = 0,
        JSONParameterEncoding = 1,
        PropertyListParameterEncoding = 2,
    };

    using SuccessBlock = HTTPRequestOperation::SuccessBlock;
    using FailureBlock = HTTPRequestOperation::FailureBlock;
    using BatchProgressBlock = std::function<void(size_t numberOfFinishedOperations, size_t totalNumberOfOperations)>;
    using BatchCompletionBlock = std::function<void(const std::vector<std::shared_ptr<HTTPRequestOperation>>&)>;
    using MultipartBlock = std::function<void(StreamingMultipartFormData&)>;
    // Given the call's operation before it is queued, to set what the call needs beyond the request (a block
    // that sees the body as it arrives).
    using PrepareBlock = std::function<void(HTTPRequestOperation&)>;

    explicit HTTPClient(base::URL baseURL);
    virtual ~HTTPClient() = default;
    HTTPClient(const HTTPClient&) = delete;
    HTTPClient& operator=(const HTTPClient&) = delete;

    static std::shared_ptr<HTTPClient> clientWithBaseURL(base::URL baseURL);

    std::string description() const;

    // False, changing nothing, unless the class is HTTPRequestOperation or one of its subclasses; otherwise the
    // class moves to the front: the class registered last is tried first.
    [[nodiscard]] bool registerHTTPOperationClass(const HTTPOperationClass& operationClass);
    void unregisterHTTPOperationClass(const HTTPOperationClass& operationClass);

    // Names are compared exactly.
    [[nodiscard]] std::optional<std::string> defaultValueForHeader(const std::string& header) const;
    // Nothing removes the header; an empty text keeps it with an empty value.
    void setDefaultHeader(const std::string& header, std::optional<std::string> value);
    void setAuthorizationHeaderWithUsername(const std::string& username, const std::string& password);
    void setAuthorizationHeaderWithToken(const std::string& token);
    void clearAuthorizationHeader();

    // A new request, not started. `path` is resolved against the base URL (an absolute URL stands for itself);
    // null parameters mean none. A path that forms no URL gives a request without one, and parameters that
    // cannot be written give a request without a body; either way `error` says why.
    net::URLRequest requestWithMethod(const std::string& method, const std::optional<std::string>& path,
        const base::DictionaryRef& parameters, base::Error* error = nullptr);
    net::URLRequest multipartFormRequestWithMethod(const std::string& method, const std::optional<std::string>& path,
        const base::DictionaryRef& parameters, const MultipartBlock& block, base::Error* error = nullptr);

    // A new operation for the request, not enqueued, of the first registered class that can process it.
    std::shared_ptr<HTTPRequestOperation> HTTPRequestOperationWithRequest(
        net::URLRequest request, SuccessBlock success, FailureBlock failure);
    void enqueueHTTPRequestOperation(const std::shared_ptr<HTTPRequestOperation>& operation);
    // The calls queued whose success or failure block has not yet run (a call with no
    // block for its outcome leaves the count once its outcome is known).
    size_t callsInFlight() const { return m_callsInFlight.count(); }
    // Cancels the queued operations with that method (any, when none is given) whose URL path is the path's.
    void cancelAllHTTPOperationsWithMethod(const std::optional<std::string>& method, const std::string& path);

    void enqueueBatchOfHTTPRequestOperationsWithRequests(
        const std::vector<net::URLRequest>& requests, BatchProgressBlock progress, BatchCompletionBlock completion);
    void enqueueBatchOfHTTPRequestOperations(const std::vector<std::shared_ptr<HTTPRequestOperation>>& operations,
        BatchProgressBlock progress, BatchCompletionBlock completion);

    void getPath(
        const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure);
    void postPath(const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success,
        FailureBlock failure, const PrepareBlock& prepare = {});
    void putPath(
        const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure);
    void deletePath(
        const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure);
    void patchPath(
        const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure);

    // A new client with the same base URL, encodings, registry and default headers (its own copies), and a new
    // queue; neither the default credential nor the certificate rule is carried over. Subclasses return their
    // own kind.
    virtual std::shared_ptr<HTTPClient> copy() const;

    const base::URL& baseURL() const { return m_baseURL; }
    base::TextEncoding::Code stringEncoding() const { return m_stringEncoding; }
    void setStringEncoding(base::TextEncoding::Code encoding)
    {
        m_stringEncoding = encoding;
        m_bodyHeaderFields.reset();
    }
    int32_t parameterEncoding() const { return m_parameterEncoding; }
    void setParameterEncoding(int32_t encoding)
    {
        m_parameterEncoding = encoding;
        m_bodyHeaderFields.reset();
    }
    const std::vector<std::string>& registeredHTTPOperationClassNames() const { return m_registeredClassNames; }
    const std::map<std::string, std::string>& defaultHeaders() const { return m_defaultHeaders; }
    const std::optional<net::URLCredential>& defaultCredential() const { return m_defaultCredential; }
    void setDefaultCredential(std::optional<net::URLCredential> credential)
    {
        m_defaultCredential = std::move(credential);
    }
    const std::shared_ptr<base::OperationQueue>& operationQueue() const { return m_operationQueue; }
    bool allowsInvalidSSLCertificate() const { return m_allowsInvalidSSLCertificate; }
    void setAllowsInvalidSSLCertificate(bool allows) { m_allowsInvalidSSLCertificate = allows; }

    // The header values the client starts with, from the device facts and the main bundle.
    static std::string acceptLanguageHeaderValue(const std::vector<std::string>& preferredLanguages);
    static std::string userAgentHeaderValue();

protected:
    // Lets a subclass's copy() carry the settings over to a client it has made.
    void copySettingsTo(HTTPClient& other) const;

private:
    void enqueueRequest(const std::string& method, const std::string& path, const base::DictionaryRef& parameters,
        SuccessBlock success, FailureBlock failure, const PrepareBlock& prepare = {});
    void setBody(net::URLRequest& request, const base::DictionaryRef& parameters, base::Error* error);
    // The path resolved against the base URL, kept for the next call to the same path.
    const std::optional<base::URL>& resolvedURL(const std::string& path);
    // The default headers as a new request's fields, made again after a default header changes.
    const net::HTTPHeaderFields& requestHeaderFields();
    // The same with the "Content-Type" of a body in the parameter encoding, made again after either changes.
    const net::HTTPHeaderFields& bodyHeaderFields();

    base::URL m_baseURL;
    base::TextEncoding::Code m_stringEncoding { base::TextEncoding::UTF8 };
    int32_t m_parameterEncoding { FormURLParameterEncoding };
    std::vector<std::string> m_registeredClassNames;
    std::map<std::string, std::string> m_defaultHeaders;
    std::optional<net::HTTPHeaderFields> m_requestHeaderFields;
    std::optional<net::HTTPHeaderFields> m_bodyHeaderFields;
    // The base URL never changes, so a path always resolves to the same URL. Bounded: cleared when full.
    static constexpr size_t ResolvedPathsKept = 64;
    std::unordered_map<std::string, std::optional<base::URL>> m_resolvedPaths;
    std::optional<net::URLCredential> m_defaultCredential;
    std::shared_ptr<base::OperationQueue> m_operationQueue;
    CallsInFlight m_callsInFlight;
    bool m_allowsInvalidSSLCertificate { false };
};

} // namespace networking
