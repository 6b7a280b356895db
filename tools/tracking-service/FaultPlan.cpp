#include "tracking-service/FaultPlan.h"

#include <algorithm>

namespace tracking_service {

void FaultPlan::set(std::string endpoint, Fault fault)
{
    std::lock_guard lock(m_mutex);
    forgetHolds(endpoint);
    m_faults.insert_or_assign(std::move(endpoint), std::move(fault));
    endHolds();
}

void FaultPlan::remove(std::string_view endpoint)
{
    std::lock_guard lock(m_mutex);
    forgetHolds(endpoint);
    if (auto found = m_faults.find(endpoint); found != m_faults.end())
        m_faults.erase(found);
    endHolds();
}

void FaultPlan::clear()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
    m_heldCount.clear();
    m_letGo.clear();
    endHolds();
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

void FaultPlan::forgetHolds(std::string_view endpoint)
{
    if (auto found = m_heldCount.find(endpoint); found != m_heldCount.end())
        m_heldCount.erase(found);
    if (auto found = m_letGo.find(endpoint); found != m_letGo.end())
        m_letGo.erase(found);
}

void FaultPlan::endHolds()
{
    for (Hold& hold : m_holds) {
        if (hold.outcome)
            continue;
        const Fault* fault = find(hold.endpoint);
        auto answers = m_letGo.find(hold.endpoint);
        if (answers != m_letGo.end() && answers->second.contains(hold.place))
            hold.outcome = { HoldEnd::LetGo, answers->second.at(hold.place) };
        else if (!fault || fault->kind != Fault::Kind::Delay)
            hold.outcome = { HoldEnd::Lifted, std::nullopt };
        else if (m_stopping)
            hold.outcome = { HoldEnd::Stopping, std::nullopt };
    }
    m_changed.notify_all();
}

FaultPlan::HoldOutcome FaultPlan::hold(std::string_view endpoint, std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    size_t place = m_heldCount[std::string(endpoint)]++;
    auto held = m_holds.insert(m_holds.end(), { std::string(endpoint), place, duration >= Fault::HeldFor, {} });
    // Its answer may have been given before it came, or holding stopped.
    endHolds();
    m_changed.wait_for(lock, duration, [&] { return held->outcome.has_value(); });
    HoldOutcome outcome = held->outcome.value_or(HoldOutcome { HoldEnd::Elapsed, std::nullopt });
    m_holds.erase(held);
    return outcome;
}

void FaultPlan::letGo(std::string_view endpoint, size_t place, std::optional<Fault> answer)
{
    std::lock_guard lock(m_mutex);
    m_letGo[std::string(endpoint)].insert_or_assign(place, std::move(answer));
    endHolds();
}

size_t FaultPlan::heldNow() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count_if(
        m_holds.begin(), m_holds.end(), [](const Hold& hold) { return hold.untilLetGo && !hold.outcome; }));
}

void FaultPlan::stopHolding()
{
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    endHolds();
}

void FaultPlan::resumeHolding()
{
    std::lock_guard lock(m_mutex);
    m_stopping = false;
}

} // namespace tracking_service
