// media errors: the domain and codes the session, recorder, player and backends report through base::Error.
//
//   base::setError(error, media::makeError(media::MediaError::UnsupportedFormat, "not a WAVE file"));
#pragma once

#include "base/values/Error.h"

#include <string>

namespace media {

enum class MediaError : long {
    UnsupportedFormat = 1, // data or settings this platform does not handle
    FileUnavailable = 2, // a file that cannot be read or written
    DeviceUnavailable = 3, // no audio device could be opened
    DecodeFailed = 4, // sample data that ends before its header says it does
};

inline constexpr const char* MediaErrorDomain = "MediaErrorDomain";

base::Error makeError(MediaError code, std::string description);

} // namespace media
