// core::LoadFailureNotice: what a screen says when loading the watch's data from the service fails, so that a
// failed load never passes for a watch without data. A call that never got an answer from the service (no
// way to its host, no connection, no answer in time, the connection lost) shows the network notice
// "bad_netword"; an answer that is an error status or cannot be read shows the screen's own failure text.
// Either is the short failure notice of Helper::showNotify on the screen's view; the text shown is returned,
// for the line a screen keeps in place of content it could not load (kit::LoadFailureLine). Main thread.
//
//   m_failureLine->loadFailed(core::LoadFailureNotice::show(view(), &error));   // in a call's failure block
//   core::LoadFailureNotice::show(view(), nullptr);  // for an answer that cannot be read
#pragma once

#include "base/values/Error.h"

#include <memory>
#include <string>

namespace ui {
class View;
}

namespace core {

class LoadFailureNotice {
public:
    static constexpr const char* DefaultFailureKey = "load_failed";

    // Whether the call failed for want of a way to the service rather than through the service's answer.
    [[nodiscard]] static bool isNetworkFailure(const base::Error& error);
    // The localisation key of the text show() would show.
    [[nodiscard]] static const char* textKey(const base::Error* error, const char* failureKey = DefaultFailureKey);
    // `error` is the call's failure, or null for an answer that came but cannot be read. Returns the text shown.
    static std::string show(
        const std::shared_ptr<ui::View>& view, const base::Error* error, const char* failureKey = DefaultFailureKey);
};

} // namespace core
