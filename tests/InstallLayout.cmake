# Installs the build into a temporary root, as a package would (prefix /usr), and checks
# that exactly the expected files land there, that each icon has the size its folder names,
# and that the menu entry, the software-centre description, the manual pages and the shell
# completion pass their validators.
# Run as: cmake -DBUILD_DIR=<build> -DROOT=<scratch folder> -DGUI=ON|OFF
#               [-DDESKTOP_FILE_VALIDATE=<path>] [-DAPPSTREAMCLI=<path>] [-DMAN=<path>]
#               -P InstallLayout.cmake
# A validator left empty was not found when the build was configured and is skipped.

file(REMOVE_RECURSE "${ROOT}")
set(ENV{DESTDIR} "${ROOT}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(iconSizes 16 22 24 32 48 64 128 256)
set(expected
    usr/bin/morvane-batch
    usr/share/bash-completion/completions/morvane-batch
    usr/share/man/man1/morvane-batch.1.gz)
if(GUI)
    list(APPEND expected
         usr/bin/morvane
         usr/share/applications/org.quarnel.Morvane.desktop
         usr/share/metainfo/org.quarnel.Morvane.metainfo.xml
         usr/share/icons/hicolor/scalable/apps/org.quarnel.Morvane.svg
         usr/share/man/man1/morvane.1.gz)
    foreach(size IN LISTS iconSizes)
        list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/org.quarnel.Morvane.png)
    endforeach()
endif()
file(GLOB_RECURSE installed RELATIVE "${ROOT}" "${ROOT}/*")
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
    string(REPLACE ";" "\n  " expectedLines "${expected}")
    string(REPLACE ";" "\n  " installedLines "${installed}")
    message(FATAL_ERROR "Installed:\n  ${installedLines}\nExpected:\n  ${expectedLines}")
endif()

foreach(program IN ITEMS morvane-batch morvane)
    if(EXISTS "${ROOT}/usr/bin/${program}" AND NOT IS_DIRECTORY "${ROOT}/usr/bin/${program}")
        file(READ "${ROOT}/usr/bin/${program}" magic LIMIT 4 HEX)
        if(NOT magic STREQUAL "7f454c46")
            message(FATAL_ERROR "usr/bin/${program} is not a program")
        endif()
    endif()
endforeach()

# A PNG's width and height are the first two words of its header chunk, at byte 16.
if(GUI)
    foreach(size IN LISTS iconSizes)
        set(icon "${ROOT}/usr/share/icons/hicolor/${size}x${size}/apps/org.quarnel.Morvane.png")
        file(READ "${icon}" header OFFSET 16 LIMIT 8 HEX)
        string(SUBSTRING "${header}" 0 8 widthHex)
        string(SUBSTRING "${header}" 8 8 heightHex)
        math(EXPR width "0x${widthHex}")
        math(EXPR height "0x${heightHex}")
        if(NOT width EQUAL size OR NOT height EQUAL size)
            message(FATAL_ERROR "The ${size}x${size} icon is ${width}x${height}")
        endif()
    endforeach()
endif()

# Fails when the validator fails or says anything about the file.
function(check what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR output MATCHES "warning|error")
        message(FATAL_ERROR "${what} does not pass:\n${output}")
    endif()
endfunction()

# man prints the formatted page on standard output and troff's warnings on standard error.
function(check_manual_page page)
    execute_process(COMMAND "${MAN}" --warnings -E UTF-8 -l -Tutf8 -Z "${page}"
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE warnings)
    if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
        message(FATAL_ERROR "The manual page ${page} does not pass:\n${warnings}")
    endif()
endfunction()

check("The bash completion" bash -n "${ROOT}/usr/share/bash-completion/completions/morvane-batch")
set(manualPages morvane-batch)
if(GUI)
    list(APPEND manualPages morvane)
endif()
if(MAN)
    set(ENV{LC_ALL} C.UTF-8)
    set(ENV{MANROFFSEQ} "")
    set(ENV{MANWIDTH} 80)
    foreach(page IN LISTS manualPages)
        check_manual_page("${ROOT}/usr/share/man/man1/${page}.1.gz")
    endforeach()
endif()
if(GUI AND DESKTOP_FILE_VALIDATE)
    check("The desktop entry" "${DESKTOP_FILE_VALIDATE}"
          "${ROOT}/usr/share/applications/org.quarnel.Morvane.desktop")
endif()
if(GUI AND APPSTREAMCLI)
    check("The metainfo" "${APPSTREAMCLI}" validate --no-net --no-color
          "${ROOT}/usr/share/metainfo/org.quarnel.Morvane.metainfo.xml")
endif()
