// A header that promises the main thread has the assert behind it: the real source tree is checked, and the
// checker itself is shown to catch a bare promise in a small tree made for the purpose.
#include "ThreadPromiseCheck.h"

#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

void write(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

TEST(ThreadPromises, EveryMainThreadHeaderOfTheSourceTreeHasTheAssertBehindIt)
{
    ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(LUMET_SOURCE_DIR) / "platform/base/loop/MainThread.h"));
    for (const auto& header : test::uncheckedMainThreadPromises(LUMET_SOURCE_DIR))
        ADD_FAILURE() << header.string() << " says \"Main thread\" but its source file never asserts it";
}

TEST(ThreadPromises, ABarePromiseIsListedAndAnAssertedOrInterfaceOnlyOneIsNot)
{
    test::TempDir root;
    auto ui = root.path() / "platform/ui";
    write(ui / "Bare.h", "// ui::Bare: a view. Main thread.\n#pragma once\n");
    write(ui / "Bare.cpp", "void Bare::show() { m_shown = true; }\n");
    write(ui / "Checked.h", "// ui::Checked: a view. Main thread; made with std::make_shared.\n");
    write(ui / "Checked.cpp", "void Checked::show()\n{\n    BASE_ASSERT_MAIN_THREAD();\n}\n");
    write(ui / "CheckedDelegate.h", "// ui::CheckedDelegate: told when it shows. Main thread.\n");
    write(root.path() / "src/core/Notifier.h",
        "// core::Notifier: any thread; the notifier belongs to the main thread.\n");
    write(root.path() / "src/core/Notifier.cpp", "void Notifier::start() {}\n");
    write(root.path() / "src/core/Reader.h", "// core::Reader: any thread; replies are posted to the main thread.\n");
    write(root.path() / "src/core/Reader.cpp", "void Reader::read() {}\n");
    write(root.path() / "src/core/sub/Nested.h",
        "#pragma once\nclass Nested {\n    // Main thread only.\n    void f();\n};\n");
    write(root.path() / "src/core/sub/Nested.cpp", "void Nested::f() {}\n");
    std::vector<std::filesystem::path> expected { "platform/ui/Bare.h", "src/core/Notifier.h",
        "src/core/sub/Nested.h" };
    EXPECT_EQ(test::uncheckedMainThreadPromises(root.path()), expected);
}

} // namespace
