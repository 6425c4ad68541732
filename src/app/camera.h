// Camera: the 3D eye-point projection and the 2D pixel projection of every frame.
#pragma once

constexpr double NEAR_PLANE = 1.0;
constexpr double FAR_PLANE = 1000.0;

// Projection with the given vertical field of view (degrees) and modelview
// Rz(roll) * Rx(pitchAngle) * Ry(yawAngle) * T(-eye) from the game state.
void SetupCamera3D(float pitchAngle, float yawAngle, float fieldOfView);

// Pixel coordinates, origin top-left, y down; depth testing off.
void Begin2D();
