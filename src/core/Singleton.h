// core::Singleton: the application's one global state object, created on first use. It holds the global
// network state that the network check (CheckNetwork) records. Any thread.
//
//   if (core::Singleton::shared().currentNetworkContional() == core::Singleton::NetworkViaCellular) ...
#pragma once

#include <atomic>
#include <cstdint>

namespace core {

class Singleton {
public:
    // Values of the global network state.
    static constexpr int32_t NetworkNone = 0;
    static constexpr int32_t NetworkViaCellular = 1;
    static constexpr int32_t NetworkViaWiFi = 2;

    static Singleton& shared();

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    // What the last network check found: Wi-Fi or another route that is not cellular, only the cellular
    // network, or no network; none until the first check.
    int32_t currentNetworkContional() const { return m_currentNetworkContional; }
    void setCurrentNetworkContional(int32_t state) { m_currentNetworkContional = state; }

private:
    Singleton() = default;

    std::atomic<int32_t> m_currentNetworkContional { NetworkNone };
};

} // namespace core
