// The game's entry point: start-up, the frame loop and shutdown.
#include <SDL.h>
#include <ctime>

#include "app/display.h"
#include "app/game_loop.h"
#include "app/platform.h"
#include "app/settings.h"
#include "interface/interface_media.h"
#include "worldgen/world_random.h"

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    KeepFreedMemory();
    EnterGameFolder();
    LoadSettings();
    SeedWorldRandom((unsigned)time(nullptr));
    OpenDisplay();
    LoadInterfaceMedia();
    StartWorld();
    while (!quitRequested)
        RunFrame();
    SDL_Quit();
    return 0;
}
