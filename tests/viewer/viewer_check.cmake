# Runs orvik-viewer the way a script or a newcomer would and checks what it
# prints, writes and returns.
#   cmake -DVIEWER=<bin/orvik-viewer> -DWORK=<scratch folder> -DCHECK=<name> -P viewer_check.cmake
cmake_minimum_required(VERSION 3.16)

function(run_viewer)
    cmake_parse_arguments(R "" "RESULT;STDOUT;STDERR" "ARGS" ${ARGN})
    execute_process(COMMAND ${VIEWER} ${R_ARGS}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    set(${R_RESULT} "${result}" PARENT_SCOPE)
    set(${R_STDOUT} "${out}" PARENT_SCOPE)
    set(${R_STDERR} "${err}" PARENT_SCOPE)
endfunction()

function(expect what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        message(FATAL_ERROR "${what}: expected [${expected}], got [${actual}]")
    endif()
endfunction()

function(expect_match what text regex)
    if(NOT "${text}" MATCHES "${regex}")
        message(FATAL_ERROR "${what}: [${text}] does not match [${regex}]")
    endif()
endfunction()

# Width and height from a PNG's IHDR chunk.
function(png_size file width height)
    file(READ ${file} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    expect("PNG signature of ${file}" "${signature}" "89504e470d0a1a0a")
    string(SUBSTRING "${header}" 32 8 w)
    string(SUBSTRING "${header}" 40 8 h)
    math(EXPR w "0x${w}")
    math(EXPR h "0x${h}")
    set(${width} ${w} PARENT_SCOPE)
    set(${height} ${h} PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})

if(CHECK STREQUAL "screenshot")
    foreach(locale en_US de_DE)
        set(png ${WORK}/trigger-io-${locale}.png)
        file(REMOVE ${png})
        # The tab is named by the plug-in's name, which holds in every language.
        run_viewer(ARGS --camera exposure-mode --locale ${locale} --tab "Trigger IO" --screenshot ${png}
                   RESULT result STDOUT out STDERR err)
        expect("exit code (${locale}): ${err}" "${result}" "0")
        expect("printed path (${locale})" "${out}" "${png}\n")
        png_size(${png} width height)
        if(width LESS 900 OR height LESS 900)
            message(FATAL_ERROR "${png} is only ${width} x ${height}")
        endif()
        # A blank or clipped window compresses to far less.
        file(SIZE ${png} bytes)
        if(bytes LESS 30000)
            message(FATAL_ERROR "${png} has only ${bytes} bytes")
        endif()
    endforeach()

elseif(CHECK STREQUAL "tabs")
    run_viewer(ARGS --camera exposure-mode --list-tabs RESULT result STDOUT out STDERR err)
    expect("exposure-mode exit code: ${err}" "${result}" "0")
    expect("exposure-mode tabs" "${out}" "Trigger IO\nFeatures\n")

    run_viewer(ARGS --camera no-trigger-io --list-tabs RESULT result STDOUT out STDERR err)
    expect("no-trigger-io exit code: ${err}" "${result}" "0")
    expect("no-trigger-io tabs" "${out}" "Features\n")
    expect_match("no-trigger-io notice" "${err}" "\"Trigger IO\" is not available for this camera \\(code 4\\)")

    run_viewer(ARGS --camera syncout --locale de_DE --list-tabs RESULT result STDOUT out STDERR err)
    expect("German exit code: ${err}" "${result}" "0")
    expect("German tabs" "${out}" "Trigger-E/A\nFeatures\n")

    run_viewer(ARGS --camera syncout --tab "No Such Tab" --list-tabs RESULT result STDOUT out STDERR err)
    expect("unknown tab exit code" "${result}" "1")
    expect_match("unknown tab message" "${err}" "no tab \"No Such Tab\"; the tabs are: Trigger IO, Features")

elseif(CHECK STREQUAL "bad-camera")
    set(broken ${WORK}/broken-camera.json)
    file(WRITE ${broken} "{\n    \"name\": \"Broken\",\n    \"features\": [ { \"name\": \"Width\", }\n]}\n")
    run_viewer(ARGS --camera ${broken} --screenshot ${WORK}/never.png RESULT result STDOUT out STDERR err)
    expect("broken camera exit code" "${result}" "1")
    expect_match("broken camera message" "${err}" "broken-camera\\.json, line 3: ")
    if(EXISTS ${WORK}/never.png)
        message(FATAL_ERROR "a screenshot was written for a camera that did not open")
    endif()

    run_viewer(ARGS --camera no-such-camera --list-tabs RESULT result STDOUT out STDERR err)
    expect("missing camera exit code" "${result}" "1")
    expect_match("missing camera message" "${err}" "No camera \"no-such-camera\"")

    run_viewer(ARGS --camera RESULT result STDOUT out STDERR err)
    expect("missing value exit code" "${result}" "2")
    expect_match("missing value message" "${err}" "--camera needs a value")

else()
    message(FATAL_ERROR "unknown CHECK ${CHECK}")
endif()
