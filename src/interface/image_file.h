// Image files: a PNG file decoded into a new surface, by the decoder this system's build links.
#pragma once

#include <SDL.h>

// Decodes the PNG file at path into a new software surface: 8 bits a channel, red in the lowest
// byte, 3 bytes a pixel or 4 with an alpha channel. Null when the file is missing or cannot be
// decoded; ImageFileError then says why. The caller frees the surface.
SDL_Surface* DecodeImageFile(const char* path);

// Why the last DecodeImageFile gave null.
const char* ImageFileError();
