#include "net/reachability/RouteTable.h"

#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>

namespace net {

namespace {

    // Route flags of the kernel's tables.
    constexpr uint32_t RouteUp = 0x0001;
    constexpr uint32_t RouteGateway = 0x0002;
    constexpr uint32_t RouteReject = 0x0200;

    std::optional<uint32_t> hexNumber(std::string_view text)
    {
        uint32_t value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (error != std::errc() || end != text.data() + text.size() || text.empty())
            return std::nullopt;
        return value;
    }

    std::vector<std::string_view> fields(std::string_view line)
    {
        std::vector<std::string_view> found;
        size_t position = 0;
        while (position < line.size()) {
            size_t start = line.find_first_not_of(" \t", position);
            if (start == std::string_view::npos)
                break;
            size_t end = line.find_first_of(" \t", start);
            if (end == std::string_view::npos)
                end = line.size();
            found.push_back(line.substr(start, end - start));
            position = end;
        }
        return found;
    }

    template <typename Each> void forEachLine(std::string_view text, Each each)
    {
        while (!text.empty()) {
            size_t newline = text.find('\n');
            each(text.substr(0, newline));
            text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        }
    }

    bool isUsable(uint32_t flags) { return (flags & RouteUp) && !(flags & RouteReject); }

    // "Iface Destination Gateway Flags RefCnt Use Metric Mask ...": addresses are the in-memory (network
    // order) bytes printed as one host-order hexadecimal number.
    std::optional<Route> parseIPv4Line(std::string_view line)
    {
        auto parts = fields(line);
        if (parts.size() < 8)
            return std::nullopt;
        auto destination = hexNumber(parts[1]);
        auto flags = hexNumber(parts[3]);
        auto mask = hexNumber(parts[7]);
        uint32_t metric = 0;
        auto [metricEnd, metricError] = std::from_chars(parts[6].data(), parts[6].data() + parts[6].size(), metric);
        if (!destination || !flags || !mask || parts[1].size() != 8 || parts[7].size() != 8 || !isUsable(*flags)
            || metricError != std::errc() || metricEnd != parts[6].data() + parts[6].size())
            return std::nullopt;
        std::array<uint8_t, 4> bytes;
        std::memcpy(bytes.data(), &*destination, 4);
        std::array<uint8_t, 4> maskBytes;
        std::memcpy(maskBytes.data(), &*mask, 4);
        int prefix = 0;
        for (uint8_t byte : maskBytes)
            prefix += __builtin_popcount(byte);
        return Route { std::string(parts[0]), IPAddress::v4(bytes), prefix, (*flags & RouteGateway) != 0, metric };
    }

    std::optional<IPAddress> hexIPv6(std::string_view text)
    {
        if (text.size() != 32)
            return std::nullopt;
        std::array<uint8_t, 16> bytes;
        for (size_t i = 0; i < 16; ++i) {
            auto byte = hexNumber(text.substr(i * 2, 2));
            if (!byte)
                return std::nullopt;
            bytes[i] = static_cast<uint8_t>(*byte);
        }
        return IPAddress::v6(bytes);
    }

    // "destination prefix source prefix next-hop metric refcount use flags interface", hexadecimal.
    std::optional<Route> parseIPv6Line(std::string_view line)
    {
        auto parts = fields(line);
        if (parts.size() < 10)
            return std::nullopt;
        auto destination = hexIPv6(parts[0]);
        auto prefix = hexNumber(parts[1]);
        auto metric = hexNumber(parts[5]);
        auto flags = hexNumber(parts[8]);
        if (!destination || !prefix || *prefix > 128 || !metric || !flags || !isUsable(*flags))
            return std::nullopt;
        return Route { std::string(parts[9]), *destination, static_cast<int>(*prefix), (*flags & RouteGateway) != 0,
            *metric };
    }

    std::string fileText(const char* path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

} // namespace

RouteTable RouteTable::parse(std::string_view ipv4Table, std::string_view ipv6Table)
{
    RouteTable table;
    forEachLine(ipv4Table, [&](std::string_view line) {
        if (auto route = parseIPv4Line(line))
            table.m_routes.push_back(std::move(*route));
    });
    forEachLine(ipv6Table, [&](std::string_view line) {
        if (auto route = parseIPv6Line(line))
            table.m_routes.push_back(std::move(*route));
    });
    return table;
}

RouteTable RouteTable::current() { return parse(fileText("/proc/net/route"), fileText("/proc/net/ipv6_route")); }

const Route* RouteTable::routeTo(const IPAddress& address, const std::function<bool(const Route&)>& usable) const
{
    const Route* best = nullptr;
    for (const Route& route : m_routes) {
        if (!address.isInPrefix(route.destination, route.prefixLength) || (usable && !usable(route)))
            continue;
        if (!best || route.prefixLength > best->prefixLength
            || (route.prefixLength == best->prefixLength && route.metric < best->metric))
            best = &route;
    }
    return best;
}

} // namespace net
