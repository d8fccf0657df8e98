# Compiler settings shared by every target of the project.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

# Rebuilds of a second checkout or after a branch switch reuse earlier compilations when ccache is
# installed; without it nothing changes.
find_program(LANTERNA_CCACHE ccache)
if(LANTERNA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${LANTERNA_CCACHE})
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

# Warnings are errors in the project's own builds (scripts/build, the sanitizer and fuzz scripts,
# CI turn this on); a packager's or user's plain build keeps them warnings, so that a compiler's
# false warning cannot stop it.
option(LANTERNA_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra)
if(LANTERNA_WERROR)
    add_compile_options(-Werror)
endif()
# GCC 12 at -O3 warns falsely about code it has inlined: -Wrestrict on std::string
# concatenations such as "v" + std::to_string(n), -Wmaybe-uninitialized on the std::function and
# std::string members of a structure built in place. Both are off for that compiler in Release
# alone; every other build type and compiler keeps them.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options($<$<CONFIG:Release>:-Wno-restrict>
                        $<$<CONFIG:Release>:-Wno-maybe-uninitialized>)
endif()

# LANTERNA_SANITIZE takes a comma-separated list for -fsanitize=, e.g. "address,undefined" or "thread".
set(LANTERNA_SANITIZE "" CACHE STRING "Sanitizers to build with (address,undefined | thread)")
if(LANTERNA_SANITIZE)
    add_compile_options(-fsanitize=${LANTERNA_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${LANTERNA_SANITIZE})
endif()

# The fuzz build instruments the whole core for coverage; fuzz targets add the fuzzer runtime.
if(LANTERNA_WITH_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
