# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh prefix and starts the installed program from another folder:
# it must find its workbooks and its cursor in the installed data, as it does when started from
# a desktop menu.
# The print preview library must be where the installed program looks for it.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DPRINT_PREVIEW_FROM_BIN=... -P check_install.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
set(elsewhere "${WORK_DIR}/elsewhere")
file(MAKE_DIRECTORY "${elsewhere}")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

foreach(file bin/kelsa libexec/kelsa/kelsa-sheet-reader share/kelsa/32761.CUR share/kelsa/help.htm share/kelsa/т11.1.xls
        share/kelsa/т13мах.xls share/applications/org.kelsa.Kelsa.desktop
        share/icons/hicolor/32x32/apps/org.kelsa.Kelsa.png share/metainfo/org.kelsa.Kelsa.metainfo.xml
        "bin/${PRINT_PREVIEW_FROM_BIN}")
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# Neither the built nor the installed programs carry a library path: an empty entry in one is
# the working folder, where any file named like a library would be loaded.
foreach(program "${BUILD_DIR}/bin/kelsa" "${prefix}/bin/kelsa"
        "${prefix}/libexec/kelsa/kelsa-sheet-reader")
    execute_process(COMMAND readelf -d "${program}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "readelf -d ${program} failed: ${rc}")
    endif()
    if(dynamic MATCHES "RUNPATH|RPATH")
        message(FATAL_ERROR "${program} carries a library path:\n${dynamic}")
    endif()
endforeach()

set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${prefix}/bin/kelsa" --screenshot "${elsewhere}/shot.png"
    WORKING_DIRECTORY "${elsewhere}"
    RESULT_VARIABLE rc ERROR_VARIABLE errors OUTPUT_VARIABLE output TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT EXISTS "${elsewhere}/shot.png")
    message(FATAL_ERROR "the installed kelsa did not render its window (${rc}): ${errors}")
endif()
# Any report of a missing workbook or cursor names the file.
if(errors MATCHES "\\.xls|32761\\.CUR")
    message(FATAL_ERROR "the installed kelsa did not find its files:\n${errors}")
endif()
message(STATUS "installed kelsa started from ${elsewhere} and found its data")
