include_guard(GLOBAL)
# lanterna_add_fuzzer(NAME <name> SOURCES <files...> [LIBS <targets...>])
# Builds a libFuzzer target (clang only; configure with LANTERNA_WITH_FUZZ=ON and
# CMAKE_CXX_COMPILER=clang++). Its seed corpus is the folder corpus/<name> next to the
# CMakeLists.txt that declares it; scripts/run-fuzzers runs every fuzzer for a bounded time.
function(lanterna_add_fuzzer)
    cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${F_NAME} ${F_SOURCES})
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY LANTERNA_FUZZERS
                 "$<TARGET_FILE:${F_NAME}>|${CMAKE_CURRENT_SOURCE_DIR}/corpus/${F_NAME}")
endfunction()

# Writes build-dir/fuzzers.txt: one "binary|corpus" line per fuzzer, for scripts/run-fuzzers.
function(lanterna_write_fuzzer_list)
    get_property(fuzzers GLOBAL PROPERTY LANTERNA_FUZZERS)
    list(JOIN fuzzers "\n" lines)
    file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/fuzzers.txt CONTENT "${lines}\n")
endfunction()
