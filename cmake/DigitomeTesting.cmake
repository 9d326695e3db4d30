# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# add_qtest(NAME SOURCES... LIBS libs... [GUI] [LABELS labels...] [TIMEOUT s])
# One Qt Test executable run through ctest. GUI tests run on the offscreen
# platform; every test runs in the C.UTF-8 locale so local runs equal CI.
function(add_qtest name)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test digitome_flags)
    add_test(NAME ${name} COMMAND ${name})
    set(env "LC_ALL=C.UTF-8" "QT_QPA_PLATFORM=offscreen"
            "DIGITOME_TESTDATA=${CMAKE_SOURCE_DIR}/tests/data"
            "DIGITOME_APP_DIR=${DIGITOME_APP_DIR}")
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    # A test that skips (QSKIP, for a missing outside tool) shows as skipped
    # in ctest's summary, not as passed.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT}
                         SKIP_REGULAR_EXPRESSION "SKIP   : ")
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()
