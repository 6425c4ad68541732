// Video driver choice in the browser: Emscripten's SDL always draws into the page's canvas.
#include "app/video_driver.h"

const char* ChooseVideoDriver() { return nullptr; }
