#include "net/loading/URLConnection.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "net/auth/AuthenticationChallengeHeader.h"
#include "net/auth/URLCredentialStorage.h"
#include "net/http/URLErrors.h"
#include "net/loading/EasyHandlePool.h"
#include "net/loading/MainLoopTransfers.h"

#include <algorithm>
#include <charconv>

namespace net {

namespace {

    constexpr int MaximumRedirects = 16;

    bool isHTTPScheme(const base::URL& url)
    {
        return HTTPHeaderFields::namesEqual(url.scheme(), "http")
            || HTTPHeaderFields::namesEqual(url.scheme(), "https");
    }

    int portOf(const base::URL& url)
    {
        if (url.port())
            return *url.port();
        return HTTPHeaderFields::namesEqual(url.scheme(), "https") ? 443 : 80;
    }

    std::string lowerScheme(const base::URL& url)
    {
        std::string scheme = url.scheme();
        std::transform(scheme.begin(), scheme.end(), scheme.begin(),
            [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return scheme;
    }

    bool isRedirectStatus(int status)
    {
        return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    }

    int64_t announcedLength(const URLRequest& request)
    {
        const std::string* field = request.valueForHTTPHeaderField("Content-Length");
        if (!field)
            return -1;
        int64_t length = -1;
        auto [end, error] = std::from_chars(field->data(), field->data() + field->size(), length);
        return error == std::errc() && end == field->data() + field->size() && length >= 0 ? length : -1;
    }

    // Marks the connection as being inside a libcurl callback, where it must not remove its own handle.
    class CallbackScope {
    public:
        explicit CallbackScope(bool& flag)
            : m_flag(flag)
        {
            m_flag = true;
        }
        ~CallbackScope() { m_flag = false; }

    private:
        bool& m_flag;
    };

    // Why an attempt cannot begin: made out of line, so that the common path of an attempt stays short.
    [[gnu::cold, gnu::noinline]] base::Error unusableURL(const std::optional<base::URL>& url)
    {
        if (!url)
            return URLErrors::make(base::Error::URLBadURL, std::nullopt, "The URL is not valid.");
        if (!isHTTPScheme(*url))
            return URLErrors::make(base::Error::URLUnsupportedURL, url, "The URL is not supported.");
        return URLErrors::make(base::Error::URLUnknown, url, "The request could not be prepared.");
    }

} // namespace

std::shared_ptr<URLConnection> URLConnection::make(URLRequest request, std::shared_ptr<URLConnectionDelegate> delegate)
{
    return make(std::make_shared<const URLRequest>(std::move(request)), std::move(delegate));
}

std::shared_ptr<URLConnection> URLConnection::make(
    std::shared_ptr<const URLRequest> request, std::shared_ptr<URLConnectionDelegate> delegate)
{
    return std::make_shared<URLConnection>(Token {}, std::move(request), std::move(delegate));
}

URLConnection::URLConnection(
    Token, std::shared_ptr<const URLRequest> request, std::shared_ptr<URLConnectionDelegate> delegate)
    : m_originalRequest(request)
    , m_request(std::move(request))
    , m_delegate(std::move(delegate))
{
}

URLConnection::~URLConnection()
{
    if (m_handle.easy && m_handleAuthenticated) {
        curl_easy_reset(m_handle.easy);
        m_handle.options->forget();
        setUpHandle(m_handle);
    }
    EasyHandlePool::shared().giveBack(std::move(m_handle));
}

void URLConnection::start()
{
    base::RunLoop::main().post([self = shared_from_this()] { self->beginAttempt(); });
}

void URLConnection::beginNow()
{
    BASE_ASSERT_MAIN_THREAD();
    beginAttempt();
}

void URLConnection::cancel()
{
    if (!base::isMainThread()) {
        base::RunLoop::main().post([self = shared_from_this()] { self->cancel(); });
        return;
    }
    if (m_cancelled || m_ended)
        return;
    m_cancelled = true;
    // Inside a libcurl callback the callback itself stops the transfer; it ends in transferCompleted.
    if (m_inCurlCallback)
        return;
    if (m_registered) {
        m_registered = false;
        MainLoopTransfers::shared().removeTransfer(m_handle.easy);
    }
    end();
}

// Attempts.

void URLConnection::beginAttempt()
{
    if (m_cancelled || m_ended)
        return;
    auto keep = shared_from_this();
    const auto& url = m_request->url();
    if (!url || !isHTTPScheme(*url)) [[unlikely]] {
        fail(unusableURL(url));
        return;
    }
    if (m_bodyStream && m_bodyStream != m_request->httpBodyStream()) {
        m_bodyStream->unschedule();
        m_bodyStream->close();
        m_bodyStream = nullptr;
    }
    if (m_request->httpBodyStream() && !m_bodyStream) {
        m_bodyStream = m_request->httpBodyStream();
        m_bodyStreamUsed = true;
        m_bodyPaused = false;
        m_bodyError.reset();
        m_bodyStream->setDelegate(weak_from_this());
        m_bodyStream->schedule([](Stream::Task task) { base::RunLoop::main().post(std::move(task)); });
        m_bodyStream->open();
    }
    if (!configureHandle()) [[unlikely]] {
        fail(unusableURL(url));
        return;
    }
    m_parser = HTTPResponseHeaderParser();
    m_hold = Hold::None;
    m_heldBody.clear();
    m_responseDelivered = false;
    m_uploadReported = 0;
    m_handle.options->errorBuffer()[0] = '\0';
    touch();
    m_keepAlive = keep;
    m_registered = true;
    MainLoopTransfers::shared().addTransfer(m_handle.easy, this);
}

// The options that are the same for every connection, set once on each new handle of the pool.
void URLConnection::setUpHandle(EasyHandlePool::Handle& handle)
{
    CURL* easy = handle.easy;
    handle.options->attach(easy);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &URLConnection::headerCallback);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &URLConnection::writeCallback);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &URLConnection::readCallback);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &URLConnection::progressCallback);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
}

