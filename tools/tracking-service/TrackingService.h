// tracking_service::TrackingService: the local stand-in of the tracking web service, for tests and the demo.
// It answers POST "/Server/Mobileservice.asmx/<method>" (a JSON object or no body in, {"d": ...} out as
// "application/json; charset=utf-8"), serves files at "/Tools/LumetDow.ashx?FileName=<name>" and takes the
// multipart voice upload at "/server/PushMessage.ashx", and answers the routes of ServiceRoutes.h (the store
// lookup and the feedback conversation) through their hooks, and takes orders for its faults at FaultControlPath
// from loopback peers only (POST "ENDPOINT=KIND[:ARG]" sets one, see FaultText.h; DELETE lifts the one named by
// "?endpoint=", or all without it). "Login" sets the session cookie; every other method
// but "GetServerList" requires it. State lives in a SQLite file in the service's data folder, filled with
// the demo data when new (a folder of 0700 and files of 0600, since it holds passwords). A web method's request
// must fit the method's form (WebMethodRequests.h): one not declared as JSON in UTF-8 (with a body or without),
// or that lacks a key, carries an unknown key or a value of the wrong kind is answered with status 500 and a
// one-line reason, which is also logged, never with the method's normal reply. Faults can be ordered per endpoint
// (faults()), and the latest requests are kept as asked (requestLog()). Requests are served by a large pool of worker
// threads, so a request held back by a delay fault never blocks the others; a request's head must come within an
// overall deadline and its body keep to a minimum rate, and a connection gives its worker up after a slow request
// or a turn of its own, so that slow senders cannot hold the workers (DeadlineServer.h); a body larger than its
// request's limit (bodyLimitOf) is refused unread; a connection stays open between requests for a bounded idle
// time. start() refuses an address another server listens on. start() and stop() belong to the thread that owns
// the service.
//
//   tracking_service::TrackingService service(temporaryFolder);
//   service.start();                      // a free loopback port
//   client.post(service.rootUrl() + "/Server/Mobileservice.asmx/Login", ...);
#pragma once

#include "tracking-service/ConnectionLimits.h"
#include "tracking-service/FaultPlan.h"
#include "tracking-service/RequestLog.h"
#include "tracking-service/ServiceRoutes.h"
#include "tracking-service/ServiceStore.h"
#include "tracking-service/WebMethodTable.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
struct Request;
struct Response;
}

namespace tracking_service {

class DeadlineServer;

class TrackingService {
public:
    static constexpr const char* DownloadEndpoint = "LumetDow.ashx";
    static constexpr const char* UploadEndpoint = "PushMessage.ashx";
    static constexpr const char* FaultControlPath = "/control/faults";
    // Enough workers that requests held back by a delay fault never hold up the others.
    static constexpr size_t WorkerCount = 64;
    // The largest body taken with a request: its web method's (RequestForm::bodyLimit), the typed text's for the
    // feedback conversation, the fields' for the rest (the voice upload's form among them). A larger one is
    // answered 413 without being read.
    static size_t bodyLimitOf(const httplib::Request& request);

    // Opens the store in `dataFolder`; a new store gets the demo data.
    explicit TrackingService(const std::filesystem::path& dataFolder);
    ~TrackingService();
    TrackingService(const TrackingService&) = delete;
    TrackingService& operator=(const TrackingService&) = delete;

    // Listens on host:port (port 0: a free one) and serves on threads of its own. False when the store
    // could not be opened or the address cannot be bound.
    bool start(const std::string& host = "127.0.0.1", int port = 0);
    // Stops serving; requests held back by a delay fault are let go at once, and connections kept alive
    // between requests are closed without waiting out their idle time.
    void stop();
    // How long a connection may wait idle for its next request (2 s unless set); takes effect at start().
    void setIdleConnectionLimit(std::chrono::seconds limit) { m_idleConnectionLimit = limit; }
    // How long reading a request's head may take in all, and a body may take before it must keep to the
    // minimum rate (5 s unless set); takes effect at start().
    void setHeadDeadline(std::chrono::milliseconds deadline) { m_limits.headDeadline = deadline; }
    // How long one connection may hold a worker before its next reply is its last (30 s unless set), and how
    // long a request's head may take before its reply is its connection's last (1 s unless set); take effect
    // at start().
    void setWorkerTurn(std::chrono::milliseconds turn, std::chrono::milliseconds slowHead)
    {
        m_limits.workerTurn = turn;
        m_limits.slowHead = slowHead;
    }

    int port() const { return m_port; }
    // "http://<host>:<port>", the root the application's server setting takes.
    std::string rootUrl() const;

    ServiceStore& store() { return m_store; }
    FaultPlan& faults() { return m_faults; }
    RequestLog& requestLog() { return m_requestLog; }
    // Also write a line per request to the log (the stand-alone service does): the endpoint, the status and the
    // sizes only, never a parameter, a header or a body.
    void setLogsRequests(bool logs) { m_logsRequests = logs; }

private:
    void route();
    void routeFaultControl();
    void record(const httplib::Request& request, const std::string& endpoint);
    // Answers with the endpoint's fault and returns true, or returns false for a normal answer (after any delay).
    bool applyFault(const std::string& endpoint, httplib::Response& response);
    // The same for a given fault; a held request let go with an answer is answered with that.
    bool answerWithFault(const std::string& endpoint, const Fault& fault, httplib::Response& response);
    void answerWebMethod(const httplib::Request& request, httplib::Response& response, const std::string& name);
    // Answers a request that does not fit its method's form with status 500 and the reason, and logs it.
    void refuseRequest(httplib::Response& response, const std::string& method, const std::string& reason);
    void answerDownload(const httplib::Request& request, httplib::Response& response);
    void answerUpload(const httplib::Request& request, httplib::Response& response);
    using RouteHook = std::function<RouteReply(ServiceStore&, const RouteRequest&)>;
    void answerRoute(const httplib::Request& request, httplib::Response& response, const std::string& endpoint,
        const RouteHook& hook);
    // The account of the request's session cookie, "" without a valid one.
    std::string signedInAccount(const httplib::Request& request);

    ServiceStore m_store;
    WebMethodTable m_methods;
    FaultPlan m_faults;
    RequestLog m_requestLog;
    std::unique_ptr<DeadlineServer> m_server;
    std::thread m_thread;
    std::string m_host;
    int m_port { 0 };
    std::chrono::seconds m_idleConnectionLimit { 2 };
    ConnectionLimits m_limits;
    std::atomic<bool> m_logsRequests { false };
    std::atomic<bool> m_listenEnded { false };
};

} // namespace tracking_service
