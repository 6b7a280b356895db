#include "networking/http/HTTPClient.h"

#include "base/loop/BlockOperation.h"
#include "base/loop/DispatchGroup.h"
#include "base/loop/MainThread.h"
#include "base/system/Bundle.h"
#include "base/system/Facts.h"
#include "base/values/Array.h"
#include "net/http/URLErrors.h"
#include "networking/forms/Base64.h"
#include "networking/forms/QueryString.h"
#include "networking/http/NetworkingErrors.h"
#include "networking/plist/PropertyListSerialization.h"
#include "json/JSONSerializer.h"

#include <algorithm>
#include <cstdio>

namespace networking {

namespace {

    base::URL withTrailingSlash(base::URL url)
    {
        if (!url.percentEncodedPath().empty() && !url.absoluteString().ends_with("/"))
            return url.appendingPathComponent("");
        return url;
    }

    std::string addressOf(const void* pointer)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%p", pointer);
        return text;
    }

} // namespace

HTTPClient::HTTPClient(base::URL baseURL)
    : m_baseURL(withTrailingSlash(std::move(baseURL)))
    , m_operationQueue(std::make_shared<base::OperationQueue>())
{
    BASE_ASSERT_MAIN_THREAD();
    m_defaultHeaders["Accept-Language"] = acceptLanguageHeaderValue(base::Facts::current().preferredLanguages());
    m_defaultHeaders["User-Agent"] = userAgentHeaderValue();
    m_operationQueue->setMaxConcurrentOperationCount(base::OperationQueue::defaultMaxConcurrentOperationCount);
}

std::shared_ptr<HTTPClient> HTTPClient::clientWithBaseURL(base::URL baseURL)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<HTTPClient>(std::move(baseURL));
}

std::string HTTPClient::acceptLanguageHeaderValue(const std::vector<std::string>& preferredLanguages)
{
    std::string value;
    for (size_t index = 0; index < preferredLanguages.size(); ++index) {
        // Computed in single precision, as the quality values have always been.
        float quality = 1.0f + static_cast<float>(index) * -0.1f;
        char entry[256];
        std::snprintf(
            entry, sizeof entry, "%s;q=%0.1g", preferredLanguages[index].c_str(), static_cast<double>(quality));
        if (!value.empty())
            value += ", ";
        value += entry;
        if (quality <= 0.5f)
            break;
    }
    return value;
}

std::string HTTPClient::userAgentHeaderValue()
{
    auto& bundle = base::Bundle::main();
    auto& facts = base::Facts::current();
    std::string application = bundle.executableName();
    if (application.empty())
        application = bundle.identifier();
    char scale[32];
    std::snprintf(scale, sizeof scale, "%0.2f", facts.screenScale() > 0 ? facts.screenScale() : 1.0);
    return application + "/" + bundle.version() + " (" + facts.model() + "; " + facts.systemName() + " "
        + facts.systemVersion() + "; Scale/" + scale + ")";
}

std::string HTTPClient::description() const
{
    auto headers = base::MutableDictionary::make();
    for (auto& [name, value] : m_defaultHeaders)
        headers->setObject(base::Value(value), name);
    std::vector<base::Value> names(m_registeredClassNames.begin(), m_registeredClassNames.end());
    return "<HTTPClient: " + addressOf(this) + ", baseURL: " + m_baseURL.absoluteString()
        + ", defaultHeaders: " + base::Value(headers).description()
        + ", registeredOperationClasses: " + base::Value(base::Array::make(std::move(names))).description()
        + ", operationQueue: <OperationQueue: " + addressOf(m_operationQueue.get()) + ">>";
}

// Operation classes.

bool HTTPClient::registerHTTPOperationClass(const HTTPOperationClass& operationClass)
{
    if (!operationClass.isSubclassOf(HTTPRequestOperation::operationClass()))
        return false;
    unregisterHTTPOperationClass(operationClass);
    m_registeredClassNames.insert(m_registeredClassNames.begin(), operationClass.name());
    return true;
}

void HTTPClient::unregisterHTTPOperationClass(const HTTPOperationClass& operationClass)
{
    std::erase(m_registeredClassNames, operationClass.name());
}

