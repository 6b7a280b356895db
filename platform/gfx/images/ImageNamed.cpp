// gfx::Image::named: resource images by name, cached.
#include "gfx/images/Image.h"

#include "base/system/Bundle.h"
#include "base/system/Facts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace gfx {

namespace {

    // "<stem>@<n>x<extension>" for the screen's scale first, then the larger scales, then the smaller ones.
    std::vector<std::filesystem::path> candidates(const std::filesystem::path& file)
    {
        int screen = std::clamp(static_cast<int>(std::lround(base::Facts::current().screenScale())), 1, 3);
        std::vector<int> scales { screen };
        for (int scale = 3; scale >= 1; --scale) {
            if (scale != screen)
                scales.push_back(scale);
        }
        std::vector<std::filesystem::path> paths;
        for (int scale : scales) {
            std::filesystem::path variant = file;
            if (scale > 1)
                variant.replace_filename(
                    file.stem().string() + "@" + std::to_string(scale) + "x" + file.extension().string());
            paths.push_back(variant);
        }
        return paths;
    }

    std::shared_ptr<Image> load(std::string_view name)
    {
        std::filesystem::path file = base::Bundle::main().resourcePath() / "images" / std::filesystem::path(name);
        if (!file.has_extension())
            file += ".png";
        for (const auto& path : candidates(file)) {
            std::error_code error;
            if (std::filesystem::is_regular_file(path, error))
                return Image::fromFile(path);
        }
        return nullptr;
    }

} // namespace

std::shared_ptr<Image> Image::named(std::string_view name)
{
    // The cache does not keep an image alive: a screen's pictures (backgrounds of a megabyte and more) go with
    // the last view that shows them, and the next screen to use one decodes it again.
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<Image>, std::less<>> cache;
    std::lock_guard lock(mutex);
    auto found = cache.find(name);
    if (found != cache.end()) {
        if (auto image = found->second.lock())
            return image;
    }
    auto image = load(name);
    if (found != cache.end())
        found->second = image;
    else
        cache.emplace(std::string(name), image);
    return image;
}

} // namespace gfx
