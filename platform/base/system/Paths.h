// base::Paths: where the application keeps its files. Everything lives under one data root: $LUMET_HOME when
// set (tests point it at a temporary folder), else the XDG folders: documents and caches under
// $XDG_DATA_HOME/lumet-companion (default ~/.local/share/lumet-companion), preferences (user defaults, the
// keychain file) under $XDG_CONFIG_HOME/lumet-companion (default ~/.config/lumet-companion). The variables are
// read at every call. Each folder, and any missing one above it, is created (mode 0700) when asked for. Safe
// from any thread.
//
//   std::filesystem::path database = base::Paths::documents() / "dataBase.sqlite";
//   std::filesystem::path scratch = base::Paths::temporary() / "record.caf";
#pragma once

#include <filesystem>

namespace base {

class Paths {
public:
    // $LUMET_HOME, or the XDG data folder of the application.
    static std::filesystem::path dataRoot();
    static std::filesystem::path documents();
    static std::filesystem::path caches();
    static std::filesystem::path temporary();
    // $LUMET_HOME/Preferences, or the XDG config folder of the application.
    static std::filesystem::path preferences();
};

} // namespace base
