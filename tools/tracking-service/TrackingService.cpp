#include "tracking-service/TrackingService.h"

#include "base/system/Log.h"
#include "base/values/Dictionary.h"
#include "core/messages/SafeFileName.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/DeadlineServer.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/ServedConnections.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceRoutes.h"
#include "tracking-service/WebMethodRequests.h"
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <httplib.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace tracking_service {

using core::ServiceProtocol;

namespace {

    // Requests one kept-alive connection may carry before the service closes it.
    constexpr size_t KeptAliveRequestLimit = 1000;

    std::string envelope(const base::Value& payload)
    {
        return json::JSONString(base::Dictionary::make({ { ServiceProtocol::PayloadKey, payload } })).value_or("{}");
    }

    void answerJSON(httplib::Response& response, int status, const std::string& body)
    {
        response.status = status;
        response.set_content(body, ServiceProtocol::ReplyContentType);
    }

    // The body goes out after the head, through a provider, so that `finished` learns whether the connection
    // took every byte of it: when the caller has gone the write fails. It runs once, when the reply is done with.
    void answerJSONThen(httplib::Response& response, std::string body, std::function<void(bool written)> finished)
    {
        response.status = 200;
        auto bytes = std::make_shared<const std::string>(std::move(body));
        auto once = std::make_shared<std::function<void(bool)>>(std::move(finished));
        auto finish = [once](bool written) {
            if (auto callback = std::exchange(*once, nullptr))
                callback(written);
        };
        response.set_content_provider(
            bytes->size(), ServiceProtocol::ReplyContentType,
            [bytes, finish](size_t offset, size_t, httplib::DataSink& sink) {
                bool written = sink.write(bytes->data() + offset, bytes->size() - offset);
                finish(written);
                return written;
            },
            [finish](bool) { finish(false); });
    }

    void answerMessage(httplib::Response& response, int status, const std::string& message)
    {
        answerJSON(
            response, status, json::JSONString(base::Dictionary::make({ { "Message", message } })).value_or("{}"));
    }

    // One line per request: the endpoint, the status and the sizes, never a parameter, header or body, which
    // may carry a password, a cookie, a phone number or a message's text.
    void logRequest(const httplib::Request& request, const httplib::Response& response)
    {
        std::string endpoint = request.path.substr(request.path.rfind('/') + 1);
        bool known = requestFormOf(endpoint) || endpoint == TrackingService::DownloadEndpoint
            || endpoint == TrackingService::UploadEndpoint || request.path == ServiceRoutes::LookupPath
            || request.path == ServiceRoutes::FeedbackPath || request.path == TrackingService::FaultControlPath;
        std::string sent = response.get_header_value("Content-Length");
        base::log("tracking-service: " + request.method + " " + (known ? endpoint : std::string("(unknown path)")) + " "
            + std::to_string(response.status) + ", " + std::to_string(request.body.size()) + " bytes in, "
            + (sent.empty() ? std::to_string(response.body.size()) : sent) + " bytes out");
    }

    std::optional<std::string> sessionIdFromCookies(const std::string& header)
    {
        const std::string prefix = std::string(ServiceProtocol::SessionCookieName) + "=";
        size_t start = 0;
        while (start < header.size()) {
            size_t end = header.find(';', start);
            if (end == std::string::npos)
                end = header.size();
            std::string_view pair(header.data() + start, end - start);
            while (!pair.empty() && pair.front() == ' ')
                pair.remove_prefix(1);
            if (pair.starts_with(prefix))
                return std::string(pair.substr(prefix.size()));
            start = end + 1;
        }
        return std::nullopt;
    }

} // namespace

TrackingService::TrackingService(const std::filesystem::path& dataFolder)
    : m_store(dataFolder)
{
    if (m_store.isOpen() && m_store.isEmpty())
        DemoData::seed(m_store, base::Date::now());
    addAccountMethods(m_methods);
    addDeviceMethods(m_methods);
    addMessageMethods(m_methods);
    addChatMethods(m_methods);
    addSettingsMethods(m_methods);
    addNumberMethods(m_methods);
    addPhoneBookMethods(m_methods);
    addAttendanceMethods(m_methods);
    addScheduleMethods(m_methods);
    addChallengeMethods(m_methods);
    addPurchaseMethods(m_methods);
}

TrackingService::~TrackingService() { stop(); }

size_t TrackingService::bodyLimitOf(const httplib::Request& request)
{
    std::string_view path = request.path;
    if (path.starts_with(ServiceProtocol::WebMethodPath)) {
        if (const RequestForm* form
            = requestFormOf(path.substr(std::string_view(ServiceProtocol::WebMethodPath).size())))
            return form->bodyLimit();
    }
    return path == ServiceRoutes::FeedbackPath ? RequestForm::TypedTextBodyLimit : RequestForm::FieldsBodyLimit;
}

std::string TrackingService::rootUrl() const { return "http://" + m_host + ":" + std::to_string(m_port); }

bool TrackingService::start(const std::string& host, int port)
{
    if (m_server || !m_store.isOpen())
        return false;
    m_server = std::make_unique<DeadlineServer>(m_limits, bodyLimitOf);
    m_server->new_task_queue = [] { return new httplib::ThreadPool(WorkerCount); };
    // Connections stay open between requests, as the real service's do; stop() closes idle ones at once.
    m_server->set_keep_alive_max_count(KeptAliveRequestLimit);
    m_server->set_keep_alive_timeout(m_idleConnectionLimit.count());
    // A reply goes out as head and body in two writes: held back until the client acknowledges the head
    // (which it delays), a kept-alive connection would take some 40 ms for every reply.
    m_server->set_tcp_nodelay(true);
    route();
    if (m_logsRequests)
        m_server->set_logger(logRequest);
    // The listening socket may take an address whose last connections linger, but never one another server
    // listens on: with the port shared, the kernel would split the requests between two stores.
    m_server->set_socket_options([](socket_t socket) {
        int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    m_host = host;
    errno = 0;
    m_port = port == 0 ? m_server->bind_to_any_port(host) : (m_server->bind_to_port(host, port) ? port : -1);
    if (m_port <= 0) {
        base::log("tracking-service: cannot listen on " + host + ":" + std::to_string(port) + ": "
            + (errno == EADDRINUSE ? "the port is in use (is another service running there?)"
                                   : std::string(errno ? std::strerror(errno) : "no such address")));
        m_server.reset();
        m_port = 0;
        return false;
    }
    m_faults.resumeHolding();
    m_listenEnded = false;
    m_thread = std::thread([this] {
        m_server->listen_after_bind();
        m_listenEnded = true;
    });
    // stop() only takes effect once the server runs, so wait for it (the socket already listens).
    while (!m_server->is_running() && !m_listenEnded)
        std::this_thread::yield();
    if (m_listenEnded) {
        m_thread.join();
        m_server.reset();
        return false;
    }
    return true;
}

void TrackingService::stop()
{
    if (!m_server)
        return;
    m_faults.stopHolding();
    m_server->stop();
    // The server's workers wait out a kept-alive connection's idle time before they can be joined: end the
    // reading side of every connection still open, so each worker finishes its request in hand and leaves.
    endReadingOfConnectionsTo(m_port);
    m_thread.join();
    m_server.reset();
}

void TrackingService::route()
{
    m_server->Post(
        R"(/Server/Mobileservice\.asmx/([^/]+))", [this](const httplib::Request& request, httplib::Response& response) {
            answerWebMethod(request, response, request.matches[1]);
        });
    auto download
        = [this](const httplib::Request& request, httplib::Response& response) { answerDownload(request, response); };
    m_server->Get(ServiceProtocol::DownloadPath, download);
    m_server->Post(ServiceProtocol::DownloadPath, download);
    m_server->Post(std::string("/") + ServiceProtocol::VoiceUploadPath,
        [this](const httplib::Request& request, httplib::Response& response) { answerUpload(request, response); });
    m_server->Get(ServiceRoutes::LookupPath, [this](const httplib::Request& request, httplib::Response& response) {
        answerRoute(request, response, ServiceRoutes::LookupEndpoint, answerStoreLookup);
    });
    auto feedback = [this](const httplib::Request& request, httplib::Response& response) {
        answerRoute(request, response, ServiceRoutes::FeedbackEndpoint, answerFeedbackConversation);
    };
    m_server->Get(ServiceRoutes::FeedbackPath, feedback);
    m_server->Post(ServiceRoutes::FeedbackPath, feedback);
    routeFaultControl();
}

void TrackingService::record(const httplib::Request& request, const std::string& endpoint)
{
    ReceivedRequest received;
    received.httpMethod = request.method;
    received.path = request.path;
    received.endpoint = endpoint;
    received.headers.insert(request.headers.begin(), request.headers.end());
    for (const auto& [key, value] : request.params)
        received.queryParameters.emplace(key, value);
    received.body = request.body;
    m_requestLog.add(std::move(received));
}

bool TrackingService::applyFault(const std::string& endpoint, httplib::Response& response)
{
    auto fault = m_faults.faultFor(endpoint);
    return fault && answerWithFault(endpoint, *fault, response);
}

bool TrackingService::answerWithFault(const std::string& endpoint, const Fault& fault, httplib::Response& response)
{
    switch (fault.kind) {
    case Fault::Kind::Status:
        answerMessage(response, fault.statusCode, "Injected failure");
        return true;
    case Fault::Kind::DropConnection:
        // The head goes out, then the connection closes before the promised body.
        response.set_content_provider(
            64, ServiceProtocol::ReplyContentType, [](size_t, size_t, httplib::DataSink&) { return false; });
        return true;
    case Fault::Kind::NonJsonBody:
        response.set_content("<html><body>Service Unavailable</body></html>", "text/html");
        return true;
    case Fault::Kind::NoPayload:
        answerMessage(response, 200, "No payload");
        return true;
    case Fault::Kind::NullPayload:
        answerJSON(response, 200, envelope(base::Value::null()));
        return true;
    case Fault::Kind::Refusal:
        answerJSON(response, 200, envelope(base::Value(fault.refusalText)));
        return true;
    case Fault::Kind::Payload:
        answerJSON(response, 200, envelope(fault.value));
        return true;
    case Fault::Kind::Delay: {
        auto held = m_faults.hold(endpoint, fault.duration);
        if (held.end == FaultPlan::HoldEnd::Stopping) {
            answerMessage(response, 503, "Service stopping");
            return true;
        }
        return held.answer && answerWithFault(endpoint, *held.answer, response);
    }
    }
    return false;
}

void TrackingService::answerWebMethod(
    const httplib::Request& request, httplib::Response& response, const std::string& name)
{
    record(request, name);
    if (applyFault(name, response))
        return;
    const WebMethodTable::Entry* entry = m_methods.find(name);
    const RequestForm* form = requestFormOf(name);
    if (!entry || !form)
        return refuseRequest(response, name, "Unknown web method.");

    // Every request declares its JSON, the body-less ones too.
    if (auto reason = contentTypeMismatch(request.get_header_value("Content-Type")))
        return refuseRequest(response, name, *reason);
    base::DictionaryRef parameters;
    if (!request.body.empty()) {
        auto decoded = json::objectFromJSONString(request.body);
        if (!decoded || !decoded->dictionary())
            return refuseRequest(response, name, "Invalid JSON object in the request body.");
        parameters = decoded->dictionary();
    }
    WebMethodCall call { m_store, {}, parameters ? parameters : base::Dictionary::make(), rootUrl(), std::nullopt };
    call.account = signedInAccount(request);
    if (entry->access == WebMethodTable::Access::SignedIn && call.account.empty())
        return answerMessage(response, 401, "Authentication failed.");
    if (auto reason = form->mismatch(parameters))
        return refuseRequest(response, name, *reason);

    base::Value payload = entry->method(call);
    if (call.newSessionId) {
        response.set_header("Set-Cookie",
            std::string(ServiceProtocol::SessionCookieName) + "=" + *call.newSessionId + "; path=/; HttpOnly");
    }
    // A payload that cannot be written as JSON is a fault of the service, never an empty success.
    auto body = json::JSONString(base::Dictionary::make({ { ServiceProtocol::PayloadKey, payload } }));
    if (!body) {
        if (call.afterReply)
            call.afterReply(false);
        base::log("tracking-service: the reply of " + name + " could not be encoded");
        return answerMessage(response, 500, "The reply could not be encoded.");
    }
    if (call.afterReply)
        return answerJSONThen(response, std::move(*body), std::move(call.afterReply));
    answerJSON(response, 200, *body);
}

void TrackingService::refuseRequest(httplib::Response& response, const std::string& method, const std::string& reason)
{
    // The name comes from the caller's path: one the table does not hold is not repeated.
    bool known = requestFormOf(method) || method == UploadEndpoint;
    base::log(
        "tracking-service: " + (known ? method : std::string("an unknown web method")) + " refused (500): " + reason);
    answerMessage(response, 500, reason);
}

void TrackingService::answerRoute(
    const httplib::Request& request, httplib::Response& response, const std::string& endpoint, const RouteHook& hook)
{
    record(request, endpoint);
    if (applyFault(endpoint, response))
        return;
    RouteRequest route { request.method, {}, request.body, signedInAccount(request) };
    route.query.insert(request.params.begin(), request.params.end());
    RouteReply reply = hook(m_store, route);
    answerJSON(response, reply.status, json::JSONString(reply.body).value_or("{}"));
}

std::string TrackingService::signedInAccount(const httplib::Request& request)
{
    auto sessionId = sessionIdFromCookies(request.get_header_value("Cookie"));
    return sessionId ? m_store.sessionAccount(*sessionId).value_or("") : std::string();
}

void TrackingService::answerDownload(const httplib::Request& request, httplib::Response& response)
{
    record(request, DownloadEndpoint);
    if (applyFault(DownloadEndpoint, response))
        return;
    std::string name = request.get_param_value(ServiceProtocol::DownloadNameParameter);
    auto bytes = core::isSafeFileName(name) ? m_store.file(name) : std::nullopt;
    if (!bytes)
        return answerMessage(response, 404, "No such file.");
    response.set_content(std::string(bytes->begin(), bytes->end()), "application/octet-stream");
}

void TrackingService::answerUpload(const httplib::Request& request, httplib::Response& response)
{
    record(request, UploadEndpoint);
    if (applyFault(UploadEndpoint, response))
        return;
    if (!request.is_multipart_form_data())
        return answerMessage(response, 400, "Expected a multipart form.");
    std::multimap<std::string, std::string> parts;
    for (const auto& [name, part] : request.files)
        parts.emplace(name, name == "File" ? std::string() : part.content);
    if (auto reason = voiceUploadMismatch(parts))
        return refuseRequest(response, UploadEndpoint, *reason);
    VoiceUpload upload { request.get_file_value("To").content, request.get_file_value("From").content,
        request.get_file_value("MsgType").content, request.get_file_value("Context").content,
        request.get_file_value("IsTODevice").content, {} };
    std::optional<base::Data> file;
    if (request.has_file("File")) {
        const std::string& content = request.get_file_value("File").content;
        file.emplace(content.begin(), content.end());
    }
    if (!m_store.recordUpload(std::move(upload), file))
        return answerMessage(response, 500, "The upload could not be stored.");
    answerJSON(response, 200, envelope(base::Value(ServiceProtocol::CommandAccepted)));
}

} // namespace tracking_service