// Gives every other option an attempt may use its value or libcurl's default: the handle may come from a call
// of another kind. The handle's record of its options leaves out those it already holds.
bool URLConnection::configureHandle()
{
    if (!m_handle.easy)
        m_handle = EasyHandlePool::shared().take(&URLConnection::setUpHandle);
    if (!m_handle.easy)
        return false;
    CURL* easy = m_handle.easy;
    EasyHandleOptions& options = *m_handle.options;
    options.setOwner(this);
    auto timeout = std::chrono::duration_cast<std::chrono::milliseconds>(m_request->timeoutInterval()).count();
    options.setURL(easy, m_request->url()->absoluteString());
    options.setConnectTimeout(easy, static_cast<long>(std::max<long long>(1, timeout)));
    options.setVerifiesServer(easy, !m_trustAccepted);
    configureCredential();
    configureMethodAndBody();
    m_handle.headers->assign(m_request->allHTTPHeaderFields());
    options.setHeaders(easy, m_handle.headers->list());
    return true;
}

void URLConnection::configureCredential()
{
    const URLCredential* credential = m_credential && !m_credential->acceptsServerTrust() ? &*m_credential : nullptr;
    // libcurl keeps authentication state (a digest's nonce) beyond the options: such a handle is reset before
    // it goes back to the pool.
    m_handleAuthenticated = m_handleAuthenticated || credential;
    m_handle.options->setCredential(m_handle.easy, credential ? credential->user().c_str() : nullptr,
        credential ? credential->password().c_str() : nullptr,
        credential && m_authScheme == URLProtectionSpace::HTTPDigest ? CURLAUTH_DIGEST : CURLAUTH_BASIC);
}

