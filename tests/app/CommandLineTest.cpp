// The command line of lumet-companion.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<app::CommandLine> parse(std::vector<const char*> arguments, std::string* error = nullptr)
{
    arguments.insert(arguments.begin(), "lumet-companion");
    return app::CommandLine::parse(static_cast<int>(arguments.size()), arguments.data(), error);
}

TEST(CommandLine, NothingAskedMeansAWindowAgainstTheConfiguredServer)
{
    auto options = parse({});
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->server);
    EXPECT_FALSE(options->headless);
    EXPECT_FALSE(options->tour);
    EXPECT_EQ(options->snapshots, "snapshots");
}

TEST(CommandLine, EveryOptionIsRead)
{
    auto options = parse({ "--server", "http://127.0.0.1:4321", "--headless", "--tour", "--snapshots", "/tmp/pictures",
        "--account", "lumet_demo", "--password", "demo1234", "--verbose" });
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->verbose);
    EXPECT_EQ(options->server, "http://127.0.0.1:4321");
    EXPECT_TRUE(options->headless);
    EXPECT_TRUE(options->tour);
    EXPECT_EQ(options->snapshots, "/tmp/pictures");
    EXPECT_EQ(options->account, "lumet_demo");
    EXPECT_EQ(options->password, "demo1234");
    EXPECT_TRUE(parse({ "--help" })->help);
}

TEST(CommandLine, UnknownOptionsMissingValuesAndOtherAddressesAreRefused)
{
    std::string error;
    EXPECT_FALSE(parse({ "--window" }, &error));
    EXPECT_NE(error.find("--window"), std::string::npos);
    EXPECT_FALSE(parse({ "--server" }, &error));
    EXPECT_NE(error.find("needs a value"), std::string::npos);
    for (const char* address : { "127.0.0.1:8080", "ftp://host", "http://", "file:///tmp" })
        EXPECT_FALSE(parse({ "--server", address })) << address;
    std::string longest = "http://127.0.0.1/" + std::string(2048 - 17, 'a');
    EXPECT_TRUE(parse({ "--server", longest.c_str() }));
    std::string tooLong = longest + "a";
    EXPECT_FALSE(parse({ "--server", tooLong.c_str() }, &error));
    EXPECT_NE(error.find("2 KB"), std::string::npos);
}

} // namespace
