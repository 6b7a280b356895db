#include "networking/http/URLConnectionOperation.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/text/UTF8.h"
#include "net/auth/URLCredentialStorage.h"
#include "net/http/URLErrors.h"
#include "net/streams/MemoryOutputStream.h"

#include <algorithm>
#include <cstdio>

namespace networking {

namespace {

    bool stateChangeAllowed(URLConnectionOperation::State from, URLConnectionOperation::State to, bool cancelled)
    {
        using State = URLConnectionOperation::State;
        switch (from) {
        case State::Ready:
            return to == State::Paused || to == State::Executing || (to == State::Finished && cancelled);
        case State::Executing:
            return to == State::Paused || to == State::Finished;
        case State::Paused:
            return to == State::Ready;
        case State::Finished:
            return false;
        }
        return true;
    }

    // Whether a charset name is plainly "utf-8", in any case: nearly every reply names it, and it needs no
    // look-up in the table of encodings.
    bool namesUTF8(std::string_view name)
    {
        constexpr std::string_view utf8 = "utf-8";
        return name.size() == utf8.size() && std::equal(name.begin(), name.end(), utf8.begin(), [](char c, char lower) {
            return (c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c) == lower;
        });
    }

    // The failures of a chunk and the progress report are made out of line, so that the common path of a
    // chunk (checked, written, counted) stays short.
    [[gnu::cold, gnu::noinline]] base::Error bodyTooLarge(const std::optional<base::URL>& url, size_t maximum)
    {
        return net::URLErrors::make(net::URLErrors::DataLengthExceedsMaximum, url,
            "The reply's body is larger than the " + std::to_string(maximum) + " bytes kept in memory.");
    }

    [[gnu::cold, gnu::noinline]] base::Error bodyNotWritten(
        const std::optional<base::URL>& url, const net::OutputStream& stream)
    {
        auto underlying = stream.streamError();
        return net::URLErrors::make(base::Error::URLCannotWriteToFile, url, "The reply's body could not be written.",
            underlying ? std::make_shared<const base::Error>(*underlying) : nullptr);
    }

