#pragma once

#include <GL/gl.h>

// Upper-case letters A to Z, 8 pixels wide and 13 rows high, bottom row first.
extern const GLubyte glyphs[26][13];
extern const GLubyte spaceGlyph[13];
// First of 128 display lists; the list for character c is fontOffset + c.
extern GLuint fontOffset;

void makeRasterFont();
// Draws text with its baseline starting at (x, y) of an 800x600 screen space whose
// origin is the bottom left of the window. Leaves GL_PROJECTION selected.
void printString(const char* text, int x, int y);
