// networking::URLConnectionOperation: one URL request run as an asynchronous operation. It owns the request,
// the connection (which runs on the main run loop), the response and the body, and moves through ready (1),
// executing (2), paused (-1) and finished (3); operation queues follow it through the state announcements.
// It posts the start and finish notifications on the main queue (only while anyone observes them), reports
// progress through optional blocks on the main queue (the byte count itself is kept under the lock), and ends
// with its completion block (on the main thread, which finishes it). Cancelling gives the URL domain's
// cancellation error (-999). The body is collected in memory unless another output stream is set; a chunk
// that cannot be written fails the operation rather than being dropped.
//
// Threads: any thread may call its methods; start() runs on the thread whose queue starts it (the main thread
// for the client's calls, which begins the connection at once; another thread posts that to the main run
// loop); the connection callbacks, the body's writing, the finish and the completion block run on the main
// thread, in turns of the main loop; progress blocks and the notifications run on the main queue. The body is set once
// at the finish and shared from then on (responseBody). A recursive lock guards the state and the results.
//
//   auto operation = std::make_shared<networking::URLConnectionOperation>(request);
//   operation->setCompletionBlock([weak = std::weak_ptr(operation)] { if (auto op = weak.lock())
//   use(op->responseData()); }); queue->addOperation(operation);
#pragma once

#include "base/loop/Operation.h"
#include "base/text/TextEncoding.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "net/auth/URLCredential.h"
#include "net/http/URLRequest.h"
#include "net/loading/BackgroundTask.h"
#include "net/loading/URLConnection.h"
#include "net/streams/OutputStream.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace networking {

class URLConnectionOperation : public base::Operation, public net::URLConnectionDelegate {
public:
    enum class State : int16_t { Paused = -1, Ready = 1, Executing = 2, Finished = 3 };

    // Posted on the main queue with the operation as object.
    static constexpr const char* DidStartNotification = "org.lumet.networking.operation.start";
    static constexpr const char* DidFinishNotification = "org.lumet.networking.operation.finish";

    using ProgressBlock = std::function<void(int64_t bytes, int64_t totalBytes, int64_t totalBytesExpected)>;
    using ReceivedDataBlock = std::function<void(const uint8_t* bytes, size_t length)>;
    using AuthenticationAgainstProtectionSpaceBlock
        = std::function<bool(net::URLConnection&, const net::URLProtectionSpace&)>;
    using AuthenticationChallengeBlock
        = std::function<void(net::URLConnection&, const std::shared_ptr<net::URLAuthenticationChallenge>&)>;
    using RedirectResponseBlock = std::function<std::optional<net::URLRequest>(
        net::URLConnection&, net::URLRequest, const std::shared_ptr<const net::HTTPResponse>&)>;

    explicit URLConnectionOperation(net::URLRequest request);
    ~URLConnectionOperation() override;

    // The operation contract.
    void start() override;
    void cancel() override;
    bool isReady() const override;
    bool isExecuting() const override;
    bool isFinished() const override;
    bool isConcurrent() const override { return true; }
    // The block runs once and is then released. When the main thread finishes the operation (as it does for
    // every transfer), the block runs on a worker thread, so that it never holds up the main loop.
    void setCompletionBlock(Block block) override;

    State state() const { return m_state.load(); }
    bool isPaused() const { return state() == State::Paused; }
    // Stops the transfer of an executing operation (posting the finish notification) and parks it until resume.
    virtual void pause();
    void resume();

    net::URLRequest request() const;
    std::shared_ptr<const net::HTTPResponse> response() const;
    // The transfer's failure or the cancellation; subclasses add their own.
    [[nodiscard]] virtual std::optional<base::Error> error() const;
    [[nodiscard]] std::optional<base::Data> responseData() const;
    // The body kept in memory, shared rather than copied: set once, when the operation finishes.
    std::shared_ptr<const base::Data> responseBody() const;
    // The body as text in responseStringEncoding(); nothing until there are a response and a body, or when
    // the body is not valid in that encoding (tried again at the next call). A body in UTF-8 is its own text
    // once checked, read where it lies; one in another charset is converted once and kept. The view holds as
    // long as the operation, so a large reply is not copied, neither for its text nor for each reader.
    [[nodiscard]] std::optional<std::string_view> responseString() const;
    virtual base::TextEncoding::Code responseStringEncoding() const;
    int64_t totalBytesRead() const;

    // An error found while the request was built (a body that could not be written, a path that is no URL):
    // the operation then sends nothing and finishes with this error once started.
    void setRequestError(base::Error error);

    std::shared_ptr<net::OutputStream> outputStream() const;
    // A stream set here (a file for a download) takes the body without a size limit.
    void setOutputStream(std::shared_ptr<net::OutputStream> stream);
    // The largest body kept in memory (when no output stream was set); a longer reply fails with
    // net::URLErrors::DataLengthExceedsMaximum instead of growing without bound, before any of its body is read
    // when its "Content-Length" says so.
    static constexpr size_t DefaultMaximumBodyBytesInMemory = size_t(64) << 20;
    size_t maximumBodyBytesInMemory() const;
    void setMaximumBodyBytesInMemory(size_t bytes);
    std::shared_ptr<net::InputStream> inputStream() const;
    // Replaces the request by a copy whose body is the stream.
    void setInputStream(std::shared_ptr<net::InputStream> stream);

