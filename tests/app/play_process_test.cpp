// The real game played under a private X server with keys and clicks from xdotool, checked through
// screenshots of its window and through what it saved.

#include "app/game_loop.h"
#include "app/input.h"
#include "app/camera.h"
#include "interface/interface_media.h"
#include "interface/menu_fade.h"
#include "interface/pause_menu.h"
#include "interface/quads.h"
#include "interface/text.h"
#include "player/game_state.h"
#include "support/test_support.h"
#include "world/saves.h"

using Bytes = std::vector<unsigned char>;

// Regions of the 800 x 600 window: the heads-up line, the minimap, the world right of both.
struct Box {
    int x0, y0, x1, y1;
};
static const Box HEADS_UP = {0, 0, 300, 30}, MAP = {10, 340, 260, 590}, WORLD = {300, 40, 800, 600};
static const int W = 800, H = 600;
// Views that should be the same may differ by the last fraction of a step or a turn that the player
// settles by between frames; that moves texture edges, by at most this much in a channel.
static const int SETTLE = 40;
// The most a run may take: on a loaded machine the game draws a few frames a second.
static const int PLAY_SECONDS = 500;

// The share of a region's pixels that differ between two frames (RGB, top row first) by more than
// `tolerance` in some channel; NaN, which fails every comparison, when a frame is missing.
static double Changed(const Bytes& a, const Bytes& b, Box r, int tolerance = 0)
{
    if (a.size() != (size_t)W * H * 3 || b.size() != a.size()) return NAN;
    int changed = 0;
    for (int y = r.y0; y < r.y1; y++)
        for (int x = r.x0; x < r.x1; x++)
            for (int c = 0, i = (y * W + x) * 3; c < 3; c++)
                if (abs(a[i + c] - b[i + c]) > tolerance) {
                    changed++;
                    break;
                }
    return changed / (double)((r.x1 - r.x0) * (r.y1 - r.y0));
}

