# The raw side writes the same rows with the sqlite3 C API; the file uses Google Benchmark's own main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_CORE_SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
target_link_libraries(bench_core PRIVATE PkgConfig::BENCH_CORE_SQLITE3 benchmark::benchmark_main)
