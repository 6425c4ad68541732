#include "app/display.h"
#include "interface/image_file.h"
#include "interface/textures.h"
#include "support/test_support.h"

TEST(Textures, WorldTextureLevelsUploadOrderByBytesPerPixelAndRedMaskAndNarrowImagesWidened)
{
    OpenTestDisplay(800, 600);
    SDL_Surface* image = DecodeImageFile("Media/worldtexture.png");  // 256 x 256, red in the lowest byte
    ASSERT_NE(image, nullptr);
    ASSERT_EQ((Ints{image->format->BytesPerPixel, (GLint)image->format->Rmask}), (Ints{3, 0xFF}));
    std::vector<uint8_t> rows(256 * 768);
    for (int y = 0; y < 256; y++) memcpy(&rows[y * 768], (uint8_t*)image->pixels + y * image->pitch, 768);
    SDL_FreeSurface(image);
    GLuint names[2];
    for (int mipmaps = 0; mipmaps < 2; mipmaps++) {
        mipmapping = mipmaps;
        names[mipmaps] = LoadWorldTexture();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ((GLuint)bound, names[mipmaps]);
        EXPECT_TRUE(Texels(256 * 256, GL_RGB, 3) == rows);
    }
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(TextureShape(8), (Ints{1, 3, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    EXPECT_EQ(TextureShape(9)[0], 0);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    EXPECT_EQ(TextureShape(0), (Ints{256, 3, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
    EXPECT_EQ(TextureShape(1)[0], 0);
    EnterTempDir();
    EXPECT_EQ(LoadWorldTexture(), 0u);  // missing
    // Surfaces go up in the order their bytes a pixel and red mask give.
    const struct {
        int bits;
        Uint32 rmask, bmask, amask;
        GLenum format;
    } cases[] = {{32, 0x000000FF, 0x00FF0000, 0xFF000000, GL_RGBA}, {32, 0x00FF0000, 0x000000FF, 0xFF000000, GL_BGRA},
                 {24, 0x000000FF, 0x00FF0000, 0, GL_RGB}, {24, 0x00FF0000, 0x000000FF, 0, GL_BGR}};
    for (const auto& c : cases) {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, c.bits, c.rmask, 0x0000FF00, c.bmask, c.amask);
        TextureUploadFormat upload = SurfaceUploadFormat(surface);
        EXPECT_EQ(Ints({(GLint)upload.format, upload.components}), Ints({(GLint)c.format, c.bits / 8}));
        // Pixel 1: red 40, green 50, blue 60, alpha 70 in the surface's own layout.
        Uint32 value = SDL_MapRGBA(surface->format, 40, 50, 60, 70);
        memcpy((uint8_t*)surface->pixels + c.bits / 8, &value, c.bits / 8);
        ASSERT_NE(CreateInterfaceTexture(surface), 0u);
        EXPECT_EQ(TextureShape(1), (Ints{0, c.bits / 8, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT}));
        std::vector<uint8_t> texels = Texels(2, GL_RGBA, 4);
        EXPECT_EQ(std::vector<uint8_t>(texels.begin() + 4, texels.end()),
                  (std::vector<uint8_t>{40, 50, 60, (uint8_t)(c.bits == 32 ? 70 : 255)})) << c.format;
        SDL_FreeSurface(surface);
    }
    // 16 bits a pixel (5-6-5) and a paletted image go up as 32 bits.
    SDL_Surface* narrow = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 16, 0xF800, 0x07E0, 0x001F, 0);
    ((Uint16*)narrow->pixels)[1] = 0xF800 | 0x001F;
    UploadSurfaceTexture(narrow, false);
    EXPECT_EQ(TextureShape(0)[1], 4);
    EXPECT_EQ(Texels(2, GL_RGBA, 4), (std::vector<uint8_t>{0, 0, 0, 255, 255, 0, 255, 255}));
    SDL_Surface* paletted = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 1, 8, 0, 0, 0, 0);
    SDL_Color colours[3] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
    SDL_SetColors(paletted, colours, 0, 3);
    memcpy(paletted->pixels, "\2\0\1", 3);
    UploadSurfaceTexture(paletted, false);
    EXPECT_EQ(TextureShape(0)[1], 4);
    EXPECT_EQ(Texels(3, GL_RGB, 3), (std::vector<uint8_t>{0, 0, 255, 255, 0, 0, 0, 255, 0}));
    SDL_FreeSurface(narrow), SDL_FreeSurface(paletted);
}
