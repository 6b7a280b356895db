#include "tracking-service/FaultPlan.h"

namespace tracking_service {

void FaultPlan::set(std::string endpoint, Fault fault)
{
    {
        std::lock_guard lock(m_mutex);
        m_faults.insert_or_assign(std::move(endpoint), std::move(fault));
    }
    changed();
}

void FaultPlan::remove(std::string_view endpoint)
{
    {
        std::lock_guard lock(m_mutex);
        if (auto found = m_faults.find(endpoint); found != m_faults.end())
            m_faults.erase(found);
    }
    changed();
}

void FaultPlan::clear()
{
    {
        std::lock_guard lock(m_mutex);
        m_faults.clear();
    }
    changed();
}

std::optional<Fault> FaultPlan::faultFor(std::string_view endpoint) const
{
    std::lock_guard lock(m_mutex);
    if (const Fault* fault = find(endpoint))
        return *fault;
    return std::nullopt;
}

const Fault* FaultPlan::find(std::string_view endpoint) const
{
    if (auto found = m_faults.find(endpoint); found != m_faults.end())
        return &found->second;
    if (auto all = m_faults.find(std::string_view(AllEndpoints)); all != m_faults.end())
        return &all->second;
    return nullptr;
}

FaultPlan::HoldEnd FaultPlan::hold(std::string_view endpoint, std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    auto lifted = [&] {
        const Fault* fault = find(endpoint);
        return !fault || fault->kind != Fault::Kind::Delay;
    };
    m_changed.wait_for(lock, duration, [&] { return m_stopping || lifted(); });
    // A request let go before the service stops is answered normally.
    if (lifted())
        return HoldEnd::Lifted;
    return m_stopping ? HoldEnd::Stopping : HoldEnd::Elapsed;
}

void FaultPlan::stopHolding()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    changed();
}

void FaultPlan::resumeHolding()
{
    std::lock_guard lock(m_mutex);
    m_stopping = false;
}

void FaultPlan::changed() { m_changed.notify_all(); }

} // namespace tracking_service
