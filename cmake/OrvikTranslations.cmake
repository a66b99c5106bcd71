# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# `cmake --build <build> --target lupdate` brings every .ts file in step with
# its sources, with source locations; the build itself only compiles the
# committed .ts files (qt5_add_translation). No build rule has a .ts file as
# its output, so no clean, in any generator, can delete the translations.
add_custom_target(lupdate)

# orvik_add_lupdate(<.ts file> <source folder>...)
# The folders are read as lupdate reads them (C++ sources and headers, .ui
# files, recursively). tests/viewer/tst_translations runs the same lupdate on
# a copy and fails on a text that is missing or untranslated.
function(orvik_add_lupdate ts)
    get_filename_component(ts ${ts} ABSOLUTE)
    get_filename_component(name ${ts} NAME_WE)
    set(list ${CMAKE_BINARY_DIR}/lupdate/${name}.lst)
    set(folders)
    foreach(folder ${ARGN})
        get_filename_component(folder ${folder} ABSOLUTE)
        string(APPEND folders "${folder}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${list} CONTENT "${folders}")
    add_custom_target(lupdate_${name}
        COMMAND Qt5::lupdate -silent -locations relative -no-obsolete @${list} -ts ${ts}
        COMMENT "Updating ${ts}"
        VERBATIM)
    add_dependencies(lupdate lupdate_${name})
    set_property(GLOBAL APPEND PROPERTY ORVIK_LUPDATE "${ts}|${list}")
endfunction()
