# The Windows packages, from `cpack --preset windows`: skyhunt-<version>-win64.zip and an
# NSIS installer of the same flat tree, skyhunt.exe with its textures beside it, the keys and
# the licences. The executable gets its icon and version information from skyhunt.rc.in.

# The icon: the desktop icon's drawing at the sizes Windows shows, the largest kept as PNG.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(icon ${CMAKE_CURRENT_BINARY_DIR}/skyhunt.ico)
set(svg ${CMAKE_CURRENT_SOURCE_DIR}/${SKYHUNT_APP_ID}.svg)
set(icon_pngs "")
set(draw_icons "")
foreach(side 16 24 32 48 64)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icon-${side}.png)
    list(APPEND icon_pngs ${png})
    list(APPEND draw_icons COMMAND ${RSVG_CONVERT} -w ${side} -h ${side} -o ${png} ${svg})
endforeach()
set(large_png ${CMAKE_CURRENT_BINARY_DIR}/icon-256.png)
add_custom_command(
    OUTPUT ${icon}
    ${draw_icons}
    COMMAND ${RSVG_CONVERT} -w 256 -h 256 -o ${large_png} ${svg}
    COMMAND ${ICOTOOL} -c -o ${icon} ${icon_pngs} --raw=${large_png}
    DEPENDS ${svg}
    COMMENT "Drawing skyhunt.ico"
    VERBATIM
)

# Windows shows four numbers of version; the project's missing ones are 0.
foreach(part MAJOR MINOR PATCH TWEAK)
    set(version_${part} 0)
    if(PROJECT_VERSION_${part})
        set(version_${part} ${PROJECT_VERSION_${part}})
    endif()
endforeach()
file(STRINGS copyright copyright_line REGEX "^Copyright:" LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright: *([^<]*[^< ]).*" "\\1" SKYHUNT_COPYRIGHT "${copyright_line}")
set(rc ${CMAKE_CURRENT_BINARY_DIR}/skyhunt.rc)
configure_file(skyhunt.rc.in ${rc} @ONLY)
add_custom_target(skyhunt_icon DEPENDS ${icon})
target_sources(skyhunt PRIVATE ${rc})
add_dependencies(skyhunt skyhunt_icon)
set_source_files_properties(${rc} TARGET_DIRECTORY skyhunt PROPERTIES OBJECT_DEPENDS ${icon})

# The keys, as the manual page gives them, in plain text for players without man.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS skyhunt.6.in)
include(${CMAKE_CURRENT_SOURCE_DIR}/keys-text.cmake)
skyhunt_keys_text(${CMAKE_CURRENT_SOURCE_DIR}/skyhunt.6.in ${CMAKE_CURRENT_BINARY_DIR}/keys.txt)

install(TARGETS skyhunt RUNTIME DESTINATION ${SKYHUNT_INSTALL_GAMEDIR})
install(FILES ${SKYHUNT_TEXTURE_FILES} DESTINATION ${SKYHUNT_INSTALL_DATADIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/keys.txt DESTINATION .)
install(FILES copyright DESTINATION . RENAME copyright.txt)
install(FILES ${SKYHUNT_FREEGLUT_LICENCE} DESTINATION . RENAME freeglut-copying.txt)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME skyhunt-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# The NSIS settings go into the installer's script as they stand, quotes and all.
set(CPACK_VERBATIM_VARIABLES ON)

# The installer: Program Files\skyhunt, a Start-menu shortcut that starts the game in its own
# folder (with the icon of skyhunt.exe), and an entry in the installed programs with that icon.
set(CPACK_PACKAGE_INSTALL_DIRECTORY skyhunt)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY skyhunt)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Skyhunt)
set(CPACK_NSIS_PACKAGE_NAME Skyhunt)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/copyright)
set(CPACK_PACKAGE_EXECUTABLES skyhunt Skyhunt)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_ICON ${icon})
set(CPACK_NSIS_MUI_UNIICON ${icon})
set(CPACK_NSIS_INSTALLED_ICON_NAME skyhunt.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for a 64-bit game: it runs wherever the game does (under Wine without its
# 32-bit half too) and sees the 64-bit Program Files and registry. It stores no file times,
# which would be the times the files were staged, so one commit makes the same installer in
# any folder. Its uninstaller also removes the vendor's key under Software once it is empty.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
SetDateSave off
Function un.onUninstSuccess
  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"
FunctionEnd")

include(CPack)
