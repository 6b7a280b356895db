// A connection delegate for the URL-loading tests: records every call, thread-safely, and wakes the main run
// loop when the connection ends so that runUntil sees it at once.
#pragma once

#include "base/loop/RunLoop.h"
#include "net/loading/URLConnection.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace test {

class ConnectionRecorder : public net::URLConnectionDelegate {
public:
    std::function<std::optional<net::URLRequest>(net::URLRequest, const net::HTTPResponse&)> onRedirect;
    std::function<bool(const net::URLProtectionSpace&)> onCanAuthenticate;
    std::function<void(const std::shared_ptr<net::URLAuthenticationChallenge>&)> onChallenge;
    std::function<void(net::URLConnection&)> onResponse;

    bool ended() const
    {
        std::lock_guard lock(m_mutex);
        return m_finished || m_error.has_value();
    }
    bool finished() const
    {
        std::lock_guard lock(m_mutex);
        return m_finished;
    }
    std::optional<base::Error> error() const
    {
        std::lock_guard lock(m_mutex);
        return m_error;
    }
    std::shared_ptr<const net::HTTPResponse> response() const
    {
        std::lock_guard lock(m_mutex);
        return m_response;
    }
    std::string body() const
    {
        std::lock_guard lock(m_mutex);
        return m_body;
    }
    int endings() const
    {
        std::lock_guard lock(m_mutex);
        return m_endings;
    }
    std::vector<int64_t> uploadTotals() const
    {
        std::lock_guard lock(m_mutex);
        return m_uploadTotals;
    }
    std::vector<std::string> challengedMethods() const
    {
        std::lock_guard lock(m_mutex);
        return m_challengedMethods;
    }

    bool canAuthenticateAgainstProtectionSpace(net::URLConnection&, const net::URLProtectionSpace& space) override
    {
        return onCanAuthenticate ? onCanAuthenticate(space) : false;
    }
    void didReceiveAuthenticationChallenge(
        net::URLConnection&, const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_challengedMethods.push_back(challenge->protectionSpace().authenticationMethod);
        }
        if (onChallenge)
            onChallenge(challenge);
        else
            challenge->continueWithoutCredential();
    }
    std::optional<net::URLRequest> willSendRequest(
        net::URLConnection&, net::URLRequest request, const std::shared_ptr<const net::HTTPResponse>& redirect) override
    {
        return onRedirect ? onRedirect(std::move(request), *redirect) : std::optional(std::move(request));
    }
    void didSendBodyData(net::URLConnection&, int64_t, int64_t total, int64_t) override
    {
        std::lock_guard lock(m_mutex);
        m_uploadTotals.push_back(total);
    }
    void didReceiveResponse(
        net::URLConnection& connection, const std::shared_ptr<const net::HTTPResponse>& response) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_response = response;
        }
        if (onResponse)
            onResponse(connection);
    }
    void didReceiveData(net::URLConnection&, const uint8_t* bytes, size_t length) override
    {
        std::lock_guard lock(m_mutex);
        m_body.append(reinterpret_cast<const char*>(bytes), length);
    }
    void didFinishLoading(net::URLConnection&) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
            ++m_endings;
        }
        base::RunLoop::main().post([] {});
    }
    void didFailWithError(net::URLConnection&, const base::Error& error) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_error = error;
            ++m_endings;
        }
        base::RunLoop::main().post([] {});
    }

private:
    mutable std::mutex m_mutex;
    bool m_finished { false };
    int m_endings { 0 };
    std::optional<base::Error> m_error;
    std::shared_ptr<const net::HTTPResponse> m_response;
    std::string m_body;
    std::vector<int64_t> m_uploadTotals;
    std::vector<std::string> m_challengedMethods;
};

} // namespace test