// Default headers.

std::optional<std::string> HTTPClient::defaultValueForHeader(const std::string& header) const
{
    auto found = m_defaultHeaders.find(header);
    return found == m_defaultHeaders.end() ? std::nullopt : std::optional(found->second);
}

void HTTPClient::setDefaultHeader(const std::string& header, std::optional<std::string> value)
{
    m_requestHeaderFields.reset();
    m_bodyHeaderFields.reset();
    if (value)
        m_defaultHeaders[header] = std::move(*value);
    else
        m_defaultHeaders.erase(header);
}

void HTTPClient::setAuthorizationHeaderWithUsername(const std::string& username, const std::string& password)
{
    setDefaultHeader("Authorization", "Basic " + Base64::encode(username + ":" + password));
}

void HTTPClient::setAuthorizationHeaderWithToken(const std::string& token)
{
    setDefaultHeader("Authorization", "Token token=\"" + token + "\"");
}

void HTTPClient::clearAuthorizationHeader() { setDefaultHeader("Authorization", std::nullopt); }

// Requests.

net::URLRequest HTTPClient::requestWithMethod(const std::string& method, const std::optional<std::string>& path,
    const base::DictionaryRef& parameters, base::Error* error)
{
    static const std::string noPath;
    const std::string& target = path ? *path : noPath;
    const auto& url = resolvedURL(target);
    net::URLRequest request(url);
    if (!url) {
        auto failure
            = net::URLErrors::make(base::Error::URLBadURL, std::nullopt, "The path does not form a valid URL.");
        base::setError(error,
            base::Error(failure.domain(), failure.code(),
                { { base::Error::LocalizedDescriptionKey, "The path does not form a valid URL." },
                    { base::Error::FailingURLStringKey, target } }));
    }
    request.setHTTPMethod(method);
    request.setAllHTTPHeaderFields(requestHeaderFields());
    if (!parameters)
        return request;

    if (method == "GET" || method == "HEAD" || method == "DELETE") {
        auto query = QueryString::joinedQueryStringFromParameters(*parameters, m_stringEncoding, error);
        if (query && url) {
            std::string separator = target.find('?') == std::string::npos ? "?" : "&";
            request.setURL(base::URL::parse(url->absoluteString() + separator + *query));
        }
        return request;
    }
    setBody(request, parameters, error);
    return request;
}

const std::optional<base::URL>& HTTPClient::resolvedURL(const std::string& path)
{
    if (auto found = m_resolvedPaths.find(path); found != m_resolvedPaths.end())
        return found->second;
    if (m_resolvedPaths.size() >= ResolvedPathsKept)
        m_resolvedPaths.clear();
    return m_resolvedPaths.emplace(path, base::URL::parse(path, m_baseURL)).first->second;
}

const net::HTTPHeaderFields& HTTPClient::requestHeaderFields()
{
    if (!m_requestHeaderFields) {
        net::HTTPHeaderFields fields;
        for (auto& [name, value] : m_defaultHeaders)
            fields.set(name, value);
        fields.set("Content-Type", "application/json; charset=utf8");
        m_requestHeaderFields = std::move(fields);
    }
    return *m_requestHeaderFields;
}

const net::HTTPHeaderFields& HTTPClient::bodyHeaderFields()
{
    if (!m_bodyHeaderFields) {
        std::string charset = base::TextEncoding::ianaCharsetName(m_stringEncoding);
        const char* type = m_parameterEncoding == FormURLParameterEncoding ? "application/x-www-form-urlencoded"
            : m_parameterEncoding == JSONParameterEncoding                 ? "application/json"
                                                                           : "application/x-plist";
        net::HTTPHeaderFields fields = requestHeaderFields();
        fields.set("Content-Type", std::string(type) + "; charset=" + charset);
        m_bodyHeaderFields = std::move(fields);
    }
    return *m_bodyHeaderFields;
}

