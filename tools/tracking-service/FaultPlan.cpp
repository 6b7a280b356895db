#include "tracking-service/FaultPlan.h"

namespace tracking_service {

void FaultPlan::set(std::string endpoint, Fault fault)
{
    std::lock_guard lock(m_mutex);
    m_faults.insert_or_assign(std::move(endpoint), std::move(fault));
}

void FaultPlan::remove(std::string_view endpoint)
{
    std::lock_guard lock(m_mutex);
    if (auto found = m_faults.find(endpoint); found != m_faults.end())
        m_faults.erase(found);
}

void FaultPlan::clear()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::optional<Fault> FaultPlan::faultFor(std::string_view endpoint) const
{
    std::lock_guard lock(m_mutex);
    if (auto found = m_faults.find(endpoint); found != m_faults.end())
        return found->second;
    if (auto all = m_faults.find(std::string_view(AllEndpoints)); all != m_faults.end())
        return all->second;
    return std::nullopt;
}

} // namespace tracking_service
