cmake_minimum_required(VERSION 3.25)
# The folders' arrows point one way:
#   app -> mainwindow -> tools -> components, player, media -> model.
# Fails when a file includes a header of a folder above its own (headers are included by name,
# so a header's folder is where the file of that name lives).
#   cmake -DSRC=<source root> -P CheckLayers.cmake
function(headers_of folder out)
    file(GLOB found RELATIVE ${SRC}/${folder} ${SRC}/${folder}/*.h)
    set(${out} ${found} PARENT_SCOPE)
endfunction()

headers_of(app APP_HEADERS)
headers_of(mainwindow UI_HEADERS)
headers_of(tools TOOL_HEADERS)
headers_of(media MEDIA_HEADERS)
headers_of(player PLAYER_HEADERS)
headers_of(components COMPONENT_HEADERS)
headers_of(texts TEXT_HEADERS)

set(failures "")
function(check folders forbidden what)
    foreach(folder ${folders})
        file(GLOB files ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
        foreach(f ${files})
            file(STRINGS ${f} lines REGEX "^#include \"")
            foreach(line ${lines})
                string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
                if(header IN_LIST forbidden)
                    list(APPEND failures "${f} includes ${header} (${what})")
                endif()
            endforeach()
        endforeach()
    endforeach()
    set(failures ${failures} PARENT_SCOPE)
endfunction()

check("model;player;components;tools;texts;media" "${UI_HEADERS};${APP_HEADERS}" "a window header")
check("mainwindow" "${APP_HEADERS}" "a start-up header")
check("model;player;components;texts;media" "${TOOL_HEADERS}" "a tool header")
# The film's sound sits beside the player and the components, without Qt: it knows only the model.
check("model" "${MEDIA_HEADERS}" "a media header")
check("media" "${PLAYER_HEADERS};${COMPONENT_HEADERS};${TEXT_HEADERS}" "a header beside media")

if(failures)
    list(JOIN failures "\n" message)
    message(FATAL_ERROR "Includes against the folders' order:\n${message}")
endif()
message(STATUS "layers: every include points down")
