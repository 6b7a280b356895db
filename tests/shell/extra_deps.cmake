# The shell is driven against the local tracking service, started in-process, through the screen tests'
# fixture; the tour's pictures come from the headless host and one test signs in through the SDL window host.
target_link_libraries(shell_tests PRIVATE screen_test_support)
