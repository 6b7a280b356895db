// settings::NumberDrafts: numbers the user typed that the service did not take (a refusal, a bad reply or a
// failed request), kept per device and slot so that the next panel for the same slot shows them again
// instead of the stored number and the user can retry. An accepted number forgets its draft. Process-wide,
// not saved. Main thread.
//
//   settings::NumberDrafts::shared().keep(serial, "lumet.father", typed);
//   field->setText(settings::NumberDrafts::shared().draft(serial, "lumet.father").value_or(stored));
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace settings {

class NumberDrafts {
public:
    static NumberDrafts& shared();

    void keep(const std::string& serialNumber, const std::string& slot, std::string typed);
    void forget(const std::string& serialNumber, const std::string& slot);
    [[nodiscard]] std::optional<std::string> draft(const std::string& serialNumber, const std::string& slot) const;
    // The draft when there is one, else the stored text.
    std::string textFor(const std::string& serialNumber, const std::string& slot, const std::string& stored) const;
    void clear() { m_drafts.clear(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_drafts;
};

} // namespace settings
