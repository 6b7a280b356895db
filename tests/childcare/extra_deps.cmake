# Driven against the local tracking service, started in-process, through the screen tests' fixture.
target_link_libraries(childcare_tests PRIVATE screen_test_support)
