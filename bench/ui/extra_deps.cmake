# The raw side draws with cairo and pango directly; the file uses Google Benchmark's own main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
target_link_libraries(bench_ui PRIVATE PkgConfig::BENCH_PANGOCAIRO benchmark::benchmark_main)
# The screen frames are measured in the signed-in application (the shell and every feature screen) against
# the in-process local service.
target_link_libraries(bench_ui PRIVATE shell tracking_service)
# The sign-in's peer makes the same web calls with libcurl directly.
pkg_check_modules(BENCH_UI_CURL REQUIRED IMPORTED_TARGET libcurl)
target_link_libraries(bench_ui PRIVATE PkgConfig::BENCH_UI_CURL)
# The resident memory at rest is measured in a binary of its own, so that no other case's allocations count;
# the binary also runs the local service, started again as a process of its own.
add_executable(bench_ui_memory "${CMAKE_CURRENT_SOURCE_DIR}/ui/memory/RestingMemoryBench.cpp"
    "${CMAKE_CURRENT_SOURCE_DIR}/ui/SignedInScene.cpp")
target_link_libraries(bench_ui_memory PRIVATE shell tracking_service bench_support benchmark::benchmark)
