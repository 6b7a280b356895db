// core::voiceUploadRoot: the root address that voice messages are uploaded to (followed by
// ServiceProtocol::VoiceUploadPath, which has no leading separator): the user-defaults setting
// "VoiceUploadRoot" when it holds a text that is not empty, else the configured server (Singleton::server()),
// either ending in "/" (added when missing). The command line may set the setting. Any thread.
//
//   std::string url = core::voiceUploadRoot() + core::ServiceProtocol::VoiceUploadPath;
#pragma once

#include <string>

namespace core {

inline constexpr const char* VoiceUploadRootKey = "VoiceUploadRoot";

std::string voiceUploadRoot();

} // namespace core