void URLConnection::configureMethodAndBody()
{
    const std::string& method = m_request->httpMethod();
    const auto& body = m_request->httpBody();
    bool head = method == "HEAD";
    bool sendsBody = !head && (body || m_bodyStream || method == "POST" || method == "PUT" || method == "PATCH");
    static const char noBytes[] = "";
    const char* fields = nullptr;
    m_bodyLength = -1;
    if (sendsBody && m_bodyStream) {
        m_bodyLength = announcedLength(*m_request);
    } else if (sendsBody) {
        m_bodyLength = body ? static_cast<int64_t>(body->size()) : 0;
        fields = body && !body->empty() ? reinterpret_cast<const char*>(body->data()) : noBytes;
    }
    const char* customMethod = nullptr;
    if (method != "GET" && method != "HEAD" && method != "POST")
        customMethod = method.c_str();
    else if (method == "GET" && sendsBody)
        customMethod = "GET";
    m_handle.options->setMethodAndBody(
        m_handle.easy, { static_cast<curl_off_t>(m_bodyLength), fields, head, sendsBody, customMethod });
}

void URLConnection::restartAttempt()
{
    if (m_request->httpBodyStream() && m_bodyStreamUsed && m_request->httpBodyStream() == m_bodyStream) {
        std::shared_ptr<InputStream> fresh;
        if (auto delegate = listeningDelegate())
            fresh = delegate->needNewBodyStream(*this, *m_request);
        if (m_cancelled)
            return;
        if (!fresh) {
            fail(URLErrors::make(URLErrors::RequestBodyStreamExhausted, m_request->url(),
                "The request's body stream cannot be sent again."));
            return;
        }
        m_bodyStream->close();
        URLRequest again = *m_request;
        again.setHTTPBodyStream(std::move(fresh));
        replaceRequest(std::move(again));
    }
    beginAttempt();
}

// Transfer callbacks.

void URLConnection::transferCompleted(int curlCode)
{
    auto keep = shared_from_this();
    m_registered = false;
    if (m_cancelled) {
        end();
        return;
    }
    if (curlCode != CURLE_OK) {
        if (m_bodyError) {
            fail(*m_bodyError);
            return;
        }
        if (curlCode == CURLE_PEER_FAILED_VERIFICATION && !m_trustAccepted) {
            challengeServerTrust();
            return;
        }
        long sent = 0;
        bool requestSent = curl_easy_getinfo(m_handle.easy, CURLINFO_REQUEST_SIZE, &sent) == CURLE_OK && sent > 0;
        fail(requestSent ? URLErrors::fromCurlReadingReply(curlCode, m_request->url(), errorMessage())
                         : URLErrors::fromCurl(curlCode, m_request->url(), errorMessage()));
        return;
    }
    switch (m_hold) {
    case Hold::Redirect:
        followRedirect();
        break;
    case Hold::Challenge:
        challengeForCredentials();
        break;
    case Hold::None:
        finishLoading();
        break;
    }
}

NetworkTransfer::TimePoint URLConnection::idleDeadline() const
{
    return m_lastActivity
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(m_request->timeoutInterval());
}

void URLConnection::idleDeadlinePassed()
{
    auto keep = shared_from_this();
    m_registered = false;
    fail(URLErrors::make(base::Error::URLTimedOut, m_request->url(), "The request timed out."));
}

void URLConnection::transfersStopping()
{
    auto keep = shared_from_this();
    m_registered = false;
    fail(URLErrors::cancelled(m_request->url()));
}

// libcurl callbacks.

// Each callback's data is the handle's options, which name the connection using the handle.
size_t URLConnection::headerCallback(char* data, size_t size, size_t count, void* options)
{
    return connectionOf(options)->receiveHeaderLine(std::string_view(data, size * count));
}

size_t URLConnection::writeCallback(char* data, size_t size, size_t count, void* options)
{
    return connectionOf(options)->receiveData(data, size * count);
}

size_t URLConnection::readCallback(char* buffer, size_t size, size_t count, void* options)
{
    return connectionOf(options)->readBody(buffer, size * count);
}

