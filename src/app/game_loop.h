// Game loop: world start-up and the per-frame sequence of the running game.
#pragma once

#include <GL/gl.h>

extern bool quitRequested;     // ends the frame loop after the current frame
extern bool appHasMouseFocus;  // the window had the mouse focus at the end of the last frame
extern bool pastFirstFrame;    // false until the first frame has been presented
extern char gameTitle[256];    // "Cairnfold", shown on the pause menu
extern float versionNumber;    // SAVE_VERSION, the version the saves carry; shown on the pause menu

constexpr float MIN_TIME_STEP = 0.2f;
constexpr float MAX_TIME_STEP = 2.0f;

// The world's time step for a frame rate: 60 / fps time units, within
// 0.2..2.0; the player update advances the world by it each frame.
float FrameTimeStep(float fps);

// Resumes the saved world and game, or makes a new world and a new game.
void StartWorld();

// Runs one frame: input, update and drawing, frame hold, present, events.
void RunFrame();
