// Image files where the build carries libpng (Windows, the browser): libpng decodes them, exactly and
// the same on both (SDL_image is not built for Windows; the browser's own decoder rounds colours with
// alpha).
#include <png.h>

#include <cstring>

#include "interface/image_file.h"

static char imageError[256];  // the reason of the last failure

SDL_Surface* DecodeImageFile(const char* path)
{
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) {
        snprintf(imageError, sizeof imageError, "%s", image.message);
        return nullptr;
    }
    bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, (int)image.width, (int)image.height, alpha ? 32 : 24,
                                                0x000000FF, 0x0000FF00, 0x00FF0000, alpha ? 0xFF000000 : 0);
    if (!surface) {
        png_image_free(&image);
        snprintf(imageError, sizeof imageError, "%s", SDL_GetError());
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, surface->pixels, surface->pitch, nullptr)) {
        snprintf(imageError, sizeof imageError, "%s", image.message);
        SDL_FreeSurface(surface);
        return nullptr;
    }
    return surface;
}

const char* ImageFileError() { return imageError; }
