# Installs the build into PREFIX and checks the result; see CMakeLists.txt beside this file.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(id io.github.morlu.Morlu)
set(expected
    games/morlu
    games/morlu-tally
    games/morlu-game
    share/man/man6/morlu.6.gz
    share/man/man6/morlu-tally.6.gz
    share/man/man6/morlu-game.6.gz
    share/doc/morlu/copyright
    share/doc/morlu/changelog.Debian.gz
    share/applications/${id}.desktop
    share/metainfo/${id}.metainfo.xml)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
foreach(path ${expected})
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
    message(FATAL_ERROR "desktop-file-validate and appstreamcli are needed (make deps installs them)")
endif()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/${id}.desktop
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
foreach(metainfo ${PREFIX}/share/metainfo/${id}.metainfo.xml ${WITH_HOMEPAGE})
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "appstreamcli validate ${metainfo}:\n${out}")
    endif()
endforeach()
