#include "tracking-service/DeadlineServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

namespace tracking_service {

namespace {

    using Clock = std::chrono::steady_clock;

    // Waits up to `limit` for the socket to be ready for `events`; whether it is.
    bool await(int socket, short events, Clock::duration limit)
    {
        auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(std::max(limit, Clock::duration::zero()));
        pollfd watched { socket, events, 0 };
        int ready;
        do
            ready = ::poll(&watched, 1, static_cast<int>(milliseconds.count()));
        while (ready < 0 && errno == EINTR);
        return ready > 0;
    }

    void describe(const sockaddr_storage& address, std::string& ip, int& port)
    {
        char text[INET6_ADDRSTRLEN] = {};
        if (address.ss_family == AF_INET) {
            const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
            ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
            port = ntohs(v4.sin_port);
        } else if (address.ss_family == AF_INET6) {
            const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
            ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
            port = ntohs(v6.sin6_port);
        }
        ip = text;
    }

    // One accepted connection, read through a buffer (the request line is read a byte at a time). No read waits
    // past the deadline of what is being read, and one that would is a failed read: a head's deadline is fixed
    // from its start; a body's moves on with each byte at the minimum rate, after a first allowance.
    class ConnectionStream final : public httplib::Stream {
    public:
        ConnectionStream(int socket, Clock::duration readLimit, Clock::duration writeLimit)
            : m_socket(socket)
            , m_readLimit(readLimit)
            , m_writeLimit(writeLimit)
        {
        }

        // Whether a request begins within the idle limit of a kept-alive connection.
        bool awaitRequest(Clock::duration idleLimit) const
        {
            return m_start < m_end || await(m_socket, POLLIN, idleLimit);
        }
        void beginHead(Clock::duration deadline) { begin(Phase::Head, deadline); }
        void beginBody(Clock::duration allowance) { begin(Phase::Body, allowance); }
        // Whether a read failed for a deadline: the connection is not to be read again.
        bool overdue() const { return m_overdue; }

        bool is_readable() const override { return m_start < m_end || await(m_socket, POLLIN, readLimit()); }

        // Ready for writing, with the peer still there: a peer that has closed its side is gone, even though
        // the first bytes written to it would still be taken.
        bool is_writable() const override
        {
            if (!await(m_socket, POLLOUT, m_writeLimit))
                return false;
            char byte;
            return !await(m_socket, POLLIN, Clock::duration::zero())
                || ::recv(m_socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT) != 0;
        }

        ssize_t read(char* bytes, size_t size) override
        {
            if (m_start == m_end) {
                if (due() || !is_readable()) {
                    m_overdue = due();
                    return -1;
                }
                ssize_t received;
                do
                    received = ::recv(m_socket, m_buffer.data(), m_buffer.size(), 0);
                while (received < 0 && errno == EINTR);
                if (received <= 0)
                    return received;
                m_start = 0;
                m_end = static_cast<size_t>(received);
            }
            size_t taken = std::min(size, m_end - m_start);
            std::memcpy(bytes, m_buffer.data() + m_start, taken);
            m_start += taken;
            if (m_phase == Phase::Body)
                m_bodyBytes += taken;
            return static_cast<ssize_t>(taken);
        }

        ssize_t write(const char* bytes, size_t size) override
        {
            if (!await(m_socket, POLLOUT, m_writeLimit))
                return -1;
            return ::send(m_socket, bytes, size, MSG_NOSIGNAL);
        }

