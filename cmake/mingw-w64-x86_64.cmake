# Cross build for 64-bit Windows with Debian's mingw-w64 compilers. Their posix thread model
# is the one with std::thread and the std::this_thread sleeps that the game's pacer needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)
# CMake guesses the binutils from the compiler's name, which the -posix suffix defeats.
foreach(tool AR RANLIB STRIP OBJCOPY OBJDUMP NM)
    string(TOLOWER ${tool} name)
    set(CMAKE_${tool} /usr/bin/${mingw_triple}-${name} CACHE FILEPATH "")
endforeach()

# Headers, libraries and CMake packages come from the Windows side only; programs (Wine,
# makensis, the host's own compiler) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
