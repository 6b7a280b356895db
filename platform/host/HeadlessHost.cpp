#include "host/HeadlessHost.h"

#include "base/loop/MainThread.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"

#include <system_error>

namespace host {

HeadlessHost::HeadlessHost(std::filesystem::path folder)
    : m_folder(std::move(folder))
{
    BASE_ASSERT_MAIN_THREAD();
}

std::shared_ptr<gfx::Image> HeadlessHost::renderFrame() const
{
    ui::UpdateCycle::main().runPasses();
    return ui::ScreenRenderer::renderImage();
}

std::optional<std::filesystem::path> HeadlessHost::writeFrame(const std::string& name) const
{
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    auto frame = renderFrame();
    std::filesystem::path file = m_folder / (name + ".png");
    if (!frame || !frame->writePNG(file))
        return std::nullopt;
    return file;
}

} // namespace host
