# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# Runs orvik-viewer the way a script or a newcomer would and checks what it
# prints, writes and returns.
#   cmake -DVIEWER=<bin/orvik-viewer> -DWORK=<scratch folder> -DCHECK=<name> -P viewer_check.cmake
cmake_minimum_required(VERSION 3.16)

# run(<exit code> <exact stdout> <stderr regex> <viewer arguments>...)
function(run code out err)
    execute_process(COMMAND ${VIEWER} ${ARGN} RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e TIMEOUT 60)
    if(NOT "${r}" STREQUAL "${code}" OR NOT "${o}" STREQUAL "${out}" OR NOT "${e}" MATCHES "${err}")
        message(FATAL_ERROR "orvik-viewer ${ARGN}: exit ${r}\nstdout [${o}]\nstderr [${e}]")
    endif()
endfunction()

# run_matching(<exit code> <stdout regex> <stderr regex> <viewer arguments>...)
function(run_matching code out err)
    execute_process(COMMAND ${VIEWER} ${ARGN} RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e TIMEOUT 60)
    if(NOT "${r}" STREQUAL "${code}" OR NOT "${o}" MATCHES "${out}" OR NOT "${e}" MATCHES "${err}")
        message(FATAL_ERROR "orvik-viewer ${ARGN}: exit ${r}\nstdout [${o}]\nstderr [${e}]")
    endif()
endfunction()

# The options --help names, in order: the viewer's whole command line.
function(help_options result)
    execute_process(COMMAND ${VIEWER} --help OUTPUT_VARIABLE help TIMEOUT 60)
    string(REGEX MATCHALL "\n  (-h, )?--[a-z-]+" options "${help}")
    list(TRANSFORM options REPLACE "^\n  (-h, )?" "")
    set(${result} ${options} PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})
if(CHECK STREQUAL "screenshot")
    set(png ${WORK}/trigger-io.png)
    file(REMOVE ${png})
    run(0 "${png}\n" ".*" --camera exposure-mode --tab "Trigger IO" --screenshot ${png})
    # Width and height from the IHDR chunk; a blank or clipped window
    # compresses to far fewer bytes.
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 8 w)
    string(SUBSTRING "${header}" 40 8 h)
    math(EXPR w "0x${w}")
    math(EXPR h "0x${h}")
    file(SIZE ${png} bytes)
    if(NOT header MATCHES "^89504e47" OR w LESS 900 OR h LESS 900 OR bytes LESS 30000)
        message(FATAL_ERROR "${png}: ${w} x ${h}, ${bytes} bytes")
    endif()

elseif(CHECK STREQUAL "tabs")
    run(0 "Trigger IO\nFeatures\n" ".*" --camera exposure-mode --list-tabs)
    run(0 "Trigger IO\nFeatures\n" ".*" --camera lineout --link-latency 0.5 --list-tabs)
    run(0 "Features\n" "\"Trigger IO\" is not available for this camera \\(code 4\\)"
        --camera no-trigger-io --list-tabs)
    run(0 "Trigger-E/A\nFeatures\n" ".*" --camera syncout --locale de_DE --list-tabs)
    run(1 "" "no tab \"No Such Tab\"; the tabs are: Trigger IO, Features"
        --camera syncout --tab "No Such Tab" --list-tabs)