// The back buffer of the test window, top row first.
static Bytes ReadFrame()
{
    Bytes rows(W * H * 3), frame(W * H * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    for (int y = 0; y < H; y++) memcpy(&frame[y * W * 3], &rows[(H - 1 - y) * W * 3], W * 3);
    return frame;
}

// The heads-up line for `count` as the game draws it (over black), and where it is opaque: the
// pixels that come out the same drawn over black and over white cover whatever lies beneath.
struct Line {
    Bytes frame;
    std::vector<int> opaque;
};
static Line HeadsUpLine(int count)
{
    char text[HEADS_UP_TEXT_SIZE];
    FormatHeadsUpText(text, sizeof text, count);
    Bytes over[2];
    for (int k = 1; k >= 0; k--) {
        glClearColor(k, k, k, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        Begin2D();
        DrawText(10, 10, text);
        over[k] = ReadFrame();
    }
    Line line = {over[0], {}};
    for (int i = 0; i < W * HEADS_UP.y1; i++)
        if (i % W < HEADS_UP.x1 && memcmp(&over[0][i * 3], &over[1][i * 3], 3) == 0) line.opaque.push_back(i);
    return line;
}
static bool Shows(const Bytes& shot, const Line& line)
{
    for (int i : line.opaque)
        if (shot.size() != line.frame.size() || memcmp(&shot[i * 3], &line.frame[i * 3], 3) != 0) return false;
    return !line.opaque.empty();
}

TEST(PlayProcess, KeysAndClicksChangeWhatIsDrawnAndWhatIsSaved)
{
    // What the game must show, drawn here with its own code: the pause menu at full fade with the
    // pointer at (700, 450), and the heads-up line for 0 and for 17 collectables.
    OpenTestDisplay(W, H);
    LoadInterfaceMedia();
    strcpy(gameTitle, "Cairnfold");
    versionNumber = 0.3f;
    menuFade = 100;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawMenuBars();
    DrawMenuItems();  // with the pointer over neither item
    DrawPointer(700, 450);
    const Bytes menu = ReadFrame();
    const Line none = HeadsUpLine(0), seventeen = HeadsUpLine(17);

    // The first run starts in an empty Saves/ and is played by play_input.sh; the second resumes.
    // Every step waits until the game has acted on it, however fast or slow the machine draws.
    const std::string dir = MakeGameFolder();
    WriteFileText(dir + "/reference", std::string(menu.begin(), menu.end()));
    const std::string begin = ". " CAIRNFOLD_SOURCE_DIR "/tests/support/game_input.sh;";
    GameRun run = RunGameIn(dir, FAKE_START, begin + ". " CAIRNFOLD_SOURCE_DIR "/tests/app/play_input.sh;", PLAY_SECONDS);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.error, "");
    auto Shot = [&](const char* name) { return ReadFileBytes(dir + "/" + name); };
    const Bytes start = Shot("start"), turned = Shot("turned"), fallen = Shot("fallen");
    EXPECT_TRUE(Shows(start, none));
    EXPECT_FALSE(Shows(start, seventeen));

    // Keys 1 to 4 change the world drawn and nothing else; pressed again, they restore the view.
    // Between shots of one view only the spinning collectables and the lifts move (under 2 %, under
    // 5 % after the pause menu, which the world waited through).
    const struct { const char *before, *after; double world; } views[] = {
        {"start", "untextured", 0.3}, {"untextured", "textured", 0.3}, {"start", "textured", -0.02},
        {"textured", "nearer", 0.05}, {"nearer", "farther", 0.05}, {"start", "farther", -0.02},
        {"flying", "fallen", 0.3}, {"menu", "resumed", 0.5}, {"saved", "resumed", -0.05},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(testing::Message() << v.before << " " << v.after);
        double world = Changed(Shot(v.before), Shot(v.after), WORLD, v.world > 0 ? 0 : SETTLE);
        if (v.world > 0) { EXPECT_GT(world, v.world); }
        else { EXPECT_LT(world, -v.world); }
        EXPECT_TRUE(Shows(Shot(v.after), none));
    }
    // The minimap turns with the view around its fixed marker; flying up and falling back leave it.
    EXPECT_GT(Changed(start, turned, MAP), 0.3);
    EXPECT_LT(Changed(Shot("flying"), fallen, MAP), 0.02);
    // The pause menu at full fade is exactly what its drawing code draws, but for the clock.
    EXPECT_EQ(Changed(Shot("menu"), menu, {0, 60, W, H}), 0);
    EXPECT_EQ(Changed(Shot("menu"), menu, {0, 0, 400, 60}), 0);

    // Key 8 saved the player turned to the right and moved along the view by walking.
    ASSERT_EQ(chdir(dir.c_str()), 0);
    ASSERT_EQ(rename("saved.dat", "Saves/coresave.dat"), 0);
    ASSERT_TRUE(LoadCoreState());
    const float dx = gameState.position.x - 1250, dz = gameState.position.z - 1250;
    EXPECT_GT(gameState.yaw, 1.0f);
    EXPECT_GT(sqrtf(dx * dx + dz * dz), 10);
    EXPECT_GT(dx * cosf(gameState.yaw) + dz * sinf(gameState.yaw), 0.95f * sqrtf(dx * dx + dz * dz));
    // A second start resumes there, with the count the file holds.
    gameState.collectablesFound = 17;
    SaveCoreState();
    run = RunGameIn(dir, FAKE_START, begin + "save; save; shot again;" + CLOSE_GAME, PLAY_SECONDS);
    EXPECT_EQ(run.status, 0) << run.error;
    const Bytes again = Shot("again");
    EXPECT_TRUE(Shows(again, seventeen));
    EXPECT_FALSE(Shows(again, none));
    EXPECT_LT(Changed(Shot("saved"), again, WORLD, SETTLE), 0.02);
    ASSERT_EQ(chdir("/"), 0);
    RunShell("/", "rm -rf " + dir);
}
