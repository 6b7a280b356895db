#include "app/CommandLine.h"

#include "base/text/URL.h"

#include <string_view>

namespace app {

namespace {

    // A service address is short; anything longer would only bloat the settings it is saved in.
    constexpr size_t MaxServerAddressBytes = 2048;

    bool isServiceAddress(const std::string& text)
    {
        auto url = base::URL::parse(text);
        return url && (url->scheme() == "http" || url->scheme() == "https") && !url->host().empty();
    }

} // namespace

std::optional<CommandLine> CommandLine::parse(int argc, const char* const* argv, std::string* error)
{
    CommandLine options;
    auto fail = [&](std::string reason) -> std::optional<CommandLine> {
        if (error)
            *error = std::move(reason);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--tour") {
            options.tour = true;
        } else if (argument == "--verbose") {
            options.verbose = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--server" || argument == "--snapshots" || argument == "--account"
            || argument == "--password") {
            if (i + 1 >= argc)
                return fail(std::string(argument) + " needs a value");
            std::string value = argv[++i];
            if (argument == "--server") {
                if (value.size() > MaxServerAddressBytes)
                    return fail("--server address is longer than 2 KB");
                if (!isServiceAddress(value))
                    return fail("--server needs an http or https address, not \"" + value + "\"");
                options.server = value;
            } else if (argument == "--snapshots") {
                options.snapshots = value;
            } else if (argument == "--account") {
                options.account = value;
            } else {
                options.password = value;
            }
        } else {
            return fail("unknown option \"" + std::string(argument) + "\"");
        }
    }
    return options;
}

std::string CommandLine::usage()
{
    return "usage: lumet-companion [--server URL] [--headless] [--snapshots DIR] [--tour]\n"
           "                       [--account NAME --password TEXT] [--verbose] [--help]\n"
           "  --server URL       the tracking service (else the setting RootUrl, else the local service)\n"
           "  --headless         run without a window\n"
           "  --snapshots DIR    where pictures go (default: snapshots)\n"
           "  --tour             sign in with the account the login screen shows, walk the screens and\n"
           "                     write a picture of each, then quit (status 0 when every screen was reached)\n"
           "  --account NAME     the account the login screen shows when none is remembered\n"
           "  --password TEXT    its password (or the environment variable LUMET_PASSWORD)\n"
           "  --verbose          log every detail category (LUMET_LOG=sql,net picks some; sql-args adds the\n"
           "                     bound values of SQL statements, which hold personal data)\n"
           "  --help             this text\n";
}

} // namespace app
