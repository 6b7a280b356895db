// Shared set-up of the shell tests: the screen tests' fixture (support/ScreenFixture.h) as it stands.
#pragma once

#include "support/ScreenFixture.h"

namespace test {

class ShellTest : public ScreenTest { };

} // namespace test
