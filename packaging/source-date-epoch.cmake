# Read by cpack as it packs (CPACK_PROJECT_CONFIG_FILE): sets SOURCE_DATE_EPOCH, which CPack
# stamps every file of a package with, to the time of the commit being packed, so that the
# same commit packed in any folder gives the same bytes. A time set by the caller wins.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    return()
endif()
find_package(Git QUIET)
set(epoch "")
if(GIT_EXECUTABLE)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CPACK_SKYHUNT_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE failed ERROR_QUIET)
    if(failed)
        set(epoch "")
    endif()
endif()
if(NOT epoch)
    set(epoch ${CPACK_SKYHUNT_RELEASE_EPOCH})
endif()
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