        void get_remote_ip_and_port(std::string& ip, int& port) const override
        {
            sockaddr_storage address {};
            socklen_t length = sizeof address;
            if (::getpeername(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
                describe(address, ip, port);
        }

        void get_local_ip_and_port(std::string& ip, int& port) const override
        {
            sockaddr_storage address {};
            socklen_t length = sizeof address;
            if (::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
                describe(address, ip, port);
        }

        socket_t socket() const override { return m_socket; }

    private:
        enum class Phase { Head, Body };

        void begin(Phase phase, Clock::duration allowance)
        {
            m_phase = phase;
            m_allowanceEnd = Clock::now() + allowance;
            m_bodyBytes = 0;
        }

        Clock::time_point deadline() const
        {
            if (m_phase == Phase::Head)
                return m_allowanceEnd;
            return m_allowanceEnd
                + std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(static_cast<double>(m_bodyBytes) / DeadlineServer::MinimumBodyRate));
        }
        bool due() const { return Clock::now() >= deadline(); }

        Clock::duration readLimit() const { return std::min(m_readLimit, deadline() - Clock::now()); }

        int m_socket;
        Clock::duration m_readLimit;
        Clock::duration m_writeLimit;
        Phase m_phase { Phase::Head };
        Clock::time_point m_allowanceEnd { Clock::now() };
        size_t m_bodyBytes { 0 };
        bool m_overdue { false };
        std::array<char, 16 * 1024> m_buffer {};
        size_t m_start { 0 };
        size_t m_end { 0 };
    };

    void refuse(httplib::Response& response, int status)
    {
        response.status = status;
        response.set_header("Connection", "close");
    }

    // The body's length as the request declares it: 0 without a "Content-Length" field; nothing when a field
    // is not a decimal number that fits, or the fields disagree, since then no reading of the body is sure.
    std::optional<uint64_t> declaredLength(const httplib::Request& request)
    {
        std::optional<uint64_t> length;
        auto [first, last] = request.headers.equal_range("Content-Length");
        for (auto field = first; field != last; ++field) {
            const std::string& text = field->second;
            uint64_t value = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            bool digitsOnly = !text.empty() && text.front() >= '0' && text.front() <= '9';
            if (!digitsOnly || error != std::errc() || end != text.data() + text.size() || (length && *length != value))
                return std::nullopt;
            length = value;
        }
        return length.value_or(0);
    }

    // Makes the request its connection's last: its reply says so ("Connection: close"), as for a client that
    // asked for it.
    void makeLast(httplib::Request& request)
    {
        request.headers.erase("Connection");
        request.set_header("Connection", "close");
    }

} // namespace

DeadlineServer::DeadlineServer(ConnectionLimits limits, BodyLimit bodyLimit)
    : m_limits(limits)
    , m_bodyLimit(std::move(bodyLimit))
{
    // A refused body is answered before its sender is asked to go on with it, and before it is read.
    set_expect_100_continue_handler([this](const httplib::Request& request, httplib::Response& response) {
        auto refusal = bodyRefusal(request);
        if (!refusal)
            return 100;
        refuse(response, *refusal);
        return *refusal;
    });
    set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        auto refusal = bodyRefusal(request);
        if (!refusal)
            return HandlerResponse::Unhandled;
        refuse(response, *refusal);
        return HandlerResponse::Handled;
    });
}

std::optional<int> DeadlineServer::bodyRefusal(const httplib::Request& request) const
{
    if (request.has_header("Transfer-Encoding"))
        return 411;
    auto length = declaredLength(request);
    if (!length)
        return 400;
    if (*length > m_bodyLimit(request))
        return 413;
    return std::nullopt;
}

bool DeadlineServer::process_and_close_socket(socket_t socket)
{
    using std::chrono::microseconds;
    using std::chrono::seconds;
    ConnectionStream stream(socket, seconds(read_timeout_sec_) + microseconds(read_timeout_usec_),
        seconds(write_timeout_sec_) + microseconds(write_timeout_usec_));
    const Clock::time_point taken = Clock::now();
    bool served = false;
    for (size_t left = keep_alive_max_count_;
         left > 0 && svr_sock_ != INVALID_SOCKET && stream.awaitRequest(seconds(keep_alive_timeout_sec_)); --left) {
        stream.beginHead(m_limits.headDeadline);
        const Clock::time_point headBegan = Clock::now();
        bool closed = false;
        bool refused = false;
        bool last = false;
        served = process_request(stream, left == 1, closed, [&](httplib::Request& request) {
            stream.beginBody(m_limits.headDeadline);
            refused = bodyRefusal(request).has_value();
            const Clock::time_point now = Clock::now();
            last = now - headBegan > m_limits.slowHead || now - taken >= m_limits.workerTurn;
            if (last)
                makeLast(request);
        });
        // A refused body is still on its way, unread: nothing more on this connection can be read as a request.
        if (!served || closed || refused || last || stream.overdue())
            break;
    }
    ::shutdown(socket, SHUT_RDWR);
    ::close(socket);
    return served;
}

} // namespace tracking_service
