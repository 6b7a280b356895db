# Build-tree flags and the helpers every folder uses to declare its library, tests, benchmark and fuzz targets.

add_compile_options(-Wall -Wextra)

if(LUMET_TREE STREQUAL "test")
    set(LUMET_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(-g -O1 ${LUMET_SANITIZE})
    add_link_options(${LUMET_SANITIZE})
elseif(LUMET_TREE STREQUAL "bench")
    add_compile_options(-O2)
    add_compile_definitions(NDEBUG)
elseif(LUMET_TREE STREQUAL "run")
    add_compile_options(-O2 -g)
    add_compile_definitions(NDEBUG)
elseif(LUMET_TREE STREQUAL "fuzz")
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "The fuzz tree is built with clang (CC=clang CXX=clang++)")
    endif()
    add_compile_options(-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

# lumet_library(NAME [DEPS lib...] [PKG pkg-config-module...] [LIBS raw-lib...])
# Compiles every .cpp of the calling folder and its component sub-folders into the static library NAME.
# Headers are included as "<folder>/<Header>.h" or "<folder>/<component>/<Header>.h" from the parent
# directory (platform/ or src/).
function(lumet_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;PKG;LIBS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    # An executable's main/ folder holds its entry point, which is not part of its library.
    list(FILTER sources EXCLUDE REGEX "/main/[^/]*\\.cpp$")
    # A folder whose sources are still to come declares a header-only library.
    set(scope PUBLIC)
    if(sources)
        add_library(${name} STATIC ${sources})
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    get_filename_component(parent "${CMAKE_CURRENT_SOURCE_DIR}" DIRECTORY)
    target_include_directories(${name} ${scope} "${parent}")
    target_link_libraries(${name} ${scope} ${ARG_DEPS} ${ARG_LIBS} Threads::Threads)
    foreach(pkg IN LISTS ARG_PKG)
        string(MAKE_C_IDENTIFIER "PC_${pkg}" var)
        pkg_check_modules(${var} REQUIRED IMPORTED_TARGET ${pkg})
        target_link_libraries(${name} ${scope} PkgConfig::${var})
    endforeach()
endfunction()
