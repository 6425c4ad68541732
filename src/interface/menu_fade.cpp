#include "interface/menu_fade.h"

bool menuOpen;
float menuFade;