int URLConnection::progressCallback(void* options, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded)
{
    auto* connection = connectionOf(options);
    connection->reportUpload(uploaded);
    return connection->m_cancelled ? 1 : 0;
}

size_t URLConnection::receiveHeaderLine(std::string_view line)
{
    CallbackScope scope(m_inCurlCallback);
    if (m_cancelled)
        return 0;
    touch();
    if (line.starts_with("HTTP/")) {
        // A new reply (after an interim one, or libcurl's own authentication round) replaces what was held.
        m_hold = Hold::None;
        m_heldBody.clear();
    }
    if (m_parser.feedLine(line))
        headerBlockCompleted();
    return m_cancelled ? 0 : line.size();
}

void URLConnection::headerBlockCompleted()
{
    auto status = m_parser.statusCode();
    if (!status || *status < 200 || m_responseDelivered)
        return;
    const auto& headers = m_parser.headers();
    if (isRedirectStatus(*status) && headers.contains("Location")) {
        m_hold = Hold::Redirect;
        return;
    }
    const std::string* challenge = headers.value("WWW-Authenticate");
    if (*status == 401 && challenge && AuthenticationChallengeHeader::parse(*challenge)) {
        m_hold = Hold::Challenge;
        return;
    }
    // Nothing reads this block's fields after its response is made.
    deliverResponse(std::make_shared<HTTPResponse>(*m_request->url(), *status, m_parser.takeHeaders()));
}

size_t URLConnection::receiveData(const char* data, size_t length)
{
    CallbackScope scope(m_inCurlCallback);
    if (m_cancelled)
        return 0;
    touch();
    if (m_hold != Hold::None)
        m_heldBody.insert(m_heldBody.end(), data, data + length);
    else if (auto delegate = listeningDelegate(); delegate && m_responseDelivered)
        delegate->didReceiveData(*this, reinterpret_cast<const uint8_t*>(data), length);
    return m_cancelled ? 0 : length;
}

size_t URLConnection::readBody(char* buffer, size_t capacity)
{
    CallbackScope scope(m_inCurlCallback);
    if (m_cancelled || !m_bodyStream)
        return CURL_READFUNC_ABORT;
    if (!m_bodyStream->hasBytesAvailable()) {
        m_bodyPaused = true;
        return CURL_READFUNC_PAUSE;
    }
    ptrdiff_t count = m_bodyStream->read(reinterpret_cast<uint8_t*>(buffer), capacity);
    if (count < 0) {
        m_bodyError = m_bodyStream->streamError().value_or(URLErrors::make(
            URLErrors::RequestBodyStreamExhausted, m_request->url(), "The request's body could not be read."));
        return CURL_READFUNC_ABORT;
    }
    touch();
    return static_cast<size_t>(count);
}

void URLConnection::reportUpload(curl_off_t uploaded)
{
    CallbackScope scope(m_inCurlCallback);
    if (m_cancelled || uploaded <= m_uploadReported)
        return;
    touch();
    int64_t sent = uploaded - m_uploadReported;
    m_uploadReported = uploaded;
    if (auto delegate = listeningDelegate())
        delegate->didSendBodyData(*this, sent, uploaded, m_bodyLength);
}

void URLConnection::streamHandleEvent(Stream& stream, StreamEvent event)
{
    if (&stream != m_bodyStream.get() || !m_bodyPaused || !m_registered)
        return;
    if (event == StreamEvent::HasBytesAvailable || event == StreamEvent::EndEncountered
        || event == StreamEvent::ErrorOccurred) {
        m_bodyPaused = false;
        auto keep = shared_from_this();
        MainLoopTransfers::shared().resumeTransfer(m_handle.easy);
    }
}

// Outcomes.

std::shared_ptr<const HTTPResponse> URLConnection::makeResponse() const
{
    return std::make_shared<HTTPResponse>(*m_request->url(), m_parser.statusCode().value_or(0), m_parser.headers());
}

