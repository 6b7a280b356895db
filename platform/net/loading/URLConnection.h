// net::URLConnection: one request carried out on the main run loop, reporting to its delegate as it goes:
// redirects (the delegate may change or refuse them), authentication challenges (HTTP 401 and TLS
// certificates that fail verification), upload progress, the response, the body in chunks, and the end or
// the failure. Exactly one of didFinishLoading and didFailWithError ends a started connection, unless it is
// cancelled first; after that nothing more is called. The connection keeps itself and its delegate until it
// ends. Gzip and deflate bodies arrive decoded; libcurl's cookie engine is off (callers send "Cookie" and read
// "Set-Cookie" themselves); "Expect: 100-continue" is never sent; certificates are verified unless the
// delegate accepts the server's trust. A redirect to another server drops "Cookie" and "Authorization", and
// one that would send the request's body there again (a 307 or 308 of a POST) fails instead. Idle for
// longer than the request's time-out, it fails with URLTimedOut.
//
// Threads: start() and cancel() from any thread; the attempts, the libcurl callbacks and every delegate call
// on the main thread, in turns of the main run loop (net::MainLoopTransfers drives the transfer there, so a
// delegate must not block). Its easy handle comes from net::EasyHandlePool and goes back there when it is
// released (on whichever thread lets go of it last).
//
//   auto connection = net::URLConnection::make(request, delegate);
//   connection->start();   // any thread; beginNow() on the main thread
//   connection->cancel();  // on the main thread no delegate call follows
#pragma once

#include "net/auth/URLCredential.h"
#include "net/http/HTTPResponseHeaderParser.h"
#include "net/http/URLRequest.h"
#include "net/loading/EasyHandlePool.h"
#include "net/loading/NetworkTransfer.h"
#include "net/loading/URLConnectionDelegate.h"

#include <chrono>
#include <curl/curl.h>
#include <memory>
#include <optional>
#include <string>

namespace net {

class URLConnection final : public std::enable_shared_from_this<URLConnection>,
                            public StreamDelegate,
                            private NetworkTransfer {
    struct Token { };

public:
    static std::shared_ptr<URLConnection> make(URLRequest request, std::shared_ptr<URLConnectionDelegate> delegate);
    // Shares the request instead of copying it: its owner swaps in a new request rather than editing this one.
    static std::shared_ptr<URLConnection> make(
        std::shared_ptr<const URLRequest> request, std::shared_ptr<URLConnectionDelegate> delegate);
    URLConnection(Token, std::shared_ptr<const URLRequest> request, std::shared_ptr<URLConnectionDelegate> delegate);
    ~URLConnection() override;
    URLConnection(const URLConnection&) = delete;
    URLConnection& operator=(const URLConnection&) = delete;

    // Any thread: the request begins on a later turn of the main run loop.
    void start();
    // Main thread, from a task of the main loop: the request begins at once, so a failure to begin (a URL
    // that is not usable) reaches the delegate before this returns.
    void beginNow();
    // Any thread. On the main thread it takes effect at once; elsewhere when the main loop gets to it.
    void cancel();

    // Main thread: the request as given.
    const URLRequest& originalRequest() const { return *m_originalRequest; }
    // Main thread: the request of the current attempt (after redirects).
    const URLRequest& currentRequest() const { return *m_request; }

    // Events of the request's body stream, on the main thread.
    void streamHandleEvent(Stream& stream, StreamEvent event) override;

private:
    enum class Hold { None, Redirect, Challenge };

    // Attempts.
    void beginAttempt();
    static void setUpHandle(EasyHandlePool::Handle& handle);
    [[nodiscard]] bool configureHandle();
    void configureCredential();
    void configureMethodAndBody();
    void restartAttempt();
    // Transfer callbacks (NetworkTransfer).
    void transferCompleted(int curlCode) override;
    TimePoint idleDeadline() const override;
    void idleDeadlinePassed() override;
    void transfersStopping() override;
    // libcurl callbacks.
    static URLConnection* connectionOf(void* options)
    {
        return static_cast<URLConnection*>(EasyHandleOptions::ownerOf(options));
    }
    static size_t headerCallback(char* data, size_t size, size_t count, void* options);
    static size_t writeCallback(char* data, size_t size, size_t count, void* options);
    static size_t readCallback(char* buffer, size_t size, size_t count, void* options);
    static int progressCallback(void* options, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
    size_t receiveHeaderLine(std::string_view line);
    size_t receiveData(const char* data, size_t length);
    size_t readBody(char* buffer, size_t capacity);
    void reportUpload(curl_off_t uploaded);
    void headerBlockCompleted();
    // Outcomes.
    std::shared_ptr<const HTTPResponse> makeResponse() const;
    void deliverResponse(const std::shared_ptr<const HTTPResponse>& response);
    void deliverHeldReply();
    void followRedirect();
    void challengeForCredentials();
    void challengeServerTrust();
    void issueChallenge(
        const URLProtectionSpace& space, int previousFailureCount, std::shared_ptr<const HTTPResponse> failureResponse);
    void challengeAnswered(
        URLAuthenticationChallenge::Disposition disposition, std::optional<URLCredential> credential);
    void keepUsedCredential(int statusCode);
    void finishLoading();
    void fail(const base::Error& error);
    void end();
    void touch() { m_lastActivity = std::chrono::steady_clock::now(); }
    // libcurl's message on the attempt's failure, kept with the handle.
    const char* errorMessage() const { return m_handle.options ? m_handle.options->errorBuffer() : ""; }
    // A redirect or a fresh body stream gives the next attempt a request of its own; the one given stays.
    void replaceRequest(URLRequest request) { m_request = std::make_shared<const URLRequest>(std::move(request)); }
    // The delegate while it may still be told things (a copy, so that ending cannot destroy it mid-call).
    std::shared_ptr<URLConnectionDelegate> listeningDelegate() const { return m_cancelled ? nullptr : m_delegate; }

    std::shared_ptr<const URLRequest> m_originalRequest;
    std::shared_ptr<const URLRequest> m_request;
    std::shared_ptr<URLConnectionDelegate> m_delegate;
    std::shared_ptr<URLConnection> m_keepAlive;

    EasyHandlePool::Handle m_handle;
    bool m_handleAuthenticated { false };
    bool m_registered { false };
    bool m_inCurlCallback { false };
    bool m_cancelled { false };
    bool m_ended { false };

    HTTPResponseHeaderParser m_parser;
    Hold m_hold { Hold::None };
    base::Data m_heldBody;
    bool m_responseDelivered { false };
    int m_redirects { 0 };

    std::shared_ptr<InputStream> m_bodyStream;
    bool m_bodyStreamUsed { false };
    bool m_bodyPaused { false };
    std::optional<base::Error> m_bodyError;
    int64_t m_bodyLength { -1 };
    curl_off_t m_uploadReported { 0 };

    std::optional<URLCredential> m_credential;
    URLProtectionSpace m_credentialSpace;
    std::string m_authScheme;
    int m_authFailures { 0 };
    bool m_trustAccepted { false };
    bool m_awaitingAnswer { false };

    TimePoint m_lastActivity;
};

} // namespace net
