// core::voiceUploadRoot: the root address that voice messages are uploaded to (followed by
// ServiceProtocol::VoiceUploadPath): the user-defaults setting "VoiceUploadRoot" when it holds a text, else
// the local tracking service. The command line may set the setting. Any thread.
//
//   std::string url = core::voiceUploadRoot() + core::ServiceProtocol::VoiceUploadPath;
#pragma once

#include <string>

namespace core {

inline constexpr const char* VoiceUploadRootKey = "VoiceUploadRoot";
// The local tracking service that scripts/run starts; the path follows without a separator of its own.
inline constexpr const char* DefaultVoiceUploadRoot = "http://127.0.0.1:8080/";

std::string voiceUploadRoot();

} // namespace core
