// lumet-companion: the owner's companion application for GPS watches and trackers.
//
//   lumet-companion [--server URL] [--headless] [--snapshots DIR] [--tour] [--account NAME --password TEXT]
#include "app/CommandLine.h"
#include "app/Launch.h"

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
    return app::launch(*options);
}
