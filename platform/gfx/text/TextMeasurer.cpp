#include "gfx/text/TextMeasurer.h"

#include "gfx/text/PangoTextMeasurer.h"

#include <mutex>

namespace gfx {

namespace {

    std::mutex& measurerMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    std::shared_ptr<const TextMeasurer>& installedMeasurer()
    {
        static std::shared_ptr<const TextMeasurer> measurer = std::make_shared<PangoTextMeasurer>();
        return measurer;
    }

} // namespace

std::shared_ptr<const TextMeasurer> TextMeasurer::current()
{
    std::lock_guard lock(measurerMutex());
    return installedMeasurer();
}

std::shared_ptr<const TextMeasurer> TextMeasurer::install(std::shared_ptr<const TextMeasurer> measurer)
{
    if (!measurer)
        measurer = std::make_shared<PangoTextMeasurer>();
    std::lock_guard lock(measurerMutex());
    std::swap(installedMeasurer(), measurer);
    return measurer;
}

} // namespace gfx
