# Desktop integration of an installed Quillex: a command in bin, the desktop entry, the icon
# in the hicolor theme and the MIME types of scripts and archives; and the Debian package.

set(QX_ICON_SIZES 16 22 24 32 48 64 128 256)
set(QX_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(icon_files)
foreach(size ${QX_ICON_SIZES})
    list(APPEND icon_files ${QX_ICON_DIR}/${size}x${size}/apps/quillex.png)
endforeach()
add_custom_command(
    OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:qxicons> ${QX_ICON_DIR} ${QX_ICON_SIZES}
    DEPENDS qxicons
    COMMENT "Drawing the program's icons")
add_custom_target(qx_icons ALL DEPENDS ${icon_files})

# bin/quillex: a relative link to the program in its own folder, so the program still finds
# its data folders beside its executable.
file(RELATIVE_PATH link_target ${CMAKE_BINARY_DIR}/prefix/bin
     ${CMAKE_BINARY_DIR}/prefix/${QX_INSTALL_APPDIR}/quillex)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/desktop)
file(CREATE_LINK ${link_target} ${CMAKE_BINARY_DIR}/desktop/quillex SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/desktop/quillex DESTINATION bin)

install(FILES ${CMAKE_SOURCE_DIR}/desktop/quillex.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/quillex-mime.xml DESTINATION share/mime/packages
        RENAME quillex.xml)
install(DIRECTORY ${QX_ICON_DIR} DESTINATION share/icons)

# A plain install refreshes the desktop's caches (the package's triggers do it for a package
# install); a staged install (DESTDIR, CPack) leaves them to the system it is made for.
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "_CPack_Packages")
        find_program(QX_UPDATE_MIME update-mime-database)
        find_program(QX_UPDATE_DESKTOP update-desktop-database)
        if(QX_UPDATE_MIME)
            execute_process(COMMAND ${QX_UPDATE_MIME} ${CMAKE_INSTALL_PREFIX}/share/mime
                            RESULT_VARIABLE ignored)
        endif()
        if(QX_UPDATE_DESKTOP)
            execute_process(COMMAND ${QX_UPDATE_DESKTOP} ${CMAKE_INSTALL_PREFIX}/share/applications
                            RESULT_VARIABLE ignored)
        endif()
    endif()
]])

set(CPACK_PACKAGE_NAME quillex)
set(CPACK_PACKAGE_VENDOR "Ostrel Forge")
set(CPACK_PACKAGE_CONTACT "Ostrel Forge <quillex@ostrelforge.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the COG scripts of Jedi Knight and MOTS")
set(CPACK_PACKAGE_DESCRIPTION
    "Writes, checks and tidies COG scripts, extracts them from GOB/GOO archives and builds script lines from the verb reference.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# The libraries the executables link are found by dpkg-shlibdeps (the Qt platform plugins
# come with the Qt GUI library's package).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
