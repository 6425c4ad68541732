// Emscripten's SDL 1.2 made to behave as SDL does on the desktop: its functions that differ are
// replaced here, and the program's own definitions take the place of Emscripten's.
#include <SDL.h>
#include <emscripten.h>

#include <cstdlib>

// SDL's ticks from the browser's monotonic clock, as SDL counts them on the desktop; Emscripten's
// count the calendar clock, which jumps when the system's clock is set.
static double ticksStart = -1.0;  // emscripten_get_now() when SDL was first asked the time

Uint32 SDL_GetTicks(void)
{
    if (ticksStart < 0.0)
        ticksStart = emscripten_get_now();
    return (Uint32)(emscripten_get_now() - ticksStart);
}

// The mouse focus is the pointer being over the canvas (Emscripten's is pointer lock alone, so the
// game's own pointer would never be drawn); the listeners are added with the first question.
EM_JS(int, CanvasState, (void), {
    var canvas = Module['canvas'];
    if (!canvas.cairnfoldHover) {
        canvas.cairnfoldHover = { over: false };
        canvas.addEventListener('mouseenter', function() { canvas.cairnfoldHover.over = true; });
        canvas.addEventListener('mousemove', function() { canvas.cairnfoldHover.over = true; });
        canvas.addEventListener('mouseleave', function() { canvas.cairnfoldHover.over = false; });
    }
    return (canvas.cairnfoldHover.over ? 1 : 0) | (document.hasFocus() ? 2 : 0) | 4;
});

Uint8 SDL_GetAppState(void) { return (Uint8)CanvasState(); }

// Hiding the cursor hides the system's cursor over the canvas (Emscripten's locks the pointer, and
// only in full screen).
static int cursorShown = 1;  // what the last SDL_ShowCursor asked for

int SDL_ShowCursor(int toggle)
{
    if (toggle == SDL_QUERY)
        return cursorShown;
    cursorShown = toggle != SDL_DISABLE;
    EM_ASM({ Module['canvas'].style.cursor = $0 ? '' : 'none'; }, cursorShown);
    return cursorShown;
}

// Events join SDL's queue when SDL_PumpEvents gathers them, as on the desktop. Emscripten's SDL queues
// each one the moment the browser hands it over, which is while a frame yields to the page, after
// the game took its input and before it empties the queue at the end of the frame: keys and clicks
// would be lost. They wait in a list of their own until the next gathering.
EM_JS(void, GatherEvents, (void), {
    if (!SDL.arrived) {
        // The arrows' DOM key codes, left, up, right and down, as SDL 1.2 numbers them.
        SDL.keyCodes[37] = 276;
        SDL.keyCodes[38] = 273;
        SDL.keyCodes[39] = 275;
        SDL.keyCodes[40] = 274;
        SDL.arrived = [];
        SDL.events.push = function(event) { return SDL.arrived.push(event); };
    }
    Array.prototype.push.apply(SDL.events, SDL.arrived);
    SDL.arrived.length = 0;
    SDL.events.forEach(function(event) { SDL.handleEvent(event); });
});

void SDL_PumpEvents(void) { GatherEvents(); }

// A frame reaches the page when the program gives the browser its turn: presenting it does, however
// long the frame took (the frame clock's hold yields only after short frames).
void SDL_GL_SwapBuffers(void) { emscripten_sleep(0); }

// Surfaces in plain memory. Emscripten's keep every surface in a 2D canvas, which it refuses to
// touch once the display is in OpenGL mode; the game only decodes images, converts and copies them
// and hands their pixels to OpenGL, which plain memory serves exactly, with no canvas rounding the
// colours of partly transparent pixels. A surface and its pixel format are one allocation.
struct PlainSurface {
    SDL_Surface surface;
    SDL_PixelFormat format;
};

// A mask's lowest set bit and its width, as SDL keeps them in a pixel format.
static void MaskShiftAndLoss(Uint32 mask, Uint8* shift, Uint8* loss)
{
    int low = 0, bits = 0;
    while (mask && !(mask & 1u)) {
        mask >>= 1;
        low++;
    }
    while (mask & 1u) {
        mask >>= 1;
        bits++;
    }
    *shift = (Uint8)low;
    *loss = (Uint8)(8 - bits);
}

SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 rmask, Uint32 gmask,
                                  Uint32 bmask, Uint32 amask)
{
    if (width < 0 || height < 0 || (depth != 24 && depth != 32)) {
        SDL_SetError("only 24- and 32-bit surfaces are made");
        return nullptr;
    }
    PlainSurface* plain = (PlainSurface*)calloc(1, sizeof(PlainSurface));
    int pitch = (width * (depth / 8) + 3) & ~3;
    void* pixels = calloc((size_t)pitch * (size_t)height + 1, 1);
    if (!plain || !pixels) {
        free(plain);
        free(pixels);
        SDL_SetError("out of memory");
        return nullptr;
    }
    SDL_PixelFormat* format = &plain->format;
    format->BitsPerPixel = (Uint8)depth;
    format->BytesPerPixel = (Uint8)(depth / 8);
    format->Rmask = rmask;
    format->Gmask = gmask;
    format->Bmask = bmask;
    format->Amask = amask;
    MaskShiftAndLoss(rmask, &format->Rshift, &format->Rloss);
    MaskShiftAndLoss(gmask, &format->Gshift, &format->Gloss);
    MaskShiftAndLoss(bmask, &format->Bshift, &format->Bloss);
    MaskShiftAndLoss(amask, &format->Ashift, &format->Aloss);
    format->refcount = 1;
    SDL_Surface* surface = &plain->surface;
    surface->flags = flags & ~(Uint32)SDL_RLEACCEL;
    surface->format = format;
    surface->w = width;
    surface->h = height;
    surface->pitch = pitch;
    surface->pixels = pixels;
    surface->clip_rect = SDL_Rect{0, 0, (Uint16)width, (Uint16)height};
    surface->refcount = 1;
    return surface;
}

void SDL_FreeSurface(SDL_Surface* surface)
{
    if (!surface)
        return;
    free(surface->pixels);
    free(surface);
}

// The pixels are always in memory.
int SDL_LockSurface(SDL_Surface*) { return 0; }
void SDL_UnlockSurface(SDL_Surface*) {}

// Blending on blits is never asked for, so the surface's alpha flag is kept only for the record.
int SDL_SetAlpha(SDL_Surface* surface, Uint32 flag, Uint8)
{
    surface->flags = (surface->flags & ~(Uint32)SDL_SRCALPHA) | (flag & SDL_SRCALPHA);
    return 0;
}

static Uint32 ReadPixel(const Uint8* at, int bytes)
{
    return bytes == 4 ? (Uint32)at[0] | (Uint32)at[1] << 8 | (Uint32)at[2] << 16 | (Uint32)at[3] << 24
                      : (Uint32)at[0] | (Uint32)at[1] << 8 | (Uint32)at[2] << 16;
}

static void WritePixel(Uint8* at, int bytes, Uint32 value)
{
    for (int b = 0; b < bytes; b++)
        at[b] = (Uint8)(value >> (8 * b));
}

// One pixel from one format to another: each channel moved from its mask to the other's; a format
// without alpha reads as opaque.
static Uint32 ConvertPixel(Uint32 value, const SDL_PixelFormat* from, const SDL_PixelFormat* to)
{
    Uint32 r = (value & from->Rmask) >> from->Rshift, g = (value & from->Gmask) >> from->Gshift;
    Uint32 b = (value & from->Bmask) >> from->Bshift;
    Uint32 a = from->Amask ? (value & from->Amask) >> from->Ashift : 0xFFu;
    return (r << to->Rshift & to->Rmask) | (g << to->Gshift & to->Gmask) | (b << to->Bshift & to->Bmask) |
           (a << to->Ashift & to->Amask);
}

// Copies the source's pixels (colour and alpha as they are, converted to the target's format) to
// dstrect's corner, cut at the target's edges.
int SDL_UpperBlit(SDL_Surface* src, const SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect)
{
    int sx = srcrect ? srcrect->x : 0, sy = srcrect ? srcrect->y : 0;
    int w = srcrect ? srcrect->w : src->w, h = srcrect ? srcrect->h : src->h;
    int dx = dstrect ? dstrect->x : 0, dy = dstrect ? dstrect->y : 0;
    if (dx + w > dst->w)
        w = dst->w - dx;
    if (dy + h > dst->h)
        h = dst->h - dy;
    int from = src->format->BytesPerPixel, to = dst->format->BytesPerPixel;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const Uint8* in = (const Uint8*)src->pixels + (sy + y) * src->pitch + (sx + x) * from;
            Uint8* out = (Uint8*)dst->pixels + (dy + y) * dst->pitch + (dx + x) * to;
            WritePixel(out, to, ConvertPixel(ReadPixel(in, from), src->format, dst->format));
        }
    return 0;
}

// A new surface of the same size in the given format, holding the surface's pixels converted.
static SDL_Surface* CopyInFormat(SDL_Surface* surface, Uint32 flags, int depth, Uint32 rmask, Uint32 gmask,
                                 Uint32 bmask, Uint32 amask)
{
    SDL_Surface* converted = SDL_CreateRGBSurface(flags, surface->w, surface->h, depth, rmask, gmask, bmask, amask);
    if (converted)
        SDL_UpperBlit(surface, nullptr, converted, nullptr);
    return converted;
}

SDL_Surface* SDL_ConvertSurface(SDL_Surface* surface, const SDL_PixelFormat* format, Uint32 flags)
{
    return CopyInFormat(surface, flags, format->BitsPerPixel, format->Rmask, format->Gmask, format->Bmask,
                        format->Amask);
}

// The display's format with alpha is red, green, blue and alpha in that byte order, as WebGL takes
// its textures.
SDL_Surface* SDL_DisplayFormatAlpha(SDL_Surface* surface)
{
    return CopyInFormat(surface, 0, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
}
