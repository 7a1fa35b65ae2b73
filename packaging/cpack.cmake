# CPack settings every package shares: the game's name, version and vendor, and the time its
# files are stamped with. The packages are left in the build folder.
set(CPACK_PACKAGE_NAME skyhunt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "skyhunt developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down 3-D arcade game of hunting an enemy ship")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
# Directories the install creates get the same modes whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Two builds of one commit give the same packages: cpack stamps every file with the commit's
# time (source-date-epoch.cmake), or with the newest changelog entry's date outside git.
execute_process(COMMAND date -u -d ${SKYHUNT_RELEASE_DATE} +%s
                OUTPUT_VARIABLE CPACK_SKYHUNT_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_SKYHUNT_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/source-date-epoch.cmake)
