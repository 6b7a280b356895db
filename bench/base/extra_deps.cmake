# The benchmark files of this folder share Google Benchmark's own main.
target_link_libraries(bench_base PRIVATE benchmark::benchmark_main)
