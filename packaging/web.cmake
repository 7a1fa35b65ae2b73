# The browser build's zip: the one page, the game's licence and what the page contains, and a
# short README. Nothing is installed beside it: the page carries its WebAssembly and textures.
install(FILES ${SKYHUNT_PAGE} DESTINATION .)
install(FILES copyright DESTINATION . RENAME copyright.txt)
# The page carries Emscripten's runtime and the C and C++ libraries it compiled in (musl,
# libc++, libc++abi, compiler-rt), whose licences Debian's package lists.
install(FILES /usr/share/doc/emscripten/copyright DESTINATION . RENAME emscripten-copyright.txt)
install(FILES README-web.txt DESTINATION . RENAME README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME skyhunt-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES OFF)
include(CPack)
