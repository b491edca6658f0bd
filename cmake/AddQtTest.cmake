# add_qt_test(name SOURCES ... LIBS ... [WIDGETS])
# One Qt Test executable, registered with CTest. WIDGETS tests run on the offscreen platform.
function(add_qt_test name)
    cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
    qt_add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TEST_OUTPUT_DIRECTORY})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    # No test keeps pictures in the user's cache: under /dev/null none can be kept, so each is
    # decoded, as when the cache cannot be written.
    set(environment XDG_CACHE_HOME=/dev/null)
    if(T_WIDGETS)
        list(APPEND environment QT_QPA_PLATFORM=offscreen)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
endfunction()