    [[nodiscard]] std::optional<net::URLCredential> credential() const;
    void setCredential(std::optional<net::URLCredential> credential);
    bool shouldUseCredentialStorage() const;
    void setShouldUseCredentialStorage(bool use);
    bool allowsInvalidSSLCertificate() const;
    void setAllowsInvalidSSLCertificate(bool allows);
    base::DictionaryRef userInfo() const;
    void setUserInfo(base::DictionaryRef userInfo);

    net::BackgroundTask::Identifier backgroundTaskIdentifier() const;
    // Asks for time to finish in the background (once); see net::BackgroundTask for why it never runs out.
    void setShouldExecuteAsBackgroundTaskWithExpirationHandler(std::function<void()> handler);

    void setUploadProgressBlock(ProgressBlock block);
    void setDownloadProgressBlock(ProgressBlock block);
    // Sees each piece of the body once it is kept, in order, on the main thread (which runs the connection) and
    // under the operation's lock, before the next piece arrives: a caller that must have the bytes somewhere
    // as soon as they come (on disk) writes them there. It must not block; copy() does not carry it over.
    void setReceivedDataBlock(ReceivedDataBlock block);
    void setAuthenticationAgainstProtectionSpaceBlock(AuthenticationAgainstProtectionSpaceBlock block);
    void setAuthenticationChallengeBlock(AuthenticationChallengeBlock block);
    void setRedirectResponseBlock(RedirectResponseBlock block);

    // A new operation of the same kind for the same request, with the same blocks and certificate rule.
    std::shared_ptr<URLConnectionOperation> copy() const;

    std::string description() const;
    static std::string keyPathFromState(State state);

    // The connection's callbacks (main thread).
    bool canAuthenticateAgainstProtectionSpace(net::URLConnection&, const net::URLProtectionSpace&) override;
    void didReceiveAuthenticationChallenge(
        net::URLConnection&, const std::shared_ptr<net::URLAuthenticationChallenge>&) override;
    bool shouldUseCredentialStorage(net::URLConnection&) override;
    std::shared_ptr<net::InputStream> needNewBodyStream(net::URLConnection&, const net::URLRequest&) override;
    std::optional<net::URLRequest> willSendRequest(
        net::URLConnection&, net::URLRequest, const std::shared_ptr<const net::HTTPResponse>&) override;
    void didSendBodyData(net::URLConnection&, int64_t, int64_t, int64_t) override;
    void didReceiveResponse(net::URLConnection&, const std::shared_ptr<const net::HTTPResponse>&) override;
    void didReceiveData(net::URLConnection&, const uint8_t* bytes, size_t length) override;
    void didFinishLoading(net::URLConnection&) override;
    void didFailWithError(net::URLConnection&, const base::Error&) override;

protected:
    std::recursive_mutex& lock() const { return m_lock; }
    void setRequest(net::URLRequest request);
    // Installs a completion block known to be short and not to block (the reply's router): it runs on the
    // thread that finishes the operation, right after the finish is announced, sparing the two thread hops
    // to a worker and back.
    void setCompletionBlockRunOnFinishingThread(Block block);
    // Makes an operation of this one's own kind for copy().
    virtual std::shared_ptr<URLConnectionOperation> makeOperationOfSameKind(net::URLRequest request) const;

private:
    void setState(State state);
    void operationDidStart();
    void cancelConnection();
    void finish();
    // Ends the operation with the connection's outcome, unless a pause has detached that connection.
    void connectionEnded(const net::URLConnection& ended, std::optional<base::Error> failure);
    void postNotification(const char* name);
    std::shared_ptr<URLConnectionOperation> sharedSelf();

    mutable std::recursive_mutex m_lock;
    std::atomic<State> m_state { State::Ready };
    // Never edited in place: a change swaps in a new request, so the connection shares it without a copy.
    std::shared_ptr<const net::URLRequest> m_request;
    std::shared_ptr<net::URLConnection> m_connection;
    std::shared_ptr<const net::HTTPResponse> m_response;
    std::optional<base::Error> m_error;
    std::optional<base::Error> m_requestError;
    std::shared_ptr<const base::Data> m_responseData;
    // The body's text: a view of m_responseData, or of m_convertedResponseString for another charset.
    mutable std::optional<std::string_view> m_responseString;
    mutable std::string m_convertedResponseString;
    mutable base::TextEncoding::Code m_responseStringEncoding { 0 };
    int64_t m_totalBytesRead { 0 };
    std::shared_ptr<net::OutputStream> m_outputStream;
    bool m_bodyInMemory { true };
    size_t m_maximumBodyBytesInMemory { DefaultMaximumBodyBytesInMemory };
    std::optional<net::URLCredential> m_credential;
    bool m_shouldUseCredentialStorage { true };
    bool m_allowsInvalidSSLCertificate { false };
    base::DictionaryRef m_userInfo;
    net::BackgroundTask::Identifier m_backgroundTask { net::BackgroundTask::Invalid };
    ProgressBlock m_uploadProgress;
    ProgressBlock m_downloadProgress;
    ReceivedDataBlock m_receivedData;
    AuthenticationAgainstProtectionSpaceBlock m_authenticationAgainstProtectionSpace;
    AuthenticationChallengeBlock m_authenticationChallenge;
    RedirectResponseBlock m_redirectResponse;
    bool m_completionRunsOnFinishingThread { false };
    // Keeps the operation until its completion block has run: nothing else may hold it by then.
    std::shared_ptr<URLConnectionOperation> m_keptUntilCompleted;
};

} // namespace networking
