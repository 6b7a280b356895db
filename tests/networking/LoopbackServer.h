// test::LoopbackServer: an HTTP server on a free loopback port, run in-process on a thread of its own, for the
// URL-loading and networking tests. Register routes on server() before start(); every request that reached a
// handler is recorded as it was received. The worker pool serves 256 connections at once and the listen queue
// is deep enough for a burst of them.
//
//   test::LoopbackServer server;
//   server.server().Post("/echo", [](const httplib::Request& q, httplib::Response& r) { r.set_content(q.body,
//   "text/plain"); }); server.start(); auto url = base::URL::parse(server.url("/echo"));
#pragma once

#include <httplib.h>

#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace test {

class LoopbackServer {
public:
    struct Received {
        std::string method;
        std::string path;
        std::string target;
        httplib::Headers headers;
        std::string body;

        // The first value of a field (names compared without regard to case), or "" when absent.
        std::string header(const std::string& name) const
        {
            auto found = headers.find(name);
            return found == headers.end() ? std::string() : found->second;
        }
        bool hasHeader(const std::string& name) const { return headers.find(name) != headers.end(); }
    };

    explicit LoopbackServer(std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>())
        : m_server(std::move(server))
    {
        m_server->new_task_queue = [] { return new httplib::ThreadPool(256); };
        m_server->set_keep_alive_max_count(1000000);
        m_server->set_socket_options([this](socket_t socket) {
            int yes = 1;
            setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            // Accepted connections inherit it: replies written in pieces must not wait for delayed ACKs.
            setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            m_socket = socket;
        });
        // Recorded after the handler and before the reply goes out, so a client that has its reply finds it.
        m_server->set_post_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            std::lock_guard lock(m_mutex);
            m_received.push_back({ request.method, request.path, request.target, request.headers, request.body });
        });
    }

    ~LoopbackServer() { stop(); }

    httplib::Server& server() { return *m_server; }

    void start()
    {
        m_port = m_server->bind_to_any_port("127.0.0.1");
        // The library listens with a short queue; a burst of connections would wait for SYN retries.
        ::listen(m_socket, 1024);
        m_thread = std::thread([this] { m_server->listen_after_bind(); });
        // stop() does nothing to a server that has not begun listening; make sure it has.
        while (!m_server->is_running())
            std::this_thread::yield();
    }

    void stop()
    {
        if (!m_thread.joinable())
            return;
        m_server->stop();
        m_thread.join();
    }

    int port() const { return m_port; }
    std::string url(std::string_view path) const
    {
        return (m_scheme + "://127.0.0.1:") + std::to_string(m_port) + std::string(path);
    }
    void setScheme(std::string scheme) { m_scheme = std::move(scheme); }

    std::vector<Received> received() const
    {
        std::lock_guard lock(m_mutex);
        return m_received;
    }

private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    socket_t m_socket { -1 };
    int m_port { 0 };
    std::string m_scheme { "http" };
    mutable std::mutex m_mutex;
    std::vector<Received> m_received;
};

} // namespace test
