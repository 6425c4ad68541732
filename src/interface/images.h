// Images: PNG files read into display-format surfaces, and the 1024 x 256 interface atlas built from one.
#pragma once

#include <SDL.h>

constexpr int ATLAS_WIDTH = 1024;  // the interface atlas in pixels
constexpr int ATLAS_HEIGHT = 256;

// Decodes an image file and converts it to the display's pixel format with an
// alpha channel (4 bytes per pixel); the display must be open. Null when the
// file is missing or cannot be decoded. The caller frees the surface.
SDL_Surface* LoadImageSurface(const char* path);

// A new ATLAS_WIDTH x ATLAS_HEIGHT surface in the image's pixel format with
// the image copied into its top-left corner, colour and alpha unchanged; the
// image is cut at the atlas edges and the rest stays transparent black.
// Null when the surface cannot be made. The image stays the caller's.
SDL_Surface* BuildAtlasSurface(SDL_Surface* image);
