# The facts that the build, the code, the tests and the scripts share, each stated here once.
# The top-level CMakeLists.txt includes this module; the code gets them from the build (the
# texture names through the header made from assets/texture_files.h.in, the screen as a
# definition of the driver). A script asks for one by its name in lower case:
#
#     cmake -D fact=xvfb_screen -P cmake/SkyhuntFacts.cmake
#
# which prints its value, a list one item a line.

# The screen of every virtual X server the game runs on: larger than its 800x600 window at
# (50, 50), so that none of it is cut off.
set(SKYHUNT_XVFB_SCREEN 1024x768x24)

# The files the game's three pictures are read from, in the order of their slots in
# assets/texture_files.h.in (metal, sun, grass).
set(SKYHUNT_TEXTURE_NAMES metalTexture.bmp sunTexture.bmp grass.bmp)

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    string(TOUPPER "SKYHUNT_${fact}" name)
    if(NOT DEFINED fact OR NOT DEFINED ${name})
        message(FATAL_ERROR "SkyhuntFacts: no fact named '${fact}'")
    endif()
    list(JOIN ${name} "\n" lines)
    # message() would write to standard error; a child's output is ours.
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${lines}")
endif()
