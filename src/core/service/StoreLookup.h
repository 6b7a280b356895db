// core::StoreLookup: asks the store's lookup service (storeLookupURL) for the application's published
// version, to learn whether purchases are sent as made in the store's test environment (the published
// version is DebugStoreVersion). The request goes without the session cookie (the lookup may be another
// host) and has a time-out of its own, kept on the main loop's clock: without a usable reply by then the
// answer is false. The completion runs once, on the main thread. Main thread.
//
//   core::StoreLookup::start([weak = weak_from_this()](bool isDebug) {
//       if (auto self = weak.lock()) self->setDebug(isDebug); });
#pragma once

#include "base/time/Clock.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace core {

class StoreLookup {
public:
    static constexpr base::Duration timeout { 5.0 };
    using Completion = std::function<void(bool isDebug)>;

    static void start(Completion completion);
    // The version of the reply's record: the "version" text of the last element of "results" that has one;
    // nothing for a reply that is not such a record.
    [[nodiscard]] static std::optional<std::string> publishedVersion(std::string_view replyText);
};

} // namespace core