void HTTPClient::setBody(net::URLRequest& request, const base::DictionaryRef& parameters, base::Error* error)
{
    if (m_parameterEncoding != FormURLParameterEncoding && m_parameterEncoding != JSONParameterEncoding
        && m_parameterEncoding != PropertyListParameterEncoding)
        return;
    request.setAllHTTPHeaderFields(bodyHeaderFields());
    base::Error failure;
    std::optional<base::Data> body;
    switch (m_parameterEncoding) {
    case FormURLParameterEncoding:
        if (auto query = QueryString::joinedQueryStringFromParameters(*parameters, m_stringEncoding, &failure))
            body = base::TextEncoding::encode(*query, m_stringEncoding);
        break;
    case JSONParameterEncoding:
        body = json::JSONData(base::Value(parameters), json::JSONSerializeOptionNone, {}, &failure);
        break;
    default:
        body = PropertyListSerialization::dataWithPropertyList(
            base::Value(parameters), PropertyListFormat::XML, &failure);
        break;
    }
    // A body that cannot be written must not go out empty, as if the call had no parameters.
    if (!body) {
        base::setError(error,
            failure.isEmpty() ? base::Error(NetworkingErrors::Domain, NetworkingErrors::InapplicableStringEncoding)
                              : failure);
        return;
    }
    request.setHTTPBody(std::move(body));
}

net::URLRequest HTTPClient::multipartFormRequestWithMethod(const std::string& method,
    const std::optional<std::string>& path, const base::DictionaryRef& parameters, const MultipartBlock& block,
    base::Error* error)
{
    base::Error failure;
    net::URLRequest request = requestWithMethod(method, path, nullptr, &failure);
    StreamingMultipartFormData form(request, m_stringEncoding);
    if (parameters) {
        for (const QueryStringPair& pair :
            QueryString::flattenedQueryStringPairs(std::nullopt, base::Value(parameters))) {
            base::Data bytes;
            if (const base::Data* data = pair.value().data()) {
                bytes = *data;
            } else if (!pair.value().isNull()) {
                auto encoded = base::TextEncoding::encode(pair.value().description(), m_stringEncoding);
                if (!encoded) {
                    base::setError(&failure,
                        base::Error(NetworkingErrors::Domain, NetworkingErrors::InapplicableStringEncoding,
                            { { base::Error::LocalizedDescriptionKey,
                                "The form field \"" + pair.field()
                                    + "\" cannot be written in the chosen text encoding." } }));
                    continue;
                }
                bytes = std::move(*encoded);
            }
            form.appendPartWithFormData(bytes, pair.field());
        }
    }
    if (block)
        block(form);
    net::URLRequest finished = form.requestByFinalizingMultipartFormData(&failure);
    if (!failure.isEmpty())
        base::setError(error, failure);
    return finished;
}

// Operations.

std::shared_ptr<HTTPRequestOperation> HTTPClient::HTTPRequestOperationWithRequest(
    net::URLRequest request, SuccessBlock success, FailureBlock failure)
{
    std::shared_ptr<HTTPRequestOperation> operation;
    for (const std::string& name : m_registeredClassNames) {
        const HTTPOperationClass* operationClass = HTTPOperationClass::named(name);
        if (operationClass && operationClass->canProcessRequest(request)) {
            operation = operationClass->make(std::move(request));
            break;
        }
    }
    if (!operation)
        operation = std::make_shared<HTTPRequestOperation>(std::move(request));
    operation->setCompletionBlockWithSuccess(std::move(success), std::move(failure));
    operation->setCredential(m_defaultCredential);
    operation->setAllowsInvalidSSLCertificate(m_allowsInvalidSSLCertificate);
    return operation;
}

void HTTPClient::enqueueHTTPRequestOperation(const std::shared_ptr<HTTPRequestOperation>& operation)
{
    operation->holdDeliveryTicket(m_callsInFlight.issue());
    m_operationQueue->addOperation(operation);
}

void HTTPClient::cancelAllHTTPOperationsWithMethod(const std::optional<std::string>& method, const std::string& path)
{
    net::URLRequest pattern = requestWithMethod(method.value_or("GET"), path, nullptr);
    std::string target = pattern.url() ? pattern.url()->path() : std::string();
    for (auto& queued : m_operationQueue->operations()) {
        auto operation = std::dynamic_pointer_cast<HTTPRequestOperation>(queued);
        if (!operation)
            continue;
        net::URLRequest request = operation->request();
        bool methodMatches = !method || *method == request.httpMethod();
        if (methodMatches && request.url() && request.url()->path() == target)
            operation->cancel();
    }
}

