// tracking-service: runs the local tracking service alone until interrupted.
//
//   tracking-service --port 8080 [--host 127.0.0.1] [--data <folder>] [--fault ENDPOINT=KIND[:ARG]]...
//   tracking-service --help
#include "base/system/Log.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/FaultText.h"
#include "tracking-service/TrackingService.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Options {
    std::string host = "127.0.0.1";
    int port = 8080;
    std::filesystem::path dataFolder;
    std::vector<tracking_service::FaultText> faults;
};

// The service keeps its state apart from the application's: $XDG_DATA_HOME/lumet-tracking-service.
std::filesystem::path defaultDataFolder()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::filesystem::path(data) / "lumet-tracking-service";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local/share/lumet-tracking-service";
}

bool parse(int argc, char** argv, Options& options)
{
    options.dataFolder = defaultDataFolder();
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (i + 1 >= argc)
            return false;
        std::string value = argv[++i];
        if (argument == "--port") {
            char* end = nullptr;
            long port = std::strtol(value.c_str(), &end, 10);
            if (*end || port <= 0 || port > 65535)
                return false;
            options.port = static_cast<int>(port);
        } else if (argument == "--host") {
            options.host = value;
        } else if (argument == "--data") {
            options.dataFolder = value;
        } else if (argument == "--fault") {
            std::string error;
            auto fault = tracking_service::FaultText::parse(value, &error);
            if (!fault) {
                std::cerr << "tracking-service: --fault " << value << ": " << error << "\n";
                return false;
            }
            options.faults.push_back(std::move(*fault));
        } else {
            return false;
        }
    }
    return true;
}

void printUsage(std::ostream& out)
{
    out << "usage: tracking-service [--port N] [--host ADDRESS] [--data FOLDER] [--fault ENDPOINT=KIND[:ARG]]...\n"
        << "ENDPOINT is a web method, a file endpoint or * for all; KIND is one of\n"
        << tracking_service::FaultText::kinds() << "Faults are set and lifted at run time from this machine at "
        << tracking_service::TrackingService::FaultControlPath << ".\n";
}

} // namespace

int main(int argc, char** argv)
{
    // Asked for, the usage is the output (status 0); after a wrong command line it is the error (status 2).
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        printUsage(std::cout);
        return 0;
    }
    Options options;
    if (!parse(argc, argv, options)) {
        printUsage(std::cerr);
        return 2;
    }

    // The signals are taken by sigwait below, not by a handler, so stopping runs on an ordinary thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    tracking_service::TrackingService service(options.dataFolder);
    service.setLogsRequests(true);
    // Nobody reads the requests back here: keeping them would only grow the process.
    service.requestLog().setRecording(tracking_service::RequestLog::Recording::Off);
    for (auto& fault : options.faults)
        service.faults().set(std::move(fault.endpoint), std::move(fault.fault));
    if (!service.start(options.host, options.port)) {
        std::cerr << "tracking-service: cannot serve on " << options.host << ":" << options.port << " with data in "
                  << options.dataFolder << "\n";
        return 1;
    }
    std::cout << "tracking-service: serving " << service.rootUrl() << " (data in " << options.dataFolder.string()
              << ")\n"
              << "demo account: " << tracking_service::DemoData::AccountName << std::endl;

    int received = 0;
    sigwait(&signals, &received);
    service.stop();
    return 0;
}
