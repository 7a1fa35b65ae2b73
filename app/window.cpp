#include "app/window.h"

#include <GL/glut.h>

#include "render/view.h"

void openWindow(int& argc, char** argv, const char* title) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(view::windowWidth, view::windowHeight);
    glutInitWindowPosition(view::windowLeft, view::windowTop);
    glutCreateWindow(title);
}
