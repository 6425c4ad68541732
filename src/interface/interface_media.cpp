#include "interface/interface_media.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "app/display.h"
#include "interface/buttons.h"
#include "interface/images.h"
#include "interface/menu_fade.h"
#include "interface/pause_menu.h"
#include "interface/quads.h"
#include "interface/text.h"
#include "interface/textures.h"

SDL_Surface* interfaceSurface;

// A game started from another folder finds no Media/ at all; say where it
// must run instead of naming one of the many files it would miss.
static void StopForMissingMedia()
{
    struct stat folder;
    if (stat("Media", &folder) != 0 || !S_ISDIR(folder.st_mode))
        fprintf(stderr,
                "cairnfold: no Media/ folder here; run the game from the folder that holds Media/, Saves/ and "
                "settings.ini\n");
    else
        fprintf(stderr, "cairnfold: cannot load %s (%s)\n", DASHBOARD_PATH, SDL_GetError());
    SDL_Quit();
    exit(EXIT_NO_MEDIA);
}

void LoadInterfaceMedia()
{
    SDL_Surface* image = LoadImageSurface(DASHBOARD_PATH);
    if (!image)
        StopForMissingMedia();
    interfaceSurface = BuildAtlasSurface(image);
    SDL_FreeSurface(image);
    if (!interfaceSurface)
        StopForMissingMedia();
    interfaceTexture = CreateInterfaceTexture(interfaceSurface);
    BuildPointerCoords();
    BuildFontCoords();
    BuildFrameCoords();
    ResetMenuFade();
    BuildMenuBarCoords();
}
