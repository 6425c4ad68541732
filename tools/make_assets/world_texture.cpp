// World texture: the one sandstone texture stretched over every triangle of the world.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "make_assets.h"

// Smooth value noise on a lattice of the given period, from a fixed hash.
static double LatticeValue(int x, int y, int seed)
{
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + (uint32_t)seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0;
}

static double ValueNoise(double u, double v, int cells, int seed)
{
    double x = u * cells, y = v * cells;
    int x0 = (int)std::floor(x), y0 = (int)std::floor(y);
    double fx = x - x0, fy = y - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = LatticeValue(x0, y0, seed), b = LatticeValue(x0 + 1, y0, seed);
    double c = LatticeValue(x0, y0 + 1, seed), d = LatticeValue(x0 + 1, y0 + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

static double StoneNoise(double u, double v)
{
    return 0.45 * ValueNoise(u, v, 6, 1) + 0.3 * ValueNoise(u, v, 17, 2) + 0.25 * ValueNoise(u, v, 53, 3);
}

// Sandstone with fine grain and a darker joint along all four edges. Each
// texel equals the one turned half a turn about the centre, so the two
// triangles of a patch (which show the texture turned half a turn against each
// other) meet without a seam, and the joints outline every patch.
std::vector<uint8_t> MakeWorldTexture()
{
    std::vector<uint8_t> pixels((size_t)TEXTURE_SIZE * TEXTURE_SIZE * 3);
    const double base[3] = {226, 213, 190};
    for (int y = 0; y < TEXTURE_SIZE; y++) {
        for (int x = 0; x < TEXTURE_SIZE; x++) {
            double u = (x + 0.5) / TEXTURE_SIZE, v = (y + 0.5) / TEXTURE_SIZE;
            double grain = 0.5 * (StoneNoise(u, v) + StoneNoise(1 - u, 1 - v));
            double speck = 0.5 * (LatticeValue(x, y, 7) + LatticeValue(TEXTURE_SIZE - 1 - x, TEXTURE_SIZE - 1 - y, 7));
            double shade = 0.78 + 0.3 * grain + (speck > 0.93 ? -0.08 : 0.0);
            int edge = std::min(std::min(x, TEXTURE_SIZE - 1 - x), std::min(y, TEXTURE_SIZE - 1 - y));
            if (edge < 5) shade *= 0.62 + 0.076 * edge;
            for (int c = 0; c < 3; c++) {
                double value = base[c] * shade + (c == 0 ? 6 * grain : 0);
                pixels[((size_t)y * TEXTURE_SIZE + x) * 3 + c] = (uint8_t)std::max(0.0, std::min(255.0, value));
            }
        }
    }
    return pixels;
}
