#include "settings/numbers/NumberDrafts.h"

#include "base/loop/MainThread.h"

namespace settings {

NumberDrafts& NumberDrafts::shared()
{
    BASE_ASSERT_MAIN_THREAD();
    static NumberDrafts drafts;
    return drafts;
}

void NumberDrafts::keep(const std::string& serialNumber, const std::string& slot, std::string typed)
{
    BASE_ASSERT_MAIN_THREAD();
    m_drafts[{ serialNumber, slot }] = std::move(typed);
}

void NumberDrafts::forget(const std::string& serialNumber, const std::string& slot)
{
    m_drafts.erase({ serialNumber, slot });
}

std::optional<std::string> NumberDrafts::draft(const std::string& serialNumber, const std::string& slot) const
{
    auto found = m_drafts.find({ serialNumber, slot });
    if (found == m_drafts.end())
        return std::nullopt;
    return found->second;
}

std::string NumberDrafts::textFor(
    const std::string& serialNumber, const std::string& slot, const std::string& stored) const
{
    return draft(serialNumber, slot).value_or(stored);
}

} // namespace settings
