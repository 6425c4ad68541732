// Image files on Linux: SDL_image decodes them.
#include <SDL_image.h>

#include "interface/image_file.h"

SDL_Surface* DecodeImageFile(const char* path) { return IMG_Load(path); }

const char* ImageFileError() { return IMG_GetError(); }
