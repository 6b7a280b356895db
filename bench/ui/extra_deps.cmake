# The raw side draws with cairo and pango directly; the file uses Google Benchmark's own main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
target_link_libraries(bench_ui PRIVATE PkgConfig::BENCH_PANGOCAIRO benchmark::benchmark_main)
# The purchase frame cases render the purchase screen.
target_link_libraries(bench_ui PRIVATE settings)
