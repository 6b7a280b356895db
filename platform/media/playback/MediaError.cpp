#include "media/playback/MediaError.h"

namespace media {

base::Error makeError(MediaError code, std::string description)
{
    return base::Error(MediaErrorDomain, static_cast<long>(code),
        { { base::Value(base::Error::LocalizedDescriptionKey), base::Value(std::move(description)) } });
}

} // namespace media
