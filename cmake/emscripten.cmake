# The browser build with Debian's Emscripten. Its tools need Debian's Node.js modules (acorn),
# which a Node.js from elsewhere does not look for: every call gets NODE_PATH, the configure
# checks here and the links through a launcher.
set(skyhunt_node_path /usr/share/nodejs)
set(ENV{NODE_PATH} ${skyhunt_node_path})
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${skyhunt_node_path}
    CACHE STRING "")
