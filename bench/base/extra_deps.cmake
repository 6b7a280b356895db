# The benchmark files of this folder share Google Benchmark's own main; simdjson's UTF-8 check is the peer of ours.
find_package(simdjson CONFIG REQUIRED)
target_link_libraries(bench_base PRIVATE benchmark::benchmark_main simdjson::simdjson)