void URLConnection::deliverResponse(const std::shared_ptr<const HTTPResponse>& response)
{
    m_responseDelivered = true;
    keepUsedCredential(response->statusCode());
    if (auto delegate = listeningDelegate())
        delegate->didReceiveResponse(*this, response);
}

void URLConnection::deliverHeldReply()
{
    m_hold = Hold::None;
    deliverResponse(makeResponse());
    if (auto delegate = listeningDelegate(); delegate && !m_heldBody.empty())
        delegate->didReceiveData(*this, m_heldBody.data(), m_heldBody.size());
    if (!m_cancelled)
        finishLoading();
}

void URLConnection::followRedirect()
{
    auto redirectResponse = makeResponse();
    const base::URL& current = *m_request->url();
    auto target = base::URL::parse(*m_parser.headers().value("Location"), current);
    if (!target || !isHTTPScheme(*target)) {
        deliverHeldReply();
        return;
    }
    if (current.scheme() == "https" && target->scheme() != "https") {
        fail(URLErrors::make(URLErrors::SecureConnectionRequired, target,
            "A secure connection was redirected to one that is not secure."));
        return;
    }
    if (++m_redirects > MaximumRedirects) {
        fail(URLErrors::make(URLErrors::HTTPTooManyRedirects, m_request->url(), "Too many HTTP redirects."));
        return;
    }
    URLRequest next = *m_request;
    next.setURL(target);
    int status = redirectResponse->statusCode();
    const std::string& method = m_request->httpMethod();
    if ((status == 303 && method != "HEAD") || ((status == 301 || status == 302) && method == "POST")) {
        next.setHTTPMethod("GET");
        next.setHTTPBody(std::nullopt);
        next.setValue(std::nullopt, "Content-Type");
        next.setValue(std::nullopt, "Content-Length");
    }
    // Credentials, the session cookie and the body meant for one server are not handed to another.
    if (target->host() != current.host() || portOf(*target) != portOf(current)
        || target->scheme() != current.scheme()) {
        if ((next.httpBody() && !next.httpBody()->empty()) || next.httpBodyStream()) {
            fail(URLErrors::make(URLErrors::RedirectWouldResendBody, target,
                "The server redirected the request to another server, which would have been sent its body again."));
            return;
        }
        next.setValue(std::nullopt, "Authorization");
        next.setValue(std::nullopt, "Cookie");
        m_credential.reset();
    }
    std::optional<URLRequest> chosen = next;
    if (auto delegate = listeningDelegate())
        chosen = delegate->willSendRequest(*this, std::move(next), redirectResponse);
    if (m_cancelled)
        return;
    if (!chosen || !chosen->url()) {
        deliverHeldReply();
        return;
    }
    replaceRequest(std::move(*chosen));
    restartAttempt();
}

void URLConnection::challengeForCredentials()
{
    auto failureResponse = makeResponse();
    auto challenge = AuthenticationChallengeHeader::parse(*m_parser.headers().value("WWW-Authenticate"));
    const base::URL& url = *m_request->url();
    URLProtectionSpace space { url.host(), portOf(url), lowerScheme(url), challenge->realm, challenge->method };
    if (auto delegate = listeningDelegate();
        delegate && delegate->canAuthenticateAgainstProtectionSpace(*this, space)) {
        issueChallenge(space, m_authFailures, failureResponse);
        return;
    }
    if (m_cancelled)
        return;
    auto delegate = listeningDelegate();
    bool storeAllowed = delegate && delegate->shouldUseCredentialStorage(*this);
    if (m_authFailures == 0 && storeAllowed) {
        if (auto stored = URLCredentialStorage::shared().defaultCredential(space)) {
            m_credentialSpace = space;
            challengeAnswered(URLAuthenticationChallenge::Disposition::UseCredential, stored);
            return;
        }
    }
    deliverHeldReply();
}

