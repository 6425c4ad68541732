// Menu icon: a cairn of three sandstone blocks under the collectable gem, on the panel of the
// pause menu's highlighted button; drawn at any size from one layout in units of the icon's side.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "make_assets.h"

namespace {

struct Shade {
    double r, g, b;
};

// A block of the cairn: its face in icon units (x0, y0 top left) and the light on it.
struct Block {
    double x0, y0, x1, y1, light;
};

}  // namespace

// The panel and its rule: the colours of the highlighted button frame; the dark outline of the pointer.
static const Shade PANEL = {44, 38, 24}, RULE = {244, 204, 96}, OUTLINE = {20, 16, 12};
static const double PANEL_RADIUS = 0.16, RULE_INSET = 0.035, RULE_HALF_WIDTH = 0.014, OUTLINE_WIDTH = 0.012;

// Bottom to top; each narrower than the one it stands on, lit more the higher it stands.
static const Block BLOCKS[] = {
    {0.18, 0.70, 0.82, 0.88, 0.78},
    {0.26, 0.53, 0.74, 0.70, 0.90},
    {0.34, 0.38, 0.66, 0.53, 1.00},
};

// The gem floats over the top block: six-sided, seen side-on, its upper point taller than its lower
// as in the entity model (1.3 against 1.1 units); gold, lit from the right and from above.
static const double GEM_X = 0.5, GEM_TOP = 0.06, GEM_WAIST = 0.2, GEM_BOTTOM = 0.32, GEM_HALF_WIDTH = 0.12;
static const Shade GEM = {214, 178, 96};

static const int SUBSAMPLES = 4;  // per pixel along each axis

// The colour at one point of the icon (units of its side), or false where the icon is clear.
static bool IconPoint(double x, double y, const std::vector<uint8_t>& stone, Shade& colour)
{
    double panel = RoundedBoxDistance(x, y, 0.02, 0.02, 0.98, 0.98, PANEL_RADIUS);
    if (panel > 0) return false;
    colour = std::fabs(panel + RULE_INSET) < RULE_HALF_WIDTH ? RULE : PANEL;
    for (const Block& b : BLOCKS) {
        if (x < b.x0 - OUTLINE_WIDTH || x > b.x1 + OUTLINE_WIDTH || y < b.y0 - OUTLINE_WIDTH ||
            y > b.y1 + OUTLINE_WIDTH)
            continue;
        colour = OUTLINE;
        if (x < b.x0 || x > b.x1 || y < b.y0 || y > b.y1) continue;
        // The whole world texture stretched over the face, joints and all, as on a wall of the game.
        int tx = std::min(TEXTURE_SIZE - 1, (int)((x - b.x0) / (b.x1 - b.x0) * TEXTURE_SIZE));
        int ty = std::min(TEXTURE_SIZE - 1, (int)((y - b.y0) / (b.y1 - b.y0) * TEXTURE_SIZE));
        const uint8_t* t = &stone[((size_t)ty * TEXTURE_SIZE + tx) * 3];
        colour = {t[0] * b.light, t[1] * b.light, t[2] * b.light};
    }
    double dx = std::fabs(x - GEM_X), upper = GEM_WAIST - GEM_TOP, lower = GEM_BOTTOM - GEM_WAIST;
    double reach = dx / GEM_HALF_WIDTH + (y < GEM_WAIST ? (GEM_WAIST - y) / upper : (y - GEM_WAIST) / lower);
    if (reach <= 1 + OUTLINE_WIDTH / GEM_HALF_WIDTH) colour = OUTLINE;
    if (reach <= 1) {
        // Of the six faces three show: the middle one head-on, the outer two turned away.
        double light = dx < GEM_HALF_WIDTH / 2 ? 1.0 : (x > GEM_X ? 1.12 : 0.7);
        if (y > GEM_WAIST) light *= 0.72;
        colour = {std::min(255.0, GEM.r * light), std::min(255.0, GEM.g * light), std::min(255.0, GEM.b * light)};
    }
    return true;
}

std::vector<uint8_t> MakeIcon(int size)
{
    const std::vector<uint8_t> stone = MakeWorldTexture();
    std::vector<uint8_t> pixels((size_t)size * size * 4);
    for (int py = 0; py < size; py++) {
        for (int px = 0; px < size; px++) {
            double sum[3] = {0, 0, 0};
            int covered = 0;
            for (int sy = 0; sy < SUBSAMPLES; sy++) {
                for (int sx = 0; sx < SUBSAMPLES; sx++) {
                    Shade c;
                    if (!IconPoint((px + (sx + 0.5) / SUBSAMPLES) / size, (py + (sy + 0.5) / SUBSAMPLES) / size, stone,
                                   c))
                        continue;
                    sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
                    covered++;
                }
            }
            uint8_t* p = &pixels[((size_t)py * size + px) * 4];
            for (int k = 0; k < 3 && covered; k++) p[k] = (uint8_t)std::lround(sum[k] / covered);
            p[3] = (uint8_t)std::lround(255.0 * covered / (SUBSAMPLES * SUBSAMPLES));
        }
    }
    return pixels;
}
