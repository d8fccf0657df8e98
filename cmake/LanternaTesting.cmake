# lanterna_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>]
#                   [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value...>])
# Builds one GoogleTest executable and registers it with CTest as a single test. Tests run in
# Korean, the program's own language whose texts they check, unless ENVIRONMENT sets
# LANTERNA_LANG itself.
# Labels in use: unit, integration, threaded (also run under ThreadSanitizer), ui, e2e, slow.
include_guard(GLOBAL)
find_package(GTest REQUIRED)

function(lanterna_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
                                              SKIP_RETURN_CODE 77)
    if(NOT T_ENVIRONMENT MATCHES "(^|;)LANTERNA_LANG=")
        list(APPEND T_ENVIRONMENT LANTERNA_LANG=ko)
    endif()
    # What the programs keep before a write goes to the build tree, never to the user's home.
    if(NOT T_ENVIRONMENT MATCHES "(^|;)XDG_STATE_HOME=")
        list(APPEND T_ENVIRONMENT XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()

# lanterna_add_script_test(NAME <name> SCRIPT <file> [ARGS <args...>] [DEPENDS <targets...>]
#                          [LABELS <labels...>] [TIMEOUT <seconds>])
# Registers a bash script as one test. A target of the test's name builds the programs the
# script runs, so that a test is built by its name like the GoogleTest ones.
function(lanterna_add_script_test)
    cmake_parse_arguments(T "" "NAME;SCRIPT;TIMEOUT" "ARGS;DEPENDS;LABELS" ${ARGN})
    add_custom_target(${T_NAME})
    if(T_DEPENDS)
        add_dependencies(${T_NAME} ${T_DEPENDS})
    endif()
    add_test(NAME ${T_NAME} COMMAND bash ${T_SCRIPT} ${T_ARGS})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
                                              SKIP_RETURN_CODE 77
                                              ENVIRONMENT XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state)
endfunction()
