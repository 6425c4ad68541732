// Video driver choice on Windows: SDL's own driver always reaches the desktop.
#include "app/video_driver.h"

const char* ChooseVideoDriver() { return nullptr; }
