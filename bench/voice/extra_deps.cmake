# The plain loops call the AMR-NB codec directly.
pkg_check_modules(PC_bench_voice_amrnb REQUIRED IMPORTED_TARGET opencore-amrnb)
target_link_libraries(bench_voice PRIVATE PkgConfig::PC_bench_voice_amrnb)
