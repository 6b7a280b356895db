// base::Notification: what a notification centre delivers: a name, the object that posted it (the sender,
// possibly none) and optional user info. Each notification name documents the type of its object, which
// observers read back with objectAs<T>().
//
//   center.post(Reachability::changedNotification, shared_from_this());
//   auto reachability = notification.objectAs<Reachability>();
#pragma once

#include "base/values/Dictionary.h"

#include <memory>
#include <string>

namespace base {

struct Notification {
    std::string name;
    std::shared_ptr<void> object;
    DictionaryRef userInfo;

    template <typename T> std::shared_ptr<T> objectAs() const { return std::static_pointer_cast<T>(object); }
};

} // namespace base
