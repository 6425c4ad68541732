// Shared math: the vector record and the angle factors every subsystem uses.
#pragma once

struct Vec3 {
    float x, y, z;
};

constexpr float PI = 3.14159265f;                    // pi as a float
constexpr float DEGREES_TO_RADIANS = 0.0174532924f;  // pi / 180 as a float
constexpr float RADIANS_TO_DEGREES = 57.29578f;      // 180 / pi as a float
