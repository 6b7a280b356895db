// settings::EditPhoneBookVCDelegate: how the phone-book entry editor hands an edited entry back to the
// screen that opened it, which then sends the book. Held weakly by the editor. Main thread.
//
//   bool saveEdit(const std::string& name, const std::string& phone, int64_t index) override
//   {
//       if (!m_loaded) return false;   // the editor stays, with what the user typed
//       ...
//   }
#pragma once

#include <cstdint>
#include <string>

namespace settings {

class EditPhoneBookVCDelegate {
public:
    virtual ~EditPhoneBookVCDelegate() = default;
    // The entry at `index` as the user left it. Whether the entry was taken: when it was not, the editor
    // stays open with the user's text, for another try.
    [[nodiscard]] virtual bool saveEdit(const std::string& name, const std::string& phone, int64_t index) = 0;
};

} // namespace settings