void URLConnection::challengeServerTrust()
{
    const base::URL& url = *m_request->url();
    URLProtectionSpace space { url.host(), portOf(url), lowerScheme(url), {}, URLProtectionSpace::ServerTrust };
    if (auto delegate = listeningDelegate();
        delegate && delegate->canAuthenticateAgainstProtectionSpace(*this, space)) {
        issueChallenge(space, 0, nullptr);
        return;
    }
    if (!m_cancelled)
        fail(URLErrors::fromCurl(CURLE_PEER_FAILED_VERIFICATION, m_request->url(), errorMessage()));
}

void URLConnection::issueChallenge(
    const URLProtectionSpace& space, int previousFailureCount, std::shared_ptr<const HTTPResponse> failureResponse)
{
    m_awaitingAnswer = true;
    m_credentialSpace = space;
    m_keepAlive = shared_from_this();
    auto challenge
        = std::make_shared<URLAuthenticationChallenge>(space, previousFailureCount, std::move(failureResponse),
            [weak = weak_from_this()](
                URLAuthenticationChallenge::Disposition disposition, std::optional<URLCredential> credential) {
                base::RunLoop::main().post([weak, disposition, credential = std::move(credential)] {
                    if (auto self = weak.lock())
                        self->challengeAnswered(disposition, credential);
                });
            });
    if (auto delegate = listeningDelegate())
        delegate->didReceiveAuthenticationChallenge(*this, challenge);
}

void URLConnection::challengeAnswered(
    URLAuthenticationChallenge::Disposition disposition, std::optional<URLCredential> credential)
{
    auto keep = shared_from_this();
    m_awaitingAnswer = false;
    if (m_cancelled || m_ended)
        return;
    bool serverTrust = m_credentialSpace.authenticationMethod == URLProtectionSpace::ServerTrust;
    using Disposition = URLAuthenticationChallenge::Disposition;
    if (disposition == Disposition::Cancel) {
        fail(URLErrors::make(base::Error::URLUserCancelledAuthentication, m_request->url(), "cancelled"));
        return;
    }
    if (serverTrust) {
        if (disposition == Disposition::UseCredential && credential && credential->acceptsServerTrust()) {
            m_trustAccepted = true;
            restartAttempt();
        } else {
            fail(URLErrors::fromCurl(CURLE_PEER_FAILED_VERIFICATION, m_request->url(), errorMessage()));
        }
        return;
    }
    if (disposition == Disposition::UseCredential && credential && !credential->acceptsServerTrust()) {
        m_credential = credential;
        m_authScheme = m_credentialSpace.authenticationMethod;
        ++m_authFailures;
        restartAttempt();
        return;
    }
    deliverHeldReply();
}

// A credential that got past the server is kept in the shared store when the owner allows it.
void URLConnection::keepUsedCredential(int statusCode)
{
    if (!m_credential || statusCode == 401 || m_credential->persistence() == URLCredential::Persistence::None)
        return;
    if (auto delegate = listeningDelegate(); delegate && delegate->shouldUseCredentialStorage(*this))
        URLCredentialStorage::shared().setCredential(*m_credential, m_credentialSpace);
}

void URLConnection::finishLoading()
{
    if (!m_responseDelivered) {
        fail(URLErrors::make(base::Error::URLBadServerResponse, m_request->url(), "The server returned no reply."));
        return;
    }
    auto keep = shared_from_this();
    m_ended = true;
    if (auto delegate = listeningDelegate())
        delegate->didFinishLoading(*this);
    end();
}

void URLConnection::fail(const base::Error& error)
{
    auto keep = shared_from_this();
    m_ended = true;
    if (auto delegate = listeningDelegate())
        delegate->didFailWithError(*this, error);
    end();
}

// Lets go of the delegate, the body stream and the connection's hold on itself.
void URLConnection::end()
{
    m_ended = true;
    if (m_bodyStream) {
        m_bodyStream->unschedule();
        m_bodyStream->close();
        m_bodyStream = nullptr;
    }
    m_delegate = nullptr;
    auto released = std::move(m_keepAlive);
}

} // namespace net
