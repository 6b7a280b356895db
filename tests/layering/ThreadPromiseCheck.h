// test::uncheckedMainThreadPromises: the headers of the source tree whose comments promise that the type is
// used on the main thread ("Main thread", "belongs to the main thread", "only on the main thread") while the
// source file of the same name never asserts it with BASE_ASSERT_MAIN_THREAD. A header with no source file of
// its own (an interface, a delegate, a value type) has no entry point to check and is not listed.
//
//   for (const auto& header : test::uncheckedMainThreadPromises(sourceRoot)) ADD_FAILURE() << header;
#pragma once

#include <filesystem>
#include <vector>

namespace test {

// Header paths relative to `root`, sorted; the folders platform/, src/, tools/ and app/ are searched.
std::vector<std::filesystem::path> uncheckedMainThreadPromises(const std::filesystem::path& root);

} // namespace test
