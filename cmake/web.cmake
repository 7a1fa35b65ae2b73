# What the browser build puts in place of the desktop's libraries: OpenGL and GLU are the
# layer in web/gl/ on WebGL 2, GLUT is Emscripten's own (window, keys), and GLX is not there.
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_libraries(OpenGL::GL INTERFACE skyhunt_fixedgl)
add_library(OpenGL::GLU INTERFACE IMPORTED)
target_link_libraries(OpenGL::GLU INTERFACE skyhunt_fixedgl)
add_library(GLUT::GLUT INTERFACE IMPORTED)
