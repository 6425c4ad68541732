#include "worldgen/world_random.h"

// The additive feedback generator: each new word is the sum of the words 3 and 31 places
// back in the table (modulo 2^32), and the value drawn is that sum without its lowest bit.
static const int RANDOM_DEGREE = 31;      // words in the table
static const int RANDOM_SEPARATION = 3;   // distance between the two words summed
static const int RANDOM_WARM_UP = 310;    // values discarded after seeding (ten per word)

static uint32_t randomTable[RANDOM_DEGREE];  // the last 31 words of the sequence
static int frontIndex;                       // word that receives the next sum
static int rearIndex;                        // word added to it
static bool randomSeeded;                    // false until the first seed, explicit or implied

static int NextValue()
{
    randomTable[frontIndex] += randomTable[rearIndex];
    int value = (int)(randomTable[frontIndex] >> 1);
    frontIndex = (frontIndex + 1) % RANDOM_DEGREE;
    rearIndex = (rearIndex + 1) % RANDOM_DEGREE;
    return value;
}

void SeedWorldRandom(unsigned seed)
{
    if (seed == 0)
        seed = 1;
    // The table starts as the minimal standard generator (16807 × w mod 2^31 − 1) from the
    // seed, taken as a signed 32-bit word and computed by Schrage's method, as glibc does.
    int32_t word = (int32_t)seed;
    randomTable[0] = (uint32_t)word;
    for (int i = 1; i < RANDOM_DEGREE; i++) {
        int64_t hi = word / 127773;
        int64_t lo = word % 127773;
        word = (int32_t)(16807 * lo - 2836 * hi);
        if (word < 0)
            word += 2147483647;
        randomTable[i] = (uint32_t)word;
    }
    frontIndex = RANDOM_SEPARATION;
    rearIndex = 0;
    randomSeeded = true;
    for (int i = 0; i < RANDOM_WARM_UP; i++)
        NextValue();
}

int WorldRandom()
{
    if (!randomSeeded)
        SeedWorldRandom(1);
    return NextValue();
}
