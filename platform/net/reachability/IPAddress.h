// net::IPAddress: an IPv4 or IPv6 address as its bytes in network order. A plain value.
//
//   auto address = net::IPAddress::v4({ 192, 168, 1, 20 });
//   bool inside = address.isInPrefix(net::IPAddress::v4({ 192, 168, 0, 0 }), 16);
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct sockaddr;

namespace net {

class IPAddress {
public:
    enum class Family { IPv4, IPv6 };

    static IPAddress v4(std::array<uint8_t, 4> bytes);
    static IPAddress v6(std::array<uint8_t, 16> bytes);
    // The address of an AF_INET or AF_INET6 socket address; nothing for other families or a null pointer.
    [[nodiscard]] static std::optional<IPAddress> fromSocketAddress(const sockaddr* address);

    Family family() const { return m_family; }
    std::span<const uint8_t> bytes() const { return { m_bytes.data(), m_family == Family::IPv4 ? 4u : 16u }; }

    // 0.0.0.0 or ::
    bool isUnspecified() const;
    // 127.0.0.0/8 or ::1
    bool isLoopback() const;
    // 169.254.0.0/16
    bool isLinkLocalIPv4() const;
    // Whether the first `prefixLength` bits equal those of `network` (of the same family).
    bool isInPrefix(const IPAddress& network, int prefixLength) const;

    std::string text() const;

    bool operator==(const IPAddress&) const = default;

private:
    Family m_family { Family::IPv4 };
    std::array<uint8_t, 16> m_bytes {};
};

} // namespace net