void HTTPClient::enqueueBatchOfHTTPRequestOperationsWithRequests(
    const std::vector<net::URLRequest>& requests, BatchProgressBlock progress, BatchCompletionBlock completion)
{
    std::vector<std::shared_ptr<HTTPRequestOperation>> operations;
    for (const net::URLRequest& request : requests)
        operations.push_back(HTTPRequestOperationWithRequest(request, nullptr, nullptr));
    enqueueBatchOfHTTPRequestOperations(operations, std::move(progress), std::move(completion));
}

void HTTPClient::enqueueBatchOfHTTPRequestOperations(
    const std::vector<std::shared_ptr<HTTPRequestOperation>>& operations, BatchProgressBlock progress,
    BatchCompletionBlock completion)
{
    auto group = base::DispatchGroup::make();
    auto batch = base::BlockOperation::make([group, operations, completion] {
        group->notify(base::DispatchQueue::main(), [operations, completion] {
            if (completion)
                completion(operations);
        });
    });
    for (auto& operation : operations) {
        base::Operation::Block original = operation->completionBlock();
        std::weak_ptr<HTTPRequestOperation> weak = operation;
        operation->setCompletionBlock([weak, original, group, operations, progress] {
            auto self = weak.lock();
            auto queue
                = self && self->successCallbackQueue() ? self->successCallbackQueue() : base::DispatchQueue::main();
            queue->async([original, group, operations, progress] {
                if (original)
                    original();
                size_t finished = static_cast<size_t>(std::count_if(
                    operations.begin(), operations.end(), [](auto& member) { return member->isFinished(); }));
                if (progress)
                    progress(finished, operations.size());
                group->leave();
            });
        });
        group->enter();
        batch->addDependency(operation);
    }
    for (auto& operation : operations)
        enqueueHTTPRequestOperation(operation);
    m_operationQueue->addOperation(batch);
}

void HTTPClient::enqueueRequest(const std::string& method, const std::string& path,
    const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure, const PrepareBlock& prepare)
{
    base::Error error;
    net::URLRequest request = requestWithMethod(method, path, parameters, &error);
    auto operation = HTTPRequestOperationWithRequest(std::move(request), std::move(success), std::move(failure));
    if (!error.isEmpty())
        operation->setRequestError(error);
    if (prepare)
        prepare(*operation);
    enqueueHTTPRequestOperation(operation);
}

void HTTPClient::getPath(
    const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure)
{
    enqueueRequest("GET", path, parameters, std::move(success), std::move(failure));
}

void HTTPClient::postPath(const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success,
    FailureBlock failure, const PrepareBlock& prepare)
{
    enqueueRequest("POST", path, parameters, std::move(success), std::move(failure), prepare);
}

void HTTPClient::putPath(
    const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure)
{
    enqueueRequest("PUT", path, parameters, std::move(success), std::move(failure));
}

void HTTPClient::deletePath(
    const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure)
{
    enqueueRequest("DELETE", path, parameters, std::move(success), std::move(failure));
}

void HTTPClient::patchPath(
    const std::string& path, const base::DictionaryRef& parameters, SuccessBlock success, FailureBlock failure)
{
    enqueueRequest("PATCH", path, parameters, std::move(success), std::move(failure));
}

// Copying.

void HTTPClient::copySettingsTo(HTTPClient& other) const
{
    other.m_stringEncoding = m_stringEncoding;
    other.m_parameterEncoding = m_parameterEncoding;
    other.m_registeredClassNames = m_registeredClassNames;
    other.m_defaultHeaders = m_defaultHeaders;
    other.m_requestHeaderFields.reset();
    other.m_bodyHeaderFields.reset();
}

std::shared_ptr<HTTPClient> HTTPClient::copy() const
{
    auto client = std::make_shared<HTTPClient>(m_baseURL);
    copySettingsTo(*client);
    return client;
}

} // namespace networking
