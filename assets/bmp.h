#pragma once

#include <cstdint>
#include <cstdio>

// Pixels of one image as tightly packed red, green, blue bytes, rows in file order.
// The caller owns the record and frees data with free().
struct image {
    uint32_t width;
    uint32_t height;
    unsigned char* data;
};

// Reads an uncompressed 24-bit BMP with a 54-byte header. Prints the size and any failure
// on standard output; returns 1 on success and 0 on failure. Only a plain file is read: a
// directory, FIFO or device is turned away before any read, without waiting on it.
int loadBmp(const char* path, image* img);

// The same, also turning away from its header alone, before any pixel is read, a picture
// with a side longer than largestSide pixels: the renderer's largest texture.
int loadBmp(const char* path, image* img, uint32_t largestSide);

// Little-endian unsigned reads, one byte at a time with getc.
uint32_t readU32Le(FILE* stream);
uint16_t readU16Le(FILE* stream);
