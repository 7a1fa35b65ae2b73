#pragma once

#include <GL/gl.h>

// Upper-case letters A to Z, 8 pixels wide and 13 rows high, bottom row first.
extern const GLubyte glyphs[26][13];
extern const GLubyte spaceGlyph[13];
// First of fontListCount display lists; the list for character c is fontOffset + c.
extern GLuint fontOffset;

// One list name per 7-bit character code; only 'A' to 'Z' and the space get a list.
constexpr GLsizei fontListCount = 128;
// Glyphs are 8x13 pixels; the bottom-left corner sits 2 pixels below the baseline and each
// glyph moves the raster position 10 pixels right, leaving 2 pixels between letters.
constexpr GLsizei glyphWidth = 8;
constexpr GLsizei glyphHeight = 13;
constexpr GLfloat glyphOriginY = 2.0f;
constexpr GLfloat glyphAdvance = 10.0f;

void makeRasterFont();
// Draws text with its baseline starting at (x, y) of the overlay's 800x600 space, origin at
// the bottom left, stretched over the whole window however it is sized now; the glyphs keep
// their size in pixels. Leaves GL_PROJECTION selected.
void printString(const char* text, int x, int y);
