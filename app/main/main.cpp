// lumet-companion: the owner's companion application for GPS watches and trackers.
//
//   lumet-companion [--server URL] [--headless] [--snapshots DIR] [--tour] [--account NAME --password TEXT]
//
// The password may also come from the environment variable LUMET_PASSWORD, which other users of the machine
// cannot read as they can read a command line; it is removed from the environment once read.
#include "app/CommandLine.h"
#include "app/Launch.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    std::string error;
    auto options = app::CommandLine::parse(argc, argv, &error);
    if (!options) {
        std::cerr << "lumet-companion: " << error << "\n" << app::CommandLine::usage();
        return 2;
    }
    if (options->help) {
        std::cout << app::CommandLine::usage();
        return 0;
    }
    if (const char* password = std::getenv("LUMET_PASSWORD")) {
        if (!options->password)
            options->password = password;
        unsetenv("LUMET_PASSWORD");
    }
    return app::launch(*options);
}
