# The shell is driven against the local tracking service, started in-process, through the screen tests'
# fixture; the tour's pictures come from the headless host and one test signs in through the SDL window host.
target_link_libraries(shell_tests PRIVATE screen_test_support)
# The resources test reads the sources for the string keys they look up.
target_compile_definitions(shell_tests PRIVATE LUMET_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The remembered sign-in with a Secret Service runs once more inside a private session with a keyring of its own.
add_test(NAME shell.SecretServiceSignIn
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/security/private-keyring.sh" $<TARGET_FILE:shell_tests>
        --gtest_filter=SecretServiceSignIn.*)
set_tests_properties(shell.SecretServiceSignIn PROPERTIES
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${LUMET_LSAN_SUPP};ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
