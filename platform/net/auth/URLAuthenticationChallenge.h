// net::URLAuthenticationChallenge: a server's demand for credentials (an HTTP 401 with a scheme libcurl can
// answer), or a TLS certificate that could not be verified (server trust). The connection waits until one
// answer comes, from any thread: a credential, going on without one (the reply is then delivered as it
// came), or cancelling (the connection fails). Only the first answer counts.
//
//   void didReceiveAuthenticationChallenge(URLConnection&, std::shared_ptr<URLAuthenticationChallenge> c) override
//   { c->useCredential(net::URLCredential::withUser("ann", "pw", net::URLCredential::Persistence::None)); }
#pragma once

#include "net/http/HTTPResponse.h"
#include "net/auth/URLCredential.h"
#include "net/auth/URLProtectionSpace.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace net {

class URLAuthenticationChallenge {
public:
    enum class Disposition { UseCredential, ContinueWithoutCredential, Cancel };
    using Answer = std::function<void(Disposition, std::optional<URLCredential>)>;

    URLAuthenticationChallenge(URLProtectionSpace space, int previousFailureCount,
        std::shared_ptr<const HTTPResponse> failureResponse, Answer answer)
        : m_space(std::move(space))
        , m_previousFailureCount(previousFailureCount)
        , m_failureResponse(std::move(failureResponse))
        , m_answer(std::move(answer))
    {
    }

    const URLProtectionSpace& protectionSpace() const { return m_space; }
    // How many credentials this connection has already sent for the space without success.
    int previousFailureCount() const { return m_previousFailureCount; }
    // The reply that asked for credentials; null for server trust.
    const std::shared_ptr<const HTTPResponse>& failureResponse() const { return m_failureResponse; }

    void useCredential(const URLCredential& credential) { answer(Disposition::UseCredential, credential); }
    void continueWithoutCredential() { answer(Disposition::ContinueWithoutCredential, std::nullopt); }
    void cancel() { answer(Disposition::Cancel, std::nullopt); }

private:
    void answer(Disposition disposition, std::optional<URLCredential> credential)
    {
        if (!m_answered.exchange(true))
            m_answer(disposition, std::move(credential));
    }

    URLProtectionSpace m_space;
    int m_previousFailureCount;
    std::shared_ptr<const HTTPResponse> m_failureResponse;
    Answer m_answer;
    std::atomic<bool> m_answered { false };
};

} // namespace net
