# The raw side draws with cairo and pango directly; the file uses Google Benchmark's own main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
target_link_libraries(bench_ui PRIVATE PkgConfig::BENCH_PANGOCAIRO benchmark::benchmark_main)
# The voice-messaging screens measured as full frames (ChatScreensBench.cpp).
target_link_libraries(bench_ui PRIVATE chat)
