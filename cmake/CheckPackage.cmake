# Builds the Debian package of the build tree BUILD into a temporary folder and checks it:
# the executables, the data folders, the desktop entry (which desktop-file-validate must
# accept), the icons, the MIME types, and dependencies found by the package tools.
# Exits with 77 (skipped) when the package tools are missing.

foreach(tool cpack dpkg-deb dpkg-shlibdeps desktop-file-validate file)
    find_program(tool_${tool} ${tool})
    if(NOT tool_${tool})
        message("SKIP: ${tool} is not installed")
        cmake_language(EXIT 77)
    endif()
endforeach()

set(out ${BUILD}/package-test)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out})
execute_process(COMMAND ${tool_cpack} -G DEB -B ${out} --config ${BUILD}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE status OUTPUT_VARIABLE log
                ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${log}")
endif()
file(GLOB debs ${out}/quillex_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one quillex_*.deb in ${out}, found: ${debs}")
endif()

execute_process(COMMAND ${tool_dpkg-deb} -c ${debs} OUTPUT_VARIABLE listing)
foreach(path
        ./usr/bin/quillex
        ./usr/lib/quillex/quillex
        ./usr/lib/quillex/qxtool
        ./usr/lib/quillex/qxdata/
        ./usr/lib/quillex/cog/default.cog
        ./usr/lib/quillex/help/index.html
        ./usr/lib/quillex/help/linebuilder.png
        ./usr/share/applications/quillex.desktop
        ./usr/share/icons/hicolor/16x16/apps/quillex.png
        ./usr/share/icons/hicolor/48x48/apps/quillex.png
        ./usr/share/icons/hicolor/256x256/apps/quillex.png
        ./usr/share/mime/packages/quillex.xml)
    string(FIND "${listing}" " ${path}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${path}:\n${listing}")
    endif()
endforeach()
# The command is a link into the program's folder, so the program finds its data there.
if(NOT listing MATCHES "./usr/bin/quillex -> ../lib/quillex/quillex")
    message(FATAL_ERROR "usr/bin/quillex is not a link to ../lib/quillex/quillex:\n${listing}")
endif()

execute_process(COMMAND ${tool_dpkg-deb} -f ${debs} Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt6widgets6")
    message(FATAL_ERROR "the package's dependencies were not found by the package tools: ${depends}")
endif()

execute_process(COMMAND ${tool_dpkg-deb} -x ${debs} ${out}/root RESULT_VARIABLE status)
execute_process(COMMAND ${tool_desktop-file-validate}
                        ${out}/root/usr/share/applications/quillex.desktop
                RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT status EQUAL 0 OR report MATCHES "error")
    message(FATAL_ERROR "desktop-file-validate refuses the entry:\n${report}")
endif()
file(READ ${out}/root/usr/share/mime/packages/quillex.xml mime)
foreach(needed "type=\"text/x-cog\"" "pattern=\"*.cog\"" "pattern=\"*.gob\"" "pattern=\"*.goo\"")
    string(FIND "${mime}" "${needed}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the MIME file lacks ${needed}")
    endif()
endforeach()
file(REMOVE_RECURSE ${out})
message("package ${debs} checked")
