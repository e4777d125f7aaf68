# kalmo_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [DISPLAY])
# A Qt Test executable registered with CTest. Tests run offscreen unless DISPLAY is
# given, in which case they use the X server the test script started (Xvfb).
function(kalmo_add_test name)
    cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        KALMO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        KALMO_ASSETS="${PROJECT_SOURCE_DIR}/assets")
    add_test(NAME ${name} COMMAND ${name})
    if(T_DISPLAY)
        set(env "QT_QPA_PLATFORM=xcb;QTWEBENGINE_DISABLE_SANDBOX=1")
        list(APPEND T_LABELS display)
    else()
        set(env "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
    # Chromium and the sanitizer builds each want the machine for themselves: beside one
    # another they slow each other past the tests' generous limits. One lock for all of them.
    if("chromium" IN_LIST T_LABELS OR "sanitize" IN_LIST T_LABELS OR "tsan" IN_LIST T_LABELS)
        set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK chromium)
    endif()
endfunction()

# kalmo_add_share_test(<name> <test target> [SSHFS_OPTIONS "<options>"] [ARGS ...])
# Runs a test executable under scripts/with-share, on a real network file system (sshfs over
# loopback) named by KALMO_SHARE. Where FUSE is unavailable CTest reports it skipped, with the
# reason in its output.
function(kalmo_add_share_test name target)
    cmake_parse_arguments(S "" "SSHFS_OPTIONS" "ARGS" ${ARGN})
    add_test(NAME ${name}
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-share $<TARGET_FILE:${target}> ${S_ARGS})
    set(env "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1")
    if(S_SSHFS_OPTIONS)
        list(APPEND env "KALMO_SHARE_OPTIONS=${S_SSHFS_OPTIONS}")
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${env}" TIMEOUT 600 SKIP_RETURN_CODE 77 LABELS share)
endfunction()
