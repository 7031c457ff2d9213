# The Windows build: the console program's settings, the tests under Wine when cross-built,
# and the ZIP package of the command-line tool.

# Paths are UTF-8 in the program and reach the system through its wide-character calls.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

if(CMAKE_CROSSCOMPILING)
    # The tests run under Wine, quietly, in a prefix of this build's own and without a
    # display; Wine shows the build machine's root folder as drive Z:.
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
        find_program(QX_WINE NAMES wine wine64)
        if(QX_WINE)
            set(CMAKE_CROSSCOMPILING_EMULATOR
                ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
                WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d ${QX_WINE})
        endif()
    endif()
    set(QX_HOST_ROOT "Z:")
endif()

# qxtool.exe with a short README for Windows users, as one ZIP: cpack -G ZIP.
macro(qx_package_windows_tool)
    install(FILES ${CMAKE_SOURCE_DIR}/windows/README.txt DESTINATION .)
    set(CPACK_PACKAGE_NAME qxtool)
    set(CPACK_PACKAGE_VENDOR "Ostrel Forge")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quillex's command-line tool for COG scripts")
    set(CPACK_SYSTEM_NAME win64)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    include(CPack)
endmacro()
