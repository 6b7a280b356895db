# The launch case starts the application's own executable of this tree.
add_dependencies(bench_app lumet-companion)
target_compile_definitions(bench_app PRIVATE LUMET_COMPANION_PATH="$<TARGET_FILE:lumet-companion>")
target_link_libraries(bench_app PRIVATE benchmark::benchmark_main)
