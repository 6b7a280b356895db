# The peer is libcurl used directly; the server both sides talk to is cpp-httplib on a thread of the process.
pkg_check_modules(LUMET_BENCH_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(LUMET_BENCH_CURL REQUIRED IMPORTED_TARGET libcurl)
target_link_libraries(bench_networking PRIVATE PkgConfig::LUMET_BENCH_HTTPLIB PkgConfig::LUMET_BENCH_CURL)
