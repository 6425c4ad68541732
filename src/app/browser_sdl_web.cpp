// Emscripten's SDL 1.2 made to behave as SDL does on the desktop: its functions that differ are
// replaced here, and the program's own definitions take the place of Emscripten's.
#include <SDL.h>
#include <emscripten.h>

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

// A frame reaches the page when the program gives the browser its turn: presenting it does, however
// long the frame took (the frame clock's hold yields only after short frames).
void SDL_GL_SwapBuffers(void) { emscripten_sleep(0); }
