#include "settings/phonebook/PhoneBookPhotos.h"

#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/system/Paths.h"
#include "core/messages/SafeFileName.h"

#include <system_error>

namespace settings {

std::optional<std::filesystem::path> PhoneBookPhotos::path(const std::string& serialNumber, int64_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string name = "phoneBook_" + serialNumber + "_" + std::to_string(index) + ".png";
    if (serialNumber.empty() || !core::isSafeFileName(name))
        return std::nullopt;
    return base::Paths::documents() / name;
}

std::shared_ptr<gfx::Image> PhoneBookPhotos::photo(const std::string& serialNumber, int64_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    auto file = path(serialNumber, index);
    std::error_code error;
    if (!file || !std::filesystem::exists(*file, error))
        return nullptr;
    return gfx::Image::fromFile(*file);
}

std::shared_ptr<gfx::Image> PhoneBookPhotos::photoOrDefault(const std::string& serialNumber, int64_t index)
{
    if (auto stored = photo(serialNumber, index))
        return stored;
    return gfx::Image::named(DefaultHeadImage);
}

bool PhoneBookPhotos::store(const std::string& serialNumber, int64_t index, const gfx::Image& image)
{
    auto file = path(serialNumber, index);
    base::Data png = image.pngData();
    if (!file || png.empty()) {
        base::log("phone book: the photo cannot be stored");
        return false;
    }
    std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    if (!base::Files::writeAtomically(*file, bytes)) {
        base::log("phone book: the photo could not be written");
        return false;
    }
    return true;
}

} // namespace settings
