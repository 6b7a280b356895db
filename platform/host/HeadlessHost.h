// host::HeadlessHost: shows the application nowhere and renders the screen into PNG files on request, for
// runs without a display and for tests that want pictures to look at. A frame is what the screen shows at
// the frame clock's instant: pending layout and drawing are done first, and animations in flight are drawn
// where they are. Main thread.
//
//   host::HeadlessHost host(dataRoot / "frames");
//   clock->advance(0.15s);
//   host.writeFrame("drawer-half-open");   // frames/drawer-half-open.png
#pragma once

#include "gfx/images/Image.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace host {

class HeadlessHost {
public:
    explicit HeadlessHost(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }

    std::shared_ptr<gfx::Image> renderFrame() const;
    // Writes `<folder>/<name>.png` (creating the folder); the file's path, or empty when it could not be
    // written.
    [[nodiscard]] std::optional<std::filesystem::path> writeFrame(const std::string& name) const;

private:
    std::filesystem::path m_folder;
};

} // namespace host
