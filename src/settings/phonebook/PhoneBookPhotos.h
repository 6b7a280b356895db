// settings::PhoneBookPhotos: the head photos of the watch phone book, kept only on the phone, one PNG file
// per watch and entry in the documents folder ("phoneBook_<serial>_<index>.png"), so that two watches on
// one phone keep their own faces. The list and the entry editor read and write them here and nowhere else.
// A serial number that cannot name a file gets no photo. Main thread.
//
//   if (auto photo = settings::PhoneBookPhotos::photo(serial, 3)) show(photo);
//   bool kept = settings::PhoneBookPhotos::store(serial, 3, *picked);
#pragma once

#include "gfx/images/Image.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace settings {

class PhoneBookPhotos {
public:
    static constexpr const char* DefaultHeadImage = "phonebook_head";

    // Nothing when the serial number cannot be part of a file name.
    [[nodiscard]] static std::optional<std::filesystem::path> path(const std::string& serialNumber, int64_t index);
    // The stored photo, or nullptr when there is none (or it cannot be read).
    static std::shared_ptr<gfx::Image> photo(const std::string& serialNumber, int64_t index);
    // The stored photo, else the default head.
    static std::shared_ptr<gfx::Image> photoOrDefault(const std::string& serialNumber, int64_t index);
    // Replaces the photo in one atomic step: on failure the earlier photo stays as it was.
    [[nodiscard]] static bool store(const std::string& serialNumber, int64_t index, const gfx::Image& image);
};

} // namespace settings
