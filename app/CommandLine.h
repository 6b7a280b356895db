// app::CommandLine: what the command line asks of lumet-companion:
//
//   lumet-companion [--server URL] [--headless] [--snapshots DIR] [--tour]
//                   [--account NAME --password TEXT] [--verbose] [--help]
//
// --server chooses the tracking service (else the setting "RootUrl", else the local service); --headless
// runs without a window; --snapshots is where pictures go ("snapshots" by default); --tour walks the screens
// and takes a picture of each; --account and --password fill the login screen when no account is
// remembered; --verbose turns every detail log category on (LUMET_LOG=sql,net turns on only those). Pure;
// any thread.
//
//   std::string error;
//   auto options = app::CommandLine::parse(argc, argv, &error);
//   if (!options) { std::cerr << error << "\n" << app::CommandLine::usage(); return 2; }
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace app {

struct CommandLine {
    std::optional<std::string> server;
    bool headless { false };
    std::filesystem::path snapshots { "snapshots" };
    bool tour { false };
    std::optional<std::string> account;
    std::optional<std::string> password;
    bool verbose { false };
    bool help { false };

    // Nothing, with the reason in `error`, for an unknown option, a missing value or a server address that
    // is not an http or https URL with a host.
    static std::optional<CommandLine> parse(int argc, const char* const* argv, std::string* error);
    static std::string usage();
};

} // namespace app