elseif(CHECK STREQUAL "command-line")
    # Help and version on stdout with exit 0; a bad command line says why,
    # then the usage, on stderr with exit 2.
    run(0 "orvik-viewer ${VERSION}\n" "^$" --version)
    set(usage "Usage: orvik-viewer \\[options\\]\n")
    run_matching(0 "^${usage}.*--camera <camera>.*--list-tabs" "^$" --help)
    run_matching(0 "^${usage}" "^$" -h)
    help_options(options)
    set(expected --help --version --camera --scan --tab --locale --click --acquire --link-latency --pulse-train
        --screenshot --wait --list-tabs)
    if(NOT options STREQUAL expected)
        message(FATAL_ERROR "--help lists [${options}], not [${expected}]")
    endif()
    run_matching(2 "^$" "^orvik-viewer: Unknown option 'bogus'\\.\n${usage}" --bogus --list-tabs)
    run_matching(2 "^$" "^orvik-viewer: unexpected argument: stray\n${usage}" --list-tabs stray)
    run(2 "" "--wait takes milliseconds" --help --wait -5)
    # --camera=NAME works as well as --camera NAME.
    run(0 "Features\n" ".*" --camera=no-trigger-io --list-tabs)

    # German: the help, the errors and the viewer's own texts.
    run_matching(0 "Diesen Text zeigen und beenden\\..*--list-tabs +Die Beschriftungen der Reiter" "^$"
        --locale de_DE --help)
    run_matching(2 "^$" "^orvik-viewer: --link-latency nimmt Millisekunden von 0 bis 10000, nicht „-1“\n"
        --locale de_DE --link-latency -1)
    run(1 "" "kein Reiter „Nope“; die Reiter sind: Trigger-E/A, Features"
        --locale de_DE --camera syncout --tab Nope --list-tabs)
    run(1 "" "keine Schaltfläche „Edge“ zum Anklicken auf dem gezeigten Reiter"
        --locale de_DE --tab "Trigger-E/A" --click Edge --list-tabs)
    run(0 "Trigger-E/A\nFeatures\n" ".*" --locale de_DE --tab "Trigger-E/A" --click Flanke --list-tabs)
    # Qt's own options beside ours: the locale still counts.
    run(0 "Trigger-E/A\nFeatures\n" ".*" -platform offscreen --locale de_DE --list-tabs)
    run(1 "" "Line9 lässt sich nicht ansteuern: die Kamera hat keine Leitung Line9"
        --locale de_DE --pulse-train Line9:100:20 --list-tabs)

elseif(CHECK STREQUAL "manpage")
    # Every option of --help is in the manual page, which renders without
    # a warning and names this version.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=200 ${MAN} --warnings -E UTF-8 -P cat -l ${MANPAGE}
        RESULT_VARIABLE r OUTPUT_VARIABLE page ERROR_VARIABLE warnings TIMEOUT 60)
    if(NOT r STREQUAL "0" OR NOT warnings STREQUAL "")
        message(FATAL_ERROR "man -l ${MANPAGE}: exit ${r}\n${warnings}")
    endif()
    help_options(options)
    list(APPEND options QT_QPA_PLATFORM "QT_LOGGING_RULES=orvik.tabextension.debug=true" "orvik-viewer/plugins/"
        "orvik-viewer/cameras/" "orvik-viewer/translations/" "orvik-viewer ${VERSION}")
    foreach(option ${options})
        string(FIND "${page}" "${option}" at)
        if(at LESS 0)
            message(FATAL_ERROR "the manual page does not mention ${option}")
        endif()
    endforeach()
    foreach(section NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES)
        if(NOT page MATCHES "\n${section}\n")
            message(FATAL_ERROR "the manual page has no ${section} section")
        endif()
    endforeach()

elseif(CHECK STREQUAL "aravis-fake")
    # Aravis's in-process fake camera: no discovery, no network.
    run(0 "Trigger IO\nFeatures\n" ".*" --camera aravis:Aravis-Fake-ORV01 --list-tabs)
    set(png ${WORK}/fake.png)
    run(0 "${png}\n" ".*" --camera aravis:Aravis-Fake-ORV01 --acquire --screenshot ${png})

