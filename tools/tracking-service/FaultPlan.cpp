#include "tracking-service/FaultPlan.h"

namespace tracking_service {

void FaultPlan::set(std::string endpoint, Fault fault)
{
    {
        std::lock_guard lock(m_mutex);
        forgetHolds(endpoint);
        m_faults.insert_or_assign(std::move(endpoint), std::move(fault));
    }
    changed();
}

void FaultPlan::remove(std::string_view endpoint)
{
    {
        std::lock_guard lock(m_mutex);
        forgetHolds(endpoint);
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
        m_heldCount.clear();
        m_letGo.clear();
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

void FaultPlan::forgetHolds(std::string_view endpoint)
{
    if (auto found = m_heldCount.find(endpoint); found != m_heldCount.end())
        m_heldCount.erase(found);
    if (auto found = m_letGo.find(endpoint); found != m_letGo.end())
        m_letGo.erase(found);
}

FaultPlan::HoldOutcome FaultPlan::hold(std::string_view endpoint, std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    size_t place = m_heldCount[std::string(endpoint)]++;
    auto lifted = [&] {
        const Fault* fault = find(endpoint);
        return !fault || fault->kind != Fault::Kind::Delay;
    };
    // The answer letGo() gave this request, once it has; looked up anew each time, since set() drops them.
    auto letGoAnswer = [&]() -> const std::optional<Fault>* {
        auto answers = m_letGo.find(endpoint);
        if (answers == m_letGo.end())
            return nullptr;
        auto answer = answers->second.find(place);
        return answer != answers->second.end() ? &answer->second : nullptr;
    };
    bool untilLetGo = duration >= Fault::HeldFor;
    m_heldUntilLetGo += untilLetGo ? 1 : 0;
    m_changed.wait_for(lock, duration, [&] { return m_stopping || lifted() || letGoAnswer(); });
    m_heldUntilLetGo -= untilLetGo ? 1 : 0;
    if (const std::optional<Fault>* answer = letGoAnswer())
        return { HoldEnd::LetGo, *answer };
    // A request let go before the service stops is answered normally.
    if (lifted())
        return { HoldEnd::Lifted, std::nullopt };
    return { m_stopping ? HoldEnd::Stopping : HoldEnd::Elapsed, std::nullopt };
}

void FaultPlan::letGo(std::string_view endpoint, size_t place, std::optional<Fault> answer)
{
    {
        std::lock_guard lock(m_mutex);
        m_letGo[std::string(endpoint)].insert_or_assign(place, std::move(answer));
    }
    changed();
}

size_t FaultPlan::heldNow() const
{
    std::lock_guard lock(m_mutex);
    return m_heldUntilLetGo;
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
