# cmake -DPACKAGE=name -DWORK_DIR=dir -DSOURCE_DIR=dir -P debian-source.cmake
#
# Unpacks Debian's source package PACKAGE into SOURCE_DIR, fetched with apt-get through a
# private configuration in WORK_DIR: the system's own archive entries, turned into deb-src
# ones, with lists and caches of its own. The system's apt set-up is left as it was, and no
# archive address is written anywhere but in that private copy.
foreach(var PACKAGE WORK_DIR SOURCE_DIR)
    if(NOT ${var})
        message(FATAL_ERROR "debian-source.cmake: ${var} is not set")
    endif()
endforeach()

set(parts ${WORK_DIR}/sources.list.d)
file(REMOVE_RECURSE ${parts} ${WORK_DIR}/download ${WORK_DIR}/unpacked)
file(MAKE_DIRECTORY ${parts} ${WORK_DIR}/lists/partial ${WORK_DIR}/cache ${WORK_DIR}/download)

# deb822 files name their types on a Types: line; one-line entries start with the type.
file(GLOB entries /etc/apt/sources.list.d/*.sources)
foreach(file ${entries})
    get_filename_component(name ${file} NAME)
    file(READ ${file} text)
    string(REGEX REPLACE "(^|\n)Types:[^\n]*" "\\1Types: deb-src" text "${text}")
    file(WRITE ${parts}/${name} "${text}")
endforeach()
file(GLOB lists /etc/apt/sources.list /etc/apt/sources.list.d/*.list)
foreach(file ${lists})
    get_filename_component(name ${file} NAME)
    file(STRINGS ${file} lines REGEX "^[ \t]*deb[ \t]")
    list(TRANSFORM lines REPLACE "^[ \t]*deb" "deb-src")
    list(JOIN lines "\n" text)
    file(WRITE ${parts}/${name}.list "${text}\n")
endforeach()
if(NOT entries AND NOT lists)
    message(FATAL_ERROR "debian-source.cmake: no apt sources in /etc/apt to fetch ${PACKAGE} from")
endif()

# Run as root, apt hands downloads to its _apt user, who may not write in a build tree.
set(apt_options
    -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=${parts}
    -o Dir::State::Lists=${WORK_DIR}/lists -o Dir::Cache=${WORK_DIR}/cache
    -o APT::Sandbox::User=root -o Acquire::Retries=3 -q)
find_program(APT_GET apt-get REQUIRED)
find_program(DPKG_SOURCE dpkg-source REQUIRED)
execute_process(COMMAND ${APT_GET} ${apt_options} update COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${APT_GET} ${apt_options} source --download-only ${PACKAGE}
                WORKING_DIRECTORY ${WORK_DIR}/download COMMAND_ERROR_IS_FATAL ANY)

# dpkg-source checks the files against the .dsc that apt checked against the signed index,
# and applies Debian's patches, as Debian's own build does.
file(GLOB dsc ${WORK_DIR}/download/${PACKAGE}_*.dsc)
execute_process(COMMAND ${DPKG_SOURCE} -x ${dsc} ${WORK_DIR}/unpacked COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${SOURCE_DIR})
file(RENAME ${WORK_DIR}/unpacked ${SOURCE_DIR})
