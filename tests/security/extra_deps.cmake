# The Secret Service tests need a session bus and a keyring: they run once more inside a private session with a
# keyring of their own (their ordinary registration skips them).
add_test(NAME security.SecretService
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/security/private-keyring.sh" $<TARGET_FILE:security_tests>
        --gtest_filter=SecretService*)
set_tests_properties(security.SecretService PROPERTIES
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${LUMET_LSAN_SUPP};ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
