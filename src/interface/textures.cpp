#include "interface/textures.h"

#include <GL/glu.h>
#include <cstdio>

#include "app/display.h"
#include "interface/image_file.h"

static const char* WORLD_TEXTURE_PATH = "Media/worldtexture.png";

TextureUploadFormat SurfaceUploadFormat(const SDL_Surface* surface)
{
    bool redFirst = surface->format->Rmask == 0xFF;
    if (surface->format->BytesPerPixel == 4)
        return TextureUploadFormat{(GLenum)(redFirst ? GL_RGBA : GL_BGRA), 4};
    return TextureUploadFormat{(GLenum)(redFirst ? GL_RGB : GL_BGR), 3};
}

// A 32-bit copy of a paletted or 16-bit surface with red, green, blue and
// alpha in that byte order; colour-keyed pixels become transparent.
static SDL_Surface* ConvertTo32Bits(SDL_Surface* surface)
{
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
    const Uint32 rmask = 0xFF000000, gmask = 0x00FF0000, bmask = 0x0000FF00, amask = 0x000000FF;
#else
    const Uint32 rmask = 0x000000FF, gmask = 0x0000FF00, bmask = 0x00FF0000, amask = 0xFF000000;
#endif
    SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, rmask, gmask, bmask, amask);
    if (!model)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurface(surface, model->format, SDL_SWSURFACE);
    SDL_FreeSurface(model);
    return converted;
}

GLuint UploadSurfaceTexture(SDL_Surface* surface, bool buildMipmaps)
{
    SDL_Surface* source = surface;
    if (surface->format->BytesPerPixel < 3) {
        source = ConvertTo32Bits(surface);
        if (!source)
            return 0;
    }
    TextureUploadFormat upload = SurfaceUploadFormat(source);

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (SDL_MUSTLOCK(source))
        SDL_LockSurface(source);
    if (buildMipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, upload.components, source->w, source->h, upload.format, GL_UNSIGNED_BYTE,
                          source->pixels);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, upload.components, source->w, source->h, 0, upload.format, GL_UNSIGNED_BYTE,
                     source->pixels);
    }
    if (SDL_MUSTLOCK(source))
        SDL_UnlockSurface(source);
    if (source != surface)
        SDL_FreeSurface(source);
    return name;
}

GLuint LoadWorldTexture()
{
    SDL_Surface* image = DecodeImageFile(WORLD_TEXTURE_PATH);
    if (!image) {
        fprintf(stderr, "cairnfold: cannot load %s (%s); the world is drawn untextured\n", WORLD_TEXTURE_PATH,
                ImageFileError());
        return 0;
    }
    GLuint name = UploadSurfaceTexture(image, mipmapping);
    SDL_FreeSurface(image);
    return name;
}

GLuint worldTexture;
GLuint interfaceTexture;

GLuint CreateInterfaceTexture(SDL_Surface* surface)
{
    return UploadSurfaceTexture(surface, false);
}
