# The raw side of the benchmarks talks to SQLite directly; the files share Google Benchmark's own main.
find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
target_link_libraries(bench_database PRIVATE PkgConfig::BENCH_SQLITE3 benchmark::benchmark_main)
