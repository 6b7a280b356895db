# The networking tests serve their requests from an in-process cpp-httplib server and make TLS certificates
# with OpenSSL.
pkg_check_modules(LUMET_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(LUMET_OPENSSL REQUIRED IMPORTED_TARGET openssl zlib)
target_link_libraries(networking_tests PRIVATE PkgConfig::LUMET_HTTPLIB PkgConfig::LUMET_OPENSSL)
