// core::Download: fetches a file of the chosen server (a watch's voice message, a picture) by posting to its
// absolute URL in the web-call convention (the session cookie of "kCookie"), and hands back the body's raw
// bytes. As with WebCall, a status outside 200-299 or a transport failure goes to the failure block; exactly
// one of the two runs, on the main thread. Main thread.
//
//   core::Download::post(server + "/Tools/LumetDow.ashx?FileName=" + name,
//       [weak](std::string bytes) { if (auto self = weak.lock()) self->keep(std::move(bytes)); },
//       [weak](const base::Error&) { if (auto self = weak.lock()) self->showFailure(); });
#pragma once

#include "base/values/Error.h"

#include <functional>
#include <string>

namespace core {

class Download {
public:
    using Success = std::function<void(std::string bytes)>;
    using Failure = std::function<void(const base::Error& error)>;

    static void post(std::string absoluteUrl, Success success, Failure failure);
};

} // namespace core
