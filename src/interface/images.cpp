#include "interface/images.h"

#include "interface/image_file.h"

SDL_Surface* LoadImageSurface(const char* path)
{
    SDL_Surface* decoded = DecodeImageFile(path);
    if (!decoded)
        return nullptr;
    SDL_Surface* converted = SDL_DisplayFormatAlpha(decoded);
    SDL_FreeSurface(decoded);
    return converted;
}

SDL_Surface* BuildAtlasSurface(SDL_Surface* image)
{
    const SDL_PixelFormat* format = image->format;
    SDL_Surface* atlas = SDL_CreateRGBSurface(image->flags, ATLAS_WIDTH, ATLAS_HEIGHT, format->BitsPerPixel,
                                              format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (!atlas)
        return nullptr;
    // Without SDL_SRCALPHA on either surface the blit copies every pixel's
    // colour and alpha as they are, instead of blending the image onto the
    // empty atlas (which would change every partly transparent pixel).
    SDL_SetAlpha(image, SDL_RLEACCEL, 0);
    SDL_SetAlpha(atlas, SDL_RLEACCEL, 0);
    SDL_Rect corner = {0, 0, 0, 0};
    SDL_UpperBlit(image, nullptr, atlas, &corner);
    return atlas;
}