elseif(CHECK STREQUAL "signals")
    # Checking a trigger set-up from the command line: Edge, start, a pulse train.
    set(png ${WORK}/edge.png)
    file(REMOVE ${png})
    run(0 "${png}\n" ".*" --camera exposure-mode --tab "Trigger IO" --click Edge --acquire
        --pulse-train Line0:100:20 --wait 1500 --screenshot ${png})
    run(2 "" "--pulse-train takes LINE:PERIOD:WIDTH\\[:COUNT\\] in milliseconds" --pulse-train Line0:10:20)
    run(2 "" "--wait takes milliseconds" --wait soon)
    run(1 "" "no button \"Nope\" to click on the tab shown" --camera exposure-mode --tab "Trigger IO" --click Nope
        --list-tabs)
    run(1 "" "cannot drive Line9: the camera has no line Line9" --camera exposure-mode --pulse-train Line9:100:20
        --list-tabs)

elseif(CHECK STREQUAL "bad-camera")
    file(WRITE ${WORK}/broken.json "{\n    \"name\": \"Broken\",\n    \"features\": [ { \"name\": \"Width\", }\n]}\n")
    file(REMOVE ${WORK}/never.png)
    run(1 "" "broken\\.json, line 3: " --camera ${WORK}/broken.json --screenshot ${WORK}/never.png)
    if(EXISTS ${WORK}/never.png)
        message(FATAL_ERROR "a screenshot was written for a camera that did not open")
    endif()
    run(1 "" "no-such-camera: no such file, and no no-such-camera.json in " --camera no-such-camera --list-tabs)
    run(2 "" "Missing value after '--camera'" --camera)
    run(2 "" "--camera needs a value" --camera= --list-tabs)
    run(2 "" "--link-latency takes milliseconds from 0 to 10000, not \"fast\"" --link-latency fast --list-tabs)

elseif(CHECK STREQUAL "hostile-plugins")
    # A viewer whose plugins/ holds, beside the real plug-in, damaged copies of
    # it and the hostile plug-ins the tests build. It must start, offer the
    # real tab, and say why it skipped each other file.
    get_filename_component(bin ${VIEWER} DIRECTORY)
    set(real ${bin}/plugins/libtabextensiontriggerio.so)
    file(REMOVE_RECURSE ${WORK}/bin)
    file(MAKE_DIRECTORY ${WORK}/bin/plugins)
    # The copy finds its library beside it, as the viewer does (RPATH $ORIGIN).
    file(GLOB library ${bin}/libOrvikCPP.so*)
    file(COPY ${VIEWER} ${real} ${library} DESTINATION ${WORK}/bin)
    file(RENAME ${WORK}/bin/libtabextensiontriggerio.so ${WORK}/bin/plugins/libtabextensiontriggerio.so)
    file(GLOB hostile ${HOSTILE_PLUGINS}/*.so)
    file(COPY ${hostile} DESTINATION ${WORK}/bin/plugins)
    set(expected)
    foreach(bytes 1000 4096 30000 100000)
        execute_process(COMMAND head -c ${bytes} ${real} OUTPUT_FILE ${WORK}/bin/plugins/libcut${bytes}.so)
        list(APPEND expected "libcut${bytes}.so skipped: truncated")
    endforeach()
    file(WRITE ${WORK}/bin/plugins/libtext.so "not a library\n")
    list(APPEND expected "libtext.so skipped: not an ELF shared library")
    foreach(file ${hostile})
        get_filename_component(name ${file} NAME)
        list(APPEND expected "${name} skipped: ")
    endforeach()
    execute_process(COMMAND ${WORK}/bin/orvik-viewer --camera ${CAMERAS}/exposure-mode.json --list-tabs
        RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e TIMEOUT 60)
    if(NOT r STREQUAL "0" OR NOT o STREQUAL "Trigger IO\nFeatures\n")
        message(FATAL_ERROR "orvik-viewer with hostile plug-ins: exit ${r}\nstdout [${o}]\nstderr [${e}]")
    endif()
    foreach(line ${expected})
        string(FIND "${e}" "${line}" at)
        if(at LESS 0)
            message(FATAL_ERROR "orvik-viewer did not say \"${line}...\"\nstderr [${e}]")
        endif()
    endforeach()

else()
    message(FATAL_ERROR "unknown CHECK ${CHECK}")
endif()
