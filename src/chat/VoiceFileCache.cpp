#include "chat/VoiceFileCache.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/text/PercentEncoding.h"
#include "core/service/Download.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "gfx/images/Image.h"
#include "voice/AmrToWave.h"

#include <algorithm>
#include <cstring>

namespace chat {

namespace {

    constexpr std::string_view amrMagic = "#!AMR\n";
    constexpr std::string_view waveMagic = "RIFF";

    bool startsWith(const base::Data& bytes, size_t offset, std::string_view text)
    {
        return bytes.size() >= offset + text.size()
            && std::memcmp(bytes.data() + offset, text.data(), text.size()) == 0;
    }

    bool isUsable(const base::Data& bytes, VoiceFileCache::Content content)
    {
        return content == VoiceFileCache::Content::Voice ? VoiceFileCache::isPlayableVoice(bytes)
                                                         : VoiceFileCache::isDecodableImage(bytes);
    }

    void arrived(const std::string& bytes, const std::string& cacheName, VoiceFileCache::Content content,
        const VoiceFileCache::Ready& ready, const VoiceFileCache::Failed& failed)
    {
        base::Data data(bytes.begin(), bytes.end());
        if (!isUsable(data, content)) {
            base::log("chat: a downloaded file is not usable and is not kept");
            if (failed)
                failed();
            return;
        }
        if (!core::Singleton::shared().writeMessageFileName(cacheName, data))
            base::log("chat: a downloaded file could not be kept");
        if (ready)
            ready(data);
    }

} // namespace

std::string VoiceFileCache::watchVoiceUrl(std::string_view fileName)
{
    BASE_ASSERT_MAIN_THREAD();
    using PE = base::PercentEncoding;
    return core::Singleton::shared().server() + core::ServiceProtocol::DownloadPath + "?"
        + core::ServiceProtocol::DownloadNameParameter + "="
        + PE::escape(fileName, PE::AllowedCharacters::unreserved());
}

std::string VoiceFileCache::watchVoiceCacheName(std::string_view fileName)
{
    BASE_ASSERT_MAIN_THREAD();
    return lastPathPart(core::ServiceProtocol::DownloadPath) + "?" + core::ServiceProtocol::DownloadNameParameter + "="
        + std::string(fileName);
}

std::string VoiceFileCache::lastPathPart(std::string_view url)
{
    BASE_ASSERT_MAIN_THREAD();
    size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

bool VoiceFileCache::isPlayableVoice(const base::Data& bytes)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!startsWith(bytes, 0, amrMagic) && !startsWith(bytes, 4, "ftyp"))
        return false;
    auto wave = voice::DecodeAmrToWave(bytes);
    return wave && startsWith(*wave, 0, waveMagic);
}

bool VoiceFileCache::isDecodableImage(const base::Data& bytes) { return gfx::Image::decode(bytes) != nullptr; }

void VoiceFileCache::fetchWatchVoice(std::string_view fileName, Ready ready, Failed failed)
{
    BASE_ASSERT_MAIN_THREAD();
    fetch(watchVoiceUrl(fileName), watchVoiceCacheName(fileName), Content::Voice, std::move(ready), std::move(failed));
}

void VoiceFileCache::fetchOwnFile(const std::string& url, Content content, Ready ready, Failed failed)
{
    BASE_ASSERT_MAIN_THREAD();
    fetch(url, lastPathPart(url), content, std::move(ready), std::move(failed));
}

void VoiceFileCache::fetch(
    const std::string& url, const std::string& cacheName, Content content, Ready ready, Failed failed)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& state = core::Singleton::shared();
    if (state.fileExist(cacheName)) {
        if (auto kept = state.readMessageFile(cacheName)) {
            if (ready)
                ready(*kept);
            return;
        }
    }
    core::Download::post(
        url,
        [cacheName, content, ready, failed](std::string bytes) { arrived(bytes, cacheName, content, ready, failed); },
        [failed](const base::Error& error) {
            base::log("chat: Error:" + error.description());
            if (failed)
                failed();
        });
}

} // namespace chat
