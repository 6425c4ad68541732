// Textures: turns image surfaces into the game's OpenGL textures (the world texture and the atlas upload).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>  // GL_BGR, GL_BGRA: named from OpenGL 1.2 on (as EXT_bgra on Windows' OpenGL 1.1)
#include <SDL.h>

// How a surface's pixels are handed to OpenGL.
struct TextureUploadFormat {
    GLenum format;     // GL_RGBA, GL_BGRA, GL_RGB or GL_BGR
    GLint components;  // internal format: 4 or 3
};

// The upload format of a 3- or 4-byte surface: red in the lowest byte
// (red mask 0xFF) means RGB order, any other red mask BGR order.
TextureUploadFormat SurfaceUploadFormat(const SDL_Surface* surface);

// Makes a texture from a surface and leaves it bound to GL_TEXTURE_2D: wrap
// repeat on both axes; with mipmaps the whole chain and trilinear
// minification, otherwise level 0 only and linear filters. Surfaces of 1 or 2
// bytes per pixel are converted to 32 bits first. The surface is not freed.
GLuint UploadSurfaceTexture(SDL_Surface* surface, bool buildMipmaps);

// Media/worldtexture.png as a texture, with mipmaps when `mipmapping` is set;
// 0 (models drawn untextured) and one line on stderr when the image cannot be read.
GLuint LoadWorldTexture();

extern GLuint worldTexture;      // the texture every model is drawn with, 0 when none
extern GLuint interfaceTexture;  // the interface atlas, made once by LoadInterfaceMedia

// The interface atlas as a texture: level 0 only, linear filters.
GLuint CreateInterfaceTexture(SDL_Surface* surface);
