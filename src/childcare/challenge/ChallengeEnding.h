// childcare::ChallengeEnding: ends the current watch's step challenge on the server
// ("LumetCancelParentChildInteraction" with the current serial number). Only a reply whose payload is the
// accepted-command text ends it: the device record's watch configuration is then marked ended (target 0, not
// running, finished) and `ended` runs. Any other reply or a failed request is logged, changes nothing (so the
// user can press again) and runs `failed`. Either block may be empty. Main thread.
//
//   childcare::ChallengeEnding::send(m_deviceDetail, [weak = ui::weakFrom(this)] {
//       if (auto self = weak.lock()) self->navigationController()->popViewController(true); });
#pragma once

#include "core/records/Device.h"

#include <functional>
#include <memory>

namespace childcare {

class ChallengeEnding {
public:
    static constexpr const char* Method = "LumetCancelParentChildInteraction";

    static void send(
        std::shared_ptr<core::Device> device, std::function<void()> ended, std::function<void()> failed = {});
    // What an accepted ending does to the record: target 0, not running, finished.
    static void markEnded(core::Device* device);
};

} // namespace childcare
