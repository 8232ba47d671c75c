// Writes 8-bit RGB or RGBA pictures as PNG files, for the screenshots and the desktop icons.
#pragma once

#include <string>
#include <vector>

// pixels: rows top to bottom, 3 (RGB) or 4 (RGBA) bytes per pixel. False with a message on
// stderr, prefixed with the tool's name, on any failure.
bool WritePngFile(const std::string& path, int width, int height, int channels,
                  const std::vector<unsigned char>& pixels, const char* tool);
