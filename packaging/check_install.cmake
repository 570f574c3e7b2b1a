# Installs the build tree into a scratch prefix and checks that the program and
# its desktop integration land where a desktop looks for them, and that the
# launcher entry and the metainfo name the installed program, icon and entry.
#   cmake -DBUILD_DIR= -DPREFIX= -DCONFIG= -DBINDIR= -DDATADIR= -DAPP_ID= -P check_install.cmake

file(REMOVE_RECURSE "${PREFIX}")
unset(ENV{DESTDIR})
set(config_args)
if(CONFIG)
    set(config_args --config "${CONFIG}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" ${config_args}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result})")
endif()

set(program "${PREFIX}/${BINDIR}/abc-workbench")
set(desktop "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
set(icon "${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg")
set(metainfo "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
foreach(path IN ITEMS "${program}" "${desktop}" "${icon}" "${metainfo}")
    if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
        message(SEND_ERROR "not installed: ${path}")
    endif()
endforeach()
if(NOT EXISTS "${desktop}" OR NOT EXISTS "${metainfo}")
    message(FATAL_ERROR "cannot check the entry's names")
endif()

# The entry must start the installed program and show the installed icon.
file(STRINGS "${desktop}" exec REGEX "^Exec=")
file(STRINGS "${desktop}" icon_key REGEX "^Icon=")
if(NOT exec MATCHES "^Exec=abc-workbench( |$)")
    message(SEND_ERROR "the entry does not start abc-workbench: '${exec}'")
endif()
if(NOT icon_key STREQUAL "Icon=${APP_ID}")
    message(SEND_ERROR "the entry does not name the installed icon: '${icon_key}'")
endif()

# The metainfo must point at the installed entry and program.
file(READ "${metainfo}" text)
foreach(tag IN ITEMS "<id>${APP_ID}</id>"
                     "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                     "<binary>abc-workbench</binary>")
    string(FIND "${text}" "${tag}" at)
    if(at EQUAL -1)
        message(SEND_ERROR "the metainfo lacks ${tag}")
    endif()
endforeach()
