# The peer is libcurl used directly, with simdjson's UTF-8 check on what it collects; the server both sides
# talk to is cpp-httplib in a process of its own (this executable started again).
find_package(simdjson CONFIG REQUIRED)
pkg_check_modules(LUMET_BENCH_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(LUMET_BENCH_CURL REQUIRED IMPORTED_TARGET libcurl)
target_link_libraries(bench_networking PRIVATE PkgConfig::LUMET_BENCH_HTTPLIB PkgConfig::LUMET_BENCH_CURL
    simdjson::simdjson)
