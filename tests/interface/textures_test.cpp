#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/display.h"
#include "interface/textures.h"
#include "support/test_support.h"

// --- A minimal PNG writer (stored deflate blocks) for crafted images. ---

static uint32_t Crc32(const std::vector<uint8_t>& bytes, size_t from)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); i++) {
        crc ^= bytes[i];
        for (int b = 0; b < 8; b++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

static void PutBig32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back((uint8_t)(v >> s));
}

static void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    PutBig32(png, (uint32_t)data.size());
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBig32(png, Crc32(png, start));
}

// colourType 6 (RGBA, 4 bytes a pixel), 2 (RGB, 3) or 3 (palette index, 1).
static void WritePng(const std::string& path, int width, int height, int colourType,
                     const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& palette = {})
{
    int bytesPerPixel = colourType == 6 ? 4 : colourType == 2 ? 3 : 1;
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * width * bytesPerPixel,
                   pixels.begin() + (y + 1) * width * bytesPerPixel);
    }
    std::vector<uint8_t> z = {0x78, 0x01, 0x01, (uint8_t)raw.size(), (uint8_t)(raw.size() >> 8),
                              (uint8_t)~raw.size(), (uint8_t)(~raw.size() >> 8)};
    z.insert(z.end(), raw.begin(), raw.end());
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(z, (b << 16) | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, (uint32_t)width);
    PutBig32(header, (uint32_t)height);
    header.insert(header.end(), {8, (uint8_t)colourType, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    if (colourType == 3)
        PutChunk(png, "PLTE", palette);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(png.data(), 1, png.size(), file);
    fclose(file);
}

// An image whose pixel i has red 10 + i, green 100 + i, blue 200 - i (alpha 255 - i).
static std::vector<uint8_t> Ramp(int pixels, int bytesPerPixel)
{
    std::vector<uint8_t> data;
    for (int i = 0; i < pixels; i++) {
        data.insert(data.end(), {(uint8_t)(10 + i), (uint8_t)(100 + i), (uint8_t)(200 - i)});
        if (bytesPerPixel == 4)
            data.push_back((uint8_t)(255 - i));
    }
    return data;
}

static void EnterMediaFolder()
{
    std::string dir = MakeTempDir();
    ASSERT_EQ(mkdir((dir + "/Media").c_str(), 0755), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
}

static GLint LevelParameter(int level, GLenum parameter)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
}

static GLint TextureParameter(GLenum parameter)
{
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

// Level 0 of the bound texture as RGBA bytes.
static std::vector<uint8_t> ReadTexture(int width, int height)
{
    std::vector<uint8_t> rgba(width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

static void ExpectTexel(const std::vector<uint8_t>& rgba, int i, int r, int g, int b, int a)
{
    EXPECT_EQ(rgba[4 * i], r) << "texel " << i;
    EXPECT_EQ(rgba[4 * i + 1], g) << "texel " << i;
    EXPECT_EQ(rgba[4 * i + 2], b) << "texel " << i;
    EXPECT_EQ(rgba[4 * i + 3], a) << "texel " << i;
}

TEST(Textures, WorldTextureWithoutMipmapsHasOneLinearLevel)
{
    OpenTestDisplay(800, 600);
    EnterMediaFolder();
    WritePng("Media/worldtexture.png", 8, 4, 6, Ramp(32, 4));
    mipmapping = false;
    GLuint name = LoadWorldTexture();
    ASSERT_NE(name, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLuint)bound, name);

    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 4);
    EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), 4);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);

    // Red in the lowest byte went up as RGBA, alpha kept.
    std::vector<uint8_t> texels = ReadTexture(8, 4);
    ExpectTexel(texels, 0, 10, 100, 200, 255);
    ExpectTexel(texels, 31, 41, 131, 169, 224);
}

TEST(Textures, WorldTextureWithMipmapsHasTheWholeChain)
{
    OpenTestDisplay(800, 600);
    EnterMediaFolder();
    WritePng("Media/worldtexture.png", 8, 4, 2, Ramp(32, 3));
    mipmapping = true;
    GLuint name = LoadWorldTexture();
    ASSERT_NE(name, 0u);
    // 8 x 4, 4 x 2, 2 x 1, 1 x 1.
    EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(LevelParameter(2, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(LevelParameter(2, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(LevelParameter(3, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(LevelParameter(3, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(LevelParameter(4, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);

    // A 24-bit image with red in the lowest byte: RGB with 3 components.
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), 3);
    std::vector<uint8_t> texels = ReadTexture(8, 4);
    ExpectTexel(texels, 0, 10, 100, 200, 255);
    ExpectTexel(texels, 9, 19, 109, 191, 255);
}

TEST(Textures, MissingOrPalettedWorldTextureImages)
{
    OpenTestDisplay(800, 600);
    EnterMediaFolder();
    mipmapping = false;
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(LoadWorldTexture(), 0u);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);

    // A paletted image is converted to 32 bits, not rejected.
    WritePng("Media/worldtexture.png", 4, 1, 3, {2, 0, 1, 2}, {255, 0, 0, 0, 255, 0, 0, 0, 255});
    GLuint name = LoadWorldTexture();
    ASSERT_NE(name, 0u);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), 4);
    std::vector<uint8_t> texels = ReadTexture(4, 1);
    ExpectTexel(texels, 0, 0, 0, 255, 255);
    ExpectTexel(texels, 1, 255, 0, 0, 255);
    ExpectTexel(texels, 2, 0, 255, 0, 255);
    ExpectTexel(texels, 3, 0, 0, 255, 255);
}

TEST(Textures, UploadOrderFollowsBytesPerPixelAndRedMask)
{
    OpenTestDisplay(800, 600);
    struct Case {
        int bits;
        Uint32 rmask, gmask, bmask, amask;
        GLenum format;
        GLint components;
    } cases[] = {
        {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000, GL_RGBA, 4},
        {32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, GL_BGRA, 4},
        {24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0, GL_RGB, 3},
        {24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0, GL_BGR, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, c.bits, c.rmask, c.gmask, c.bmask, c.amask);
        ASSERT_NE(surface, nullptr);
        TextureUploadFormat upload = SurfaceUploadFormat(surface);
        EXPECT_EQ(upload.format, c.format);
        EXPECT_EQ(upload.components, c.components);

        // Pixel (1, 1) red 40, green 50, blue 60, alpha 70 in the surface's own layout.
        uint8_t* pixel = (uint8_t*)surface->pixels + surface->pitch + surface->format->BytesPerPixel;
        Uint32 value = SDL_MapRGBA(surface->format, 40, 50, 60, 70);
        memcpy(pixel, &value, surface->format->BytesPerPixel);
        GLuint name = CreateInterfaceTexture(surface);
        ASSERT_NE(name, 0u);
        EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 0);
        std::vector<uint8_t> texels = ReadTexture(2, 2);
        ExpectTexel(texels, 3, 40, 50, 60, c.components == 4 ? 70 : 255);
        SDL_FreeSurface(surface);
    }

    // 16 bits a pixel (5-6-5) is widened to 32 bits first.
    SDL_Surface* narrow = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_NE(narrow, nullptr);
    ((Uint16*)narrow->pixels)[1] = 0xF800 | 0x001F;
    UploadSurfaceTexture(narrow, false);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), 4);
    std::vector<uint8_t> texels = ReadTexture(2, 1);
    ExpectTexel(texels, 0, 0, 0, 0, 255);
    ExpectTexel(texels, 1, 255, 0, 255, 255);
    SDL_FreeSurface(narrow);
}
