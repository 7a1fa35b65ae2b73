# What the Windows cross build adds to the game's build: its libraries, built for Windows
# from Debian's sources, a self-contained skyhunt.exe, and Wine to run the test programs.

# The freeglut release the Windows build carries, from Debian's source package.
set(SKYHUNT_FREEGLUT_VERSION 3.4.0)

# freeglut and GoogleTest are built while the game is configured, not as ExternalProjects
# of the game's own build: find_package needs their installed CMake packages now, and an
# ExternalProject would make them only at build time. The small project keeps its own
# stamps, so a later configure costs a second, and a failure stops at configure, plainly.
set(deps ${CMAKE_BINARY_DIR}/deps)
set(SKYHUNT_DEPS_PREFIX ${deps}/install)
message(STATUS "Building the Windows libraries in ${deps}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/deps -B ${deps}/build
            -G ${CMAKE_GENERATOR} -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
            -DSKYHUNT_DEPS_PREFIX=${SKYHUNT_DEPS_PREFIX} -DSKYHUNT_DEPS_GTEST=${SKYHUNT_TESTS}
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${deps}/build COMMAND_ERROR_IS_FATAL ANY)
list(APPEND CMAKE_FIND_ROOT_PATH ${SKYHUNT_DEPS_PREFIX})

# The game links GLUT::GLUT on every system; here that is freeglut, static, and the system
# libraries after it in the order a static link needs.
find_package(OpenGL REQUIRED)
find_package(FreeGLUT ${SKYHUNT_FREEGLUT_VERSION} EXACT REQUIRED CONFIG)
add_library(GLUT::GLUT INTERFACE IMPORTED)
target_link_libraries(GLUT::GLUT INTERFACE FreeGLUT::freeglut_static OpenGL::GLU OpenGL::GL
                      gdi32 winmm)
set(SKYHUNT_FREEGLUT_LICENCE ${SKYHUNT_DEPS_PREFIX}/share/doc/freeglut/COPYING)

# Every program starts anywhere with no DLL but the system's: libgcc, libstdc++ and
# winpthread are linked in. The PE header carries no link time, so builds are reproducible.
add_link_options(-static -Wl,--no-insert-timestamp)

# The build machine's programs that the Windows build runs outside its own commands: a
# missing one stops the configure by name, and scripts/lib/lists.sh asks which package
# brought each.
foreach(program wine wineserver makensis apt-get dpkg-source)
    string(MAKE_C_IDENTIFIER "SKYHUNT_HOST_${program}" var)
    string(TOUPPER ${var} var)
    find_program(${var} ${program} REQUIRED)
endforeach()

# Test programs run under Wine, in a prefix of the build's own that the build makes once, so
# that no test waits the ten seconds it takes. Tests are listed when CTest starts rather than
# after each link: the prefix is ready by then.
set(SKYHUNT_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
set(wine_run ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${wine_run} @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_run})
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
if(SKYHUNT_TESTS)
    add_custom_command(OUTPUT ${SKYHUNT_WINEPREFIX}/.made COMMAND ${wine_run}
                       DEPENDS ${wine_run} COMMENT "Making the Wine prefix for the tests")
    add_custom_target(skyhunt_wineprefix ALL DEPENDS ${SKYHUNT_WINEPREFIX}/.made)
endif()
