# Helper functions shared by the test, benchmark and fuzz folders.

# Copies data/ (qxdata, cog, help) beside the executables whenever a file in it changes.
function(qx_copy_data)
    file(GLOB_RECURSE data_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
    set(stamp ${CMAKE_BINARY_DIR}/data.stamp)
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${QX_RUNTIME_DIR}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${data_files}
        COMMENT "Copying data beside the executables")
    add_custom_target(qx_data ALL DEPENDS ${stamp})
endfunction()

# A GoogleTest executable NAME from NAME.cpp in the current folder, linked with the core.
function(qx_core_test name)
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE quillex_core GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name})
endfunction()

# A GoogleTest executable that drives the qxtool binary.
function(qx_tool_test name)
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE quillex_core GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE QXTOOL_PATH="${QX_HOST_ROOT}$<TARGET_FILE:qxtool>")
    add_dependencies(${name} qxtool)
    add_test(NAME ${name} COMMAND ${name})
endfunction()

# A QtTest executable for one window.
function(qx_ui_test name)
    add_executable(${name} ${name}.cpp ${ARGN})
    target_link_libraries(${name} PRIVATE quillex_ui Qt6::Test)
    add_dependencies(${name} qx_data qx_verb_qx)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name})
    # Qt's own allocations (fonts, platform plugin) are kept until exit by design.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()

# A Google Benchmark executable.
function(qx_bench name)
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE quillex_core benchmark::benchmark
                                          benchmark::benchmark_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# A libFuzzer target; without QX_FUZZ the same file runs under a replay driver in CTest. Further
# arguments name libraries it needs beside the core.
function(qx_fuzz name)
    if(QX_FUZZ)
        add_executable(${name} ${name}.cpp)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${name} PRIVATE quillex_core ${ARGN})
        target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    elseif(QX_TESTS)
        add_executable(${name}_replay ${name}.cpp ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
        target_link_libraries(${name}_replay PRIVATE quillex_core ${ARGN})
        target_include_directories(${name}_replay PRIVATE ${CMAKE_SOURCE_DIR})
        add_test(NAME ${name}_replay
                 COMMAND ${name}_replay ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
    endif()
endfunction()

# GoogleTest built from its sources with this build's compiler, for a cross build, which
# cannot use the build machine's libraries. Debian's googletest package ships the sources.
function(qx_gtest_from_source)
    set(QX_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest's sources")
    if(NOT EXISTS ${QX_GTEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest's sources are not in ${QX_GTEST_SOURCE}")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${QX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Their warnings are theirs.
    set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
endfunction()
