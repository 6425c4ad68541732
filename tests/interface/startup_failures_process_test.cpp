// Start-up failures of the game run as a process: each names its cause in one line of standard error.
#include "app/display.h"
#include "support/test_support.h"

TEST(Interface, StartUpFailuresEachNameTheirCauseInOneLine)
{
    static const char NO_DISPLAY[] = "cairnfold: no OpenGL window can be shown: there is no display (DISPLAY is not set)";
    // No video system: status 1. No display, or a driver that shows nothing (dummy): status 3, no save. A missing model is left empty and the
    // texture is dropped; the game plays on.
    // `error`, the one line of standard error, starts with ('s'), holds ('a') or is ('e') the text.
    const std::string closeAfterStart = std::string(WAIT_FOR_WINDOW) + CLOSE_GAME;
    const struct { const char *setup, *launch; std::string input; int status; char match; const char* error; } failures[] = {
        {"true", "DISPLAY= SDL_VIDEODRIVER=x11", "", 1, 's', "cairnfold: the video system could not start"},
        {"true", "DISPLAY= WAYLAND_DISPLAY=", "", 3, 'e', NO_DISPLAY},
        {"true", "SDL_VIDEODRIVER=dummy", "", 3, 'e',
         "cairnfold: no OpenGL window can be shown: SDL's video driver \"dummy\" has no display; is DISPLAY set?"},
        {"rm Media/dashboard.png", "", "", EXIT_NO_MEDIA, 's', "cairnfold: cannot load Media/dashboard.png"},
        {"rm -r Media", "", "", EXIT_NO_MEDIA, 'a', "run the game from the folder that holds Media/, Saves/ and settings.ini"},
        {"rm Media/entities/entity2.obj", "", closeAfterStart, 0, 'e',
         "cairnfold: cannot read Media/entities/entity2.obj; that model is left empty"},
        {"rm Media/worldtiles/worldtile7.obj", "", closeAfterStart, 0, 'e',
         "cairnfold: cannot read Media/worldtiles/worldtile7.obj; that model is left empty"},
        {"rm Media/worldtexture.png", "", closeAfterStart, 0, 's', "cairnfold: cannot load Media/worldtexture.png ("},
        {": > settings.ini", "", closeAfterStart, 0, 'e', ""},
    };
    for (const auto& f : failures) {
        const std::string dir = MakeGameFolder();
        RunShell(dir, f.setup);
        GameRun run = RunGameIn(dir, f.launch, f.input);
        EXPECT_EQ(run.status, f.status) << f.setup << " " << f.launch;
        if (f.match == 'a') { EXPECT_NE(run.error.find(f.error), std::string::npos) << run.error; }
        else { EXPECT_EQ(f.match == 's' ? run.error.substr(0, strlen(f.error)) : run.error, f.error); }
        EXPECT_EQ(run.error.find('\n'), std::string::npos) << run.error;
        EXPECT_EQ(FileExists(dir + "/Saves/worldgrid.dat"), f.status == 0) << f.setup << " " << f.launch;
        RunShell("/", "rm -rf " + dir);
    }
    // Started from a terminal with no display, the game writes its one line there and nothing else:
    // SDL's text-mode drivers, which would take the terminal over, are never started.
    const std::string dir = MakeGameFolder();
    EXPECT_EQ(RunShell(dir, "DISPLAY= WAYLAND_DISPLAY= script -qec " CAIRNFOLD_BINARY " /dev/null > terminal"), 3);
    const std::vector<unsigned char> terminal = ReadFileBytes(dir + "/terminal");
    EXPECT_EQ(std::string(terminal.begin(), terminal.end()), std::string(NO_DISPLAY) + "\r\n");
    RunShell("/", "rm -rf " + dir);
}
