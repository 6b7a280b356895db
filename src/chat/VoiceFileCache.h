// chat::VoiceFileCache: the one way a voice or image file of a chat reaches the phone. A file already in the
// message folder is handed back at once; otherwise it is downloaded (a POST with the session cookie, on the
// main thread) and kept under its cache name, but only when it is what it claims to be: voice that starts as
// AMR ("#!AMR\n") or 3GP ("ftyp" at bytes 4-7) and decodes to WAVE data, an image that decodes. Anything
// else (an empty body, an error page, a cut file) is logged and not kept, so the next request fetches it
// again. A watch's voice file is asked for by name at the chosen server's download address (the name
// percent-escaped on the wire) and kept as "LumetDow.ashx?FileName=<name>"; the phone's own files at their
// address, kept under its last part. Main thread.
//
//   chat::VoiceFileCache::fetchWatchVoice(message->context.value_or(""),
//       [weak](const base::Data& amr) { if (auto self = weak.lock()) self->play(amr); }, {});
#pragma once

#include "base/values/Value.h"

#include <functional>
#include <string>
#include <string_view>

namespace chat {

class VoiceFileCache {
public:
    enum class Content { Voice, Image };
    using Ready = std::function<void(const base::Data& bytes)>;
    using Failed = std::function<void()>;

    // The download address of a watch's voice file on the chosen server, and the name it is kept under.
    static std::string watchVoiceUrl(std::string_view fileName);
    static std::string watchVoiceCacheName(std::string_view fileName);
    // What follows the last "/" of an address (all of it without one).
    static std::string lastPathPart(std::string_view url);

    static bool isPlayableVoice(const base::Data& bytes);
    static bool isDecodableImage(const base::Data& bytes);

    static void fetchWatchVoice(std::string_view fileName, Ready ready, Failed failed);
    static void fetchOwnFile(const std::string& url, Content content, Ready ready, Failed failed);
    // The file kept as `cacheName`, else the one at `url`, checked as `content`. `ready` runs at once for a
    // kept file, later on the main thread for a downloaded one; `failed` for a failed or unusable download.
    static void fetch(
        const std::string& url, const std::string& cacheName, Content content, Ready ready, Failed failed);
};

} // namespace chat