    [[gnu::noinline]] void reportProgress(
        const URLConnectionOperation::ProgressBlock& block, size_t length, int64_t total, int64_t expected)
    {
        base::DispatchQueue::main()->async(
            [block, length, total, expected] { block(static_cast<int64_t>(length), total, expected); });
    }

} // namespace

URLConnectionOperation::URLConnectionOperation(net::URLRequest request)
    : m_request(std::make_shared<const net::URLRequest>(std::move(request)))
    , m_outputStream(net::OutputStream::toMemory())
{
}

URLConnectionOperation::~URLConnectionOperation()
{
    if (m_backgroundTask != net::BackgroundTask::Invalid)
        net::BackgroundTask::end(m_backgroundTask);
    if (m_outputStream)
        m_outputStream->close();
}

std::shared_ptr<URLConnectionOperation> URLConnectionOperation::sharedSelf()
{
    return std::static_pointer_cast<URLConnectionOperation>(shared_from_this());
}

std::string URLConnectionOperation::keyPathFromState(State state)
{
    switch (state) {
    case State::Paused:
        return "isPaused";
    case State::Ready:
        return std::string(isReadyKey);
    case State::Executing:
        return std::string(isExecutingKey);
    case State::Finished:
        return std::string(isFinishedKey);
    }
    return "state";
}

// States.

void URLConnectionOperation::setState(State state)
{
    State old = m_state.load();
    if (!stateChangeAllowed(old, state, isCancelled()))
        return;
    std::lock_guard guard(m_lock);
    std::string newKey = keyPathFromState(state);
    std::string oldKey = keyPathFromState(old);
    willChangeValueForKey(newKey);
    willChangeValueForKey(oldKey);
    m_state = state;
    // Posted before the change is announced, as the announcement runs the completion block: the finish
    // notification then reaches the main queue ahead of the caller's success or failure block.
    if (state == State::Finished)
        postNotification(DidFinishNotification);
    didChangeValueForKey(oldKey);
    didChangeValueForKey(newKey);
}

bool URLConnectionOperation::isReady() const { return state() == State::Ready && base::Operation::isReady(); }

bool URLConnectionOperation::isExecuting() const { return state() == State::Executing; }

bool URLConnectionOperation::isFinished() const { return state() == State::Finished; }

void URLConnectionOperation::start()
{
    {
        std::lock_guard guard(m_lock);
        if (!isReady())
            return;
        setState(State::Executing);
        postNotification(DidStartNotification);
    }
    // The main thread (the client's queue) sends the request at once; another thread leaves it to the main loop.
    if (base::isMainThread())
        operationDidStart();
    else
        base::RunLoop::main().post([self = sharedSelf()] { self->operationDidStart(); });
}

void URLConnectionOperation::operationDidStart()
{
    bool endsAtOnce = false;
    std::shared_ptr<net::URLConnection> connection;
    {
        std::lock_guard guard(m_lock);
        // A pause before this ran and a resume post a second start: only one of them may connect, and none
        // while paused, or two connections would write the body from the same offset.
        if (m_connection || !isExecuting())
            return;
        if (isCancelled()) {
            // Cancelled before its start: it ends here, with the cancellation as its error.
            if (!m_error)
                m_error = net::URLErrors::cancelled(m_request->url());
            endsAtOnce = true;
        } else if (m_requestError) {
            m_error = m_requestError;
            endsAtOnce = true;
        } else {
            m_connection = net::URLConnection::make(m_request, sharedSelf());
            connection = m_connection;
        }
    }
    // Decided under the lock: a cancellation that comes once the connection exists ends it through
    // cancelConnection, with its error; finishing here as well would report it without one.
    if (endsAtOnce)
        finish();
    // Begun outside the lock, as a connection that cannot begin reports it at once. A pause that detached
    // the connection meanwhile has posted its cancellation, which ends it.
    if (connection)
        connection->beginNow();
}

void URLConnectionOperation::finish()
{
    // The completion block runs within setState and may let go of the last other hold on the operation.
    auto keep = sharedSelf();
    Block runHere;
    {
        std::lock_guard guard(m_lock);
        // The completion block may run after the queue and the connection have let go of the operation.
        if (m_completionRunsOnFinishingThread)
            runHere = takeCompletionBlock();
        else if (completionBlock())
            m_keptUntilCompleted = sharedSelf();
    }
    setState(State::Finished);
    if (runHere)
        runHere();
}

void URLConnectionOperation::cancel()
{
    std::lock_guard guard(m_lock);
    if (isFinished() || isCancelled())
        return;
    base::Operation::cancel();
    base::RunLoop::main().post([self = sharedSelf()] { self->cancelConnection(); });
}

void URLConnectionOperation::cancelConnection()
{
    std::shared_ptr<net::URLConnection> connection;
    {
        std::lock_guard guard(m_lock);
        // A transfer that ended before the cancellation got here keeps its outcome.
        if (isFinished())
            return;
        m_error = net::URLErrors::cancelled(m_request->url());
        connection = m_connection;
    }
    if (connection) {
        connection->cancel();
        didFailWithError(*connection, *m_error);
    }
}

void URLConnectionOperation::pause()
{
    if (isPaused() || isFinished() || isCancelled())
        return;
    std::lock_guard guard(m_lock);
    if (isExecuting()) {
        if (auto connection = std::move(m_connection))
            base::RunLoop::main().post([connection] { connection->cancel(); });
        postNotification(DidFinishNotification);
    }
    setState(State::Paused);
}

void URLConnectionOperation::resume()
{
    if (!isPaused())
        return;
    std::lock_guard guard(m_lock);
    setState(State::Ready);
    start();
}

void URLConnectionOperation::setCompletionBlockRunOnFinishingThread(Block block)
{
    // Kept as it is: the finish takes it out and runs it once, so it needs none of the wrapping below.
    std::lock_guard guard(m_lock);
    m_completionRunsOnFinishingThread = block != nullptr;
    base::Operation::setCompletionBlock(std::move(block));
}

void URLConnectionOperation::setCompletionBlock(Block block)
{
    std::lock_guard guard(m_lock);
    m_completionRunsOnFinishingThread = false;
    if (!block) {
        base::Operation::setCompletionBlock(nullptr);
        return;
    }
    // Shared, as the finish takes a copy of the block to run: a copy then costs no copies of what it holds.
    base::Operation::setCompletionBlock(
        [weak = weak_from_this(), block = std::make_shared<const Block>(std::move(block))] {
            (*block)();
            if (auto self = std::static_pointer_cast<URLConnectionOperation>(weak.lock())) {
                std::shared_ptr<URLConnectionOperation> released;
                {
                    std::lock_guard guard(self->m_lock);
                    self->base::Operation::setCompletionBlock(nullptr);
                    released = std::move(self->m_keptUntilCompleted);
                }
            }
        });
}

void URLConnectionOperation::postNotification(const char* name)
{
    // Nobody listening (the usual case outside the application's activity indicator): no main-loop task.
    if (!base::NotificationCenter::defaultCenter().hasObservers(name))
        return;
    base::DispatchQueue::main()->async(
        [name, self = sharedSelf()] { base::NotificationCenter::defaultCenter().post(name, self); });
}

// Results.

net::URLRequest URLConnectionOperation::request() const
{
    std::lock_guard guard(m_lock);
    return *m_request;
}

void URLConnectionOperation::setRequest(net::URLRequest request)
{
    std::lock_guard guard(m_lock);
    m_request = std::make_shared<const net::URLRequest>(std::move(request));
}

std::shared_ptr<const net::HTTPResponse> URLConnectionOperation::response() const
{
    std::lock_guard guard(m_lock);
    return m_response;
}

std::optional<base::Error> URLConnectionOperation::error() const
{
    std::lock_guard guard(m_lock);
    return m_error;
}

std::optional<base::Data> URLConnectionOperation::responseData() const
{
    auto body = responseBody();
    return body ? std::optional(*body) : std::nullopt;
}

std::shared_ptr<const base::Data> URLConnectionOperation::responseBody() const
{
    std::lock_guard guard(m_lock);
    return m_responseData;
}

int64_t URLConnectionOperation::totalBytesRead() const
{
    std::lock_guard guard(m_lock);
    return m_totalBytesRead;
}

void URLConnectionOperation::setRequestError(base::Error error)
{
    std::lock_guard guard(m_lock);
    m_requestError = std::move(error);
}

std::optional<std::string_view> URLConnectionOperation::responseString() const
{
    std::lock_guard guard(m_lock);
    if (m_responseString || !m_response || !m_responseData)
        return m_responseString;
    auto encoding = responseStringEncoding();
    std::string_view bytes(reinterpret_cast<const char*>(m_responseData->data()), m_responseData->size());
    if (encoding == base::TextEncoding::UTF8) {
        if (base::utf8::isValid(bytes))
            m_responseString = bytes;
    } else if (auto text = base::TextEncoding::decode(std::span(*m_responseData), encoding)) {
        m_convertedResponseString = std::move(*text);
        m_responseString = m_convertedResponseString;
    }
    return m_responseString;
}

base::TextEncoding::Code URLConnectionOperation::responseStringEncoding() const
{
    std::lock_guard guard(m_lock);
    if (m_responseStringEncoding == 0 && m_response) {
        m_responseStringEncoding = base::TextEncoding::UTF8;
        if (const auto& name = m_response->textEncodingName(); name && !namesUTF8(*name)) {
            if (auto code = base::TextEncoding::fromIANACharsetName(*name);
                code && base::TextEncoding::isSupported(*code))
                m_responseStringEncoding = *code;
        }
    }
    return m_responseStringEncoding;
}

// Streams, credentials and settings.

std::shared_ptr<net::OutputStream> URLConnectionOperation::outputStream() const
{
    std::lock_guard guard(m_lock);
    return m_outputStream;
}

void URLConnectionOperation::setOutputStream(std::shared_ptr<net::OutputStream> stream)
{
    std::lock_guard guard(m_lock);
    if (stream == m_outputStream)
        return;
    willChangeValueForKey("outputStream");
    if (m_outputStream)
        m_outputStream->close();
    m_outputStream = std::move(stream);
    m_bodyInMemory = false;
    didChangeValueForKey("outputStream");
}

size_t URLConnectionOperation::maximumBodyBytesInMemory() const
{
    std::lock_guard guard(m_lock);
    return m_maximumBodyBytesInMemory;
}

void URLConnectionOperation::setMaximumBodyBytesInMemory(size_t bytes)
{
    std::lock_guard guard(m_lock);
    m_maximumBodyBytesInMemory = bytes;
}

std::shared_ptr<net::InputStream> URLConnectionOperation::inputStream() const
{
    std::lock_guard guard(m_lock);
    return m_request->httpBodyStream();
}

void URLConnectionOperation::setInputStream(std::shared_ptr<net::InputStream> stream)
{
    std::lock_guard guard(m_lock);
    willChangeValueForKey("inputStream");
    net::URLRequest changed = *m_request;
    changed.setHTTPBodyStream(std::move(stream));
    m_request = std::make_shared<const net::URLRequest>(std::move(changed));
    didChangeValueForKey("inputStream");
}

std::optional<net::URLCredential> URLConnectionOperation::credential() const
{
    std::lock_guard guard(m_lock);
    return m_credential;
}

void URLConnectionOperation::setCredential(std::optional<net::URLCredential> credential)
{
    std::lock_guard guard(m_lock);
    m_credential = std::move(credential);
}

bool URLConnectionOperation::shouldUseCredentialStorage() const
{
    std::lock_guard guard(m_lock);
    return m_shouldUseCredentialStorage;
}

void URLConnectionOperation::setShouldUseCredentialStorage(bool use)
{
    std::lock_guard guard(m_lock);
    m_shouldUseCredentialStorage = use;
}

bool URLConnectionOperation::allowsInvalidSSLCertificate() const
{
    std::lock_guard guard(m_lock);
    return m_allowsInvalidSSLCertificate;
}

void URLConnectionOperation::setAllowsInvalidSSLCertificate(bool allows)
{
    std::lock_guard guard(m_lock);
    m_allowsInvalidSSLCertificate = allows;
}

base::DictionaryRef URLConnectionOperation::userInfo() const
{
    std::lock_guard guard(m_lock);
    return m_userInfo;
}

void URLConnectionOperation::setUserInfo(base::DictionaryRef userInfo)
{
    std::lock_guard guard(m_lock);
    m_userInfo = std::move(userInfo);
}

net::BackgroundTask::Identifier URLConnectionOperation::backgroundTaskIdentifier() const
{
    std::lock_guard guard(m_lock);
    return m_backgroundTask;
}

void URLConnectionOperation::setShouldExecuteAsBackgroundTaskWithExpirationHandler(std::function<void()> handler)
{
    std::lock_guard guard(m_lock);
    if (m_backgroundTask != net::BackgroundTask::Invalid)
        return;
    m_backgroundTask = net::BackgroundTask::begin([weak = weak_from_this(), handler = std::move(handler)] {
        if (handler)
            handler();
        if (auto self = std::static_pointer_cast<URLConnectionOperation>(weak.lock())) {
            self->cancel();
            std::lock_guard guard(self->m_lock);
            net::BackgroundTask::end(self->m_backgroundTask);
            self->m_backgroundTask = net::BackgroundTask::Invalid;
        }
    });
}

void URLConnectionOperation::setUploadProgressBlock(ProgressBlock block)
{
    std::lock_guard guard(m_lock);
    m_uploadProgress = std::move(block);
}

void URLConnectionOperation::setDownloadProgressBlock(ProgressBlock block)
{
    std::lock_guard guard(m_lock);
    m_downloadProgress = std::move(block);
}

void URLConnectionOperation::setReceivedDataBlock(ReceivedDataBlock block)
{
    std::lock_guard guard(m_lock);
    m_receivedData = std::move(block);
}

void URLConnectionOperation::setAuthenticationAgainstProtectionSpaceBlock(
    AuthenticationAgainstProtectionSpaceBlock block)
{
    std::lock_guard guard(m_lock);
    m_authenticationAgainstProtectionSpace = std::move(block);
}

void URLConnectionOperation::setAuthenticationChallengeBlock(AuthenticationChallengeBlock block)
{
    std::lock_guard guard(m_lock);
    m_authenticationChallenge = std::move(block);
}

void URLConnectionOperation::setRedirectResponseBlock(RedirectResponseBlock block)
{
    std::lock_guard guard(m_lock);
    m_redirectResponse = std::move(block);
}

std::shared_ptr<URLConnectionOperation> URLConnectionOperation::makeOperationOfSameKind(net::URLRequest request) const
{
    return std::make_shared<URLConnectionOperation>(std::move(request));
}

std::shared_ptr<URLConnectionOperation> URLConnectionOperation::copy() const
{
    std::lock_guard guard(m_lock);
    auto copied = makeOperationOfSameKind(*m_request);
    copied->m_uploadProgress = m_uploadProgress;
    copied->m_downloadProgress = m_downloadProgress;
    copied->m_authenticationAgainstProtectionSpace = m_authenticationAgainstProtectionSpace;
    copied->m_authenticationChallenge = m_authenticationChallenge;
    copied->m_redirectResponse = m_redirectResponse;
    copied->m_allowsInvalidSSLCertificate = m_allowsInvalidSSLCertificate;
    return copied;
}

std::string URLConnectionOperation::description() const
{
    std::lock_guard guard(m_lock);
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return std::string("<URLConnectionOperation: ") + address + ", state: " + keyPathFromState(state())
        + ", cancelled: " + (isCancelled() ? "YES" : "NO") + " request: " + m_request->description()
        + ", response: " + (m_response ? m_response->description() : std::string("(null)")) + ">";
}

// The connection's callbacks.

bool URLConnectionOperation::canAuthenticateAgainstProtectionSpace(
    net::URLConnection& connection, const net::URLProtectionSpace& space)
{
    std::unique_lock guard(m_lock);
    bool serverTrust = space.authenticationMethod == net::URLProtectionSpace::ServerTrust;
    if (m_allowsInvalidSSLCertificate && serverTrust)
        return true;
    if (auto block = m_authenticationAgainstProtectionSpace) {
        guard.unlock();
        return block(connection, space);
    }
    return !serverTrust && space.authenticationMethod != net::URLProtectionSpace::ClientCertificate;
}

void URLConnectionOperation::didReceiveAuthenticationChallenge(
    net::URLConnection& connection, const std::shared_ptr<net::URLAuthenticationChallenge>& challenge)
{
    std::unique_lock guard(m_lock);
    const auto& space = challenge->protectionSpace();
    if (m_allowsInvalidSSLCertificate && space.authenticationMethod == net::URLProtectionSpace::ServerTrust) {
        challenge->useCredential(net::URLCredential::acceptingServerTrust());
        return;
    }
    if (auto block = m_authenticationChallenge) {
        guard.unlock();
        block(connection, challenge);
        return;
    }
    if (challenge->previousFailureCount() != 0) {
        challenge->continueWithoutCredential();
        return;
    }
    std::optional<net::URLCredential> credential;
    const auto& url = m_request->url();
    std::string user = url ? url->user() : std::string();
    std::string password = url ? url->password() : std::string();
    if (!user.empty() && !password.empty()) {
        credential = net::URLCredential::withUser(user, password, net::URLCredential::Persistence::None);
    } else {
        auto& store = net::URLCredentialStorage::shared();
        if (!user.empty()) {
            auto stored = store.credentials(space);
            if (auto found = stored.find(user); found != stored.end())
                credential = found->second;
        } else {
            credential = store.defaultCredential(space);
        }
        if (!credential)
            credential = m_credential;
    }
    if (credential)
        challenge->useCredential(*credential);
    else
        challenge->continueWithoutCredential();
}

bool URLConnectionOperation::shouldUseCredentialStorage(net::URLConnection&) { return shouldUseCredentialStorage(); }

std::shared_ptr<net::InputStream> URLConnectionOperation::needNewBodyStream(
    net::URLConnection&, const net::URLRequest& request)
{
    return request.httpBodyStream() ? request.httpBodyStream()->copy() : nullptr;
}

std::optional<net::URLRequest> URLConnectionOperation::willSendRequest(net::URLConnection& connection,
    net::URLRequest request, const std::shared_ptr<const net::HTTPResponse>& redirectResponse)
{
    RedirectResponseBlock block;
    {
        std::lock_guard guard(m_lock);
        block = m_redirectResponse;
    }
    return block ? block(connection, std::move(request), redirectResponse) : std::optional(std::move(request));
}

void URLConnectionOperation::didSendBodyData(net::URLConnection&, int64_t written, int64_t total, int64_t expected)
{
    std::lock_guard guard(m_lock);
    if (auto block = m_uploadProgress)
        base::DispatchQueue::main()->async([block, written, total, expected] { block(written, total, expected); });
}

void URLConnectionOperation::didReceiveResponse(
    net::URLConnection& connection, const std::shared_ptr<const net::HTTPResponse>& response)
{
    std::unique_lock guard(m_lock);
    if (m_connection.get() != &connection)
        return;
    m_response = response;
    int64_t length = response->expectedContentLength();
    // A body announced longer than memory keeps is refused before any of it is read (a reply to HEAD announces
    // a body that never comes).
    if (m_bodyInMemory && length > 0 && static_cast<uint64_t>(length) > m_maximumBodyBytesInMemory
        && m_request->httpMethod() != "HEAD") [[unlikely]] {
        base::Error failure = bodyTooLarge(m_request->url(), m_maximumBodyBytesInMemory);
        guard.unlock();
        connection.cancel();
        didFailWithError(connection, failure);
        return;
    }
    m_outputStream->open();
    // The body kept in memory goes to the operation's own memory stream (m_bodyInMemory says so).
    if (m_bodyInMemory && length > 0)
        static_cast<net::MemoryOutputStream&>(*m_outputStream).expectLength(static_cast<uint64_t>(length));
}

void URLConnectionOperation::didReceiveData(net::URLConnection& connection, const uint8_t* bytes, size_t length)
{
    // Checked and written under one hold of the lock: a pause detaches the connection and reads the length
    // kept under it too, so a chunk is either kept before the pause or asked for again on resume, never both.
    std::unique_lock guard(m_lock);
    if (m_connection.get() != &connection)
        return;
    bool tooLarge = m_bodyInMemory && static_cast<uint64_t>(m_totalBytesRead) + length > m_maximumBodyBytesInMemory;
    if (tooLarge) [[unlikely]] {
        base::Error failure = bodyTooLarge(m_request->url(), m_maximumBodyBytesInMemory);
        guard.unlock();
        connection.cancel();
        didFailWithError(connection, failure);
        return;
    }
    bool written = m_outputStream->hasSpaceAvailable() && m_outputStream->write(bytes, length) == ptrdiff_t(length);
    if (!written) [[unlikely]] {
        // A chunk that cannot be kept would leave a body with a hole that passes for a whole one.
        base::Error failure = bodyNotWritten(m_request->url(), *m_outputStream);
        guard.unlock();
        connection.cancel();
        didFailWithError(connection, failure);
        return;
    }
    m_totalBytesRead += static_cast<int64_t>(length);
    if (m_receivedData)
        m_receivedData(bytes, length);
    // The progress block runs on the main queue; without one there is nothing to wake the main thread for.
    if (m_downloadProgress)
        reportProgress(
            m_downloadProgress, length, m_totalBytesRead, m_response ? m_response->expectedContentLength() : -1);
}

void URLConnectionOperation::didFinishLoading(net::URLConnection& connection)
{
    connectionEnded(connection, std::nullopt);
}

void URLConnectionOperation::didFailWithError(net::URLConnection& connection, const base::Error& error)
{
    connectionEnded(connection, error);
}

void URLConnectionOperation::connectionEnded(const net::URLConnection& ended, std::optional<base::Error> failure)
{
    std::shared_ptr<net::URLConnection> connection;
    {
        // A connection that a pause detached meanwhile ends nothing: the operation waits for its resume.
        std::lock_guard guard(m_lock);
        if (m_connection.get() != &ended)
            return;
        if (failure)
            m_error = std::move(failure);
        else if (auto body = m_outputStream->takeDataWrittenToMemory())
            m_responseData = std::make_shared<const base::Data>(std::move(*body));
        m_outputStream->close();
        connection = std::move(m_connection);
    }
    finish();
}

} // namespace networking
