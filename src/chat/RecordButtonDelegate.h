// chat::RecordButtonDelegate: what the talk button tells its owner. endRecord is required; the drag calls are
// optional (empty by default). Main thread.
#pragma once

#include "base/text/URL.h"
#include "base/values/Value.h"

#include <optional>

namespace chat {

class RecordButtonDelegate {
public:
    virtual ~RecordButtonDelegate() = default;
    // A recording of more than 1 s has finished: its AMR data (nothing when it could not be read or
    // converted) and the file URL naming it, whose last part is the name the voice file is kept under.
    virtual void endRecord(const std::optional<base::Data>& amr, const base::URL& recordedFile) = 0;
    // The finger left the button while recording.
    virtual void dragExit() { }
    // The finger came back onto the button.
    virtual void dragEnter() { }
};

} // namespace chat
