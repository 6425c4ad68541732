// Shared math: the vector record, its helpers and the angle factors every subsystem uses.
#pragma once

#include <cmath>

struct Vec3 {
    float x, y, z;
};

constexpr float PI = 3.14159265f;                    // pi as a float
constexpr float HALF_PI = 1.5707964f;                // pi / 2 as a float: a quarter turn
constexpr float DEGREES_TO_RADIANS = 0.0174532924f;  // pi / 180 as a float
constexpr float RADIANS_TO_DEGREES = 57.29578f;      // 180 / pi as a float
constexpr int QUARTER_TURN_DEGREES = 90;             // one orientation step of a tile or lift

// ---- vector helpers, every result rounded to float

inline Vec3 Sub(const Vec3& a, const Vec3& b) { return Vec3{a.x - b.x, a.y - b.y, a.z - b.z}; }

inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline float Length(const Vec3& v) { return sqrtf(Dot(v, v)); }

// v divided by its length; a zero or non-finite vector gives the zero vector.
inline Vec3 NormalizeVector(Vec3 v)
{
    float length = sqrtf(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length > 0.0f && std::isfinite(length))
        return Vec3{v.x / length, v.y / length, v.z / length};

    // A zero vector has no direction; one with non-finite parts has none we
    // can trust. Both give the zero vector rather than NaN.
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
        return Vec3{0.0f, 0.0f, 0.0f};
    float largest = fmaxf(fabsf(v.x), fmaxf(fabsf(v.y), fabsf(v.z)));
    if (largest == 0.0f)
        return Vec3{0.0f, 0.0f, 0.0f};
    // The squares overflowed or underflowed: bring the vector near unit size first.
    Vec3 scaled = {v.x / largest, v.y / largest, v.z / largest};
    length = sqrtf(scaled.x * scaled.x + scaled.y * scaled.y + scaled.z * scaled.z);
    return Vec3{scaled.x / length, scaled.y / length, scaled.z / length};
}

// Unit normal of (c - a) x (b - a): points away from a viewer who sees a, b, c
// counter-clockwise. A triangle with no area gives the zero vector.
inline Vec3 TriangleNormal(Vec3 a, Vec3 b, Vec3 c)
{
    Vec3 u = Sub(b, a);
    Vec3 w = Sub(c, a);
    return NormalizeVector(Vec3{u.z * w.y - u.y * w.z, w.z * u.x - u.z * w.x, w.x * u.y - u.x * w.y});
}
