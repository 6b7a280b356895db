#include "net/reachability/IPAddress.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>

namespace net {

IPAddress IPAddress::v4(std::array<uint8_t, 4> bytes)
{
    IPAddress address;
    address.m_family = Family::IPv4;
    std::copy(bytes.begin(), bytes.end(), address.m_bytes.begin());
    return address;
}

IPAddress IPAddress::v6(std::array<uint8_t, 16> bytes)
{
    IPAddress address;
    address.m_family = Family::IPv6;
    address.m_bytes = bytes;
    return address;
}

std::optional<IPAddress> IPAddress::fromSocketAddress(const sockaddr* address)
{
    if (!address)
        return std::nullopt;
    if (address->sa_family == AF_INET) {
        sockaddr_in ipv4;
        std::memcpy(&ipv4, address, sizeof ipv4);
        std::array<uint8_t, 4> bytes;
        std::memcpy(bytes.data(), &ipv4.sin_addr, 4);
        return v4(bytes);
    }
    if (address->sa_family == AF_INET6) {
        sockaddr_in6 ipv6;
        std::memcpy(&ipv6, address, sizeof ipv6);
        std::array<uint8_t, 16> bytes;
        std::memcpy(bytes.data(), &ipv6.sin6_addr, 16);
        return v6(bytes);
    }
    return std::nullopt;
}

bool IPAddress::isUnspecified() const
{
    auto all = bytes();
    return std::all_of(all.begin(), all.end(), [](uint8_t byte) { return byte == 0; });
}

bool IPAddress::isLoopback() const
{
    if (m_family == Family::IPv4)
        return m_bytes[0] == 127;
    static constexpr std::array<uint8_t, 16> loopback { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1 };
    return m_bytes == loopback;
}

bool IPAddress::isLinkLocalIPv4() const { return m_family == Family::IPv4 && m_bytes[0] == 169 && m_bytes[1] == 254; }

bool IPAddress::isInPrefix(const IPAddress& network, int prefixLength) const
{
    if (m_family != network.m_family || prefixLength < 0 || static_cast<size_t>(prefixLength) > bytes().size() * 8)
        return false;
    int wholeBytes = prefixLength / 8;
    if (!std::equal(m_bytes.begin(), m_bytes.begin() + wholeBytes, network.m_bytes.begin()))
        return false;
    int restBits = prefixLength % 8;
    if (restBits == 0)
        return true;
    uint8_t mask = static_cast<uint8_t>(0xFF << (8 - restBits));
    return (m_bytes[wholeBytes] & mask) == (network.m_bytes[wholeBytes] & mask);
}

std::string IPAddress::text() const
{
    char buffer[INET6_ADDRSTRLEN] {};
    inet_ntop(m_family == Family::IPv4 ? AF_INET : AF_INET6, m_bytes.data(), buffer, sizeof buffer);
    return buffer;
}

} // namespace net
