#include "tracking-service/ServedConnections.h"

#include <arpa/inet.h>
#include <charconv>
#include <filesystem>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>

namespace tracking_service {

namespace {

    // The local port of a connected IPv4 or IPv6 socket, or -1 for any other descriptor.
    int connectedLocalPort(int descriptor)
    {
        sockaddr_storage address {};
        socklen_t length = sizeof address;
        if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return -1;
        int port = -1;
        if (address.ss_family == AF_INET)
            port = ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
        else if (address.ss_family == AF_INET6)
            port = ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
        sockaddr_storage peer {};
        length = sizeof peer;
        return getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &length) == 0 ? port : -1;
    }

} // namespace

void endReadingOfConnectionsTo(int port)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::string name = entry.path().filename().string();
        int descriptor = -1;
        if (std::from_chars(name.data(), name.data() + name.size(), descriptor).ec != std::errc())
            continue;
        if (connectedLocalPort(descriptor) == port)
            shutdown(descriptor, SHUT_RD);
    }
}

} // namespace tracking_service
