// Quads: atlas rectangles as texture coordinates, textured quads in screen pixels, and the mouse pointer.
#pragma once

// Texture coordinates (s, t) of a quad's four corners in the order
// bottom-left, bottom-right, top-right, top-left as shown on screen.
struct QuadCoords {
    float st[8];
};

constexpr float ATLAS_S_SCALE = 0.0009765625f;  // 1 / ATLAS_WIDTH: atlas x to s
constexpr float ATLAS_T_SCALE = 0.00390625f;    // 1 / ATLAS_HEIGHT: atlas y to t

// The pointer image: its atlas rectangle and the pixel of it that marks the
// mouse position (the arrow's tip).
constexpr int POINTER_ATLAS_X = 440;
constexpr int POINTER_ATLAS_Y = 60;
constexpr int POINTER_WIDTH = 40;
constexpr int POINTER_HEIGHT = 60;
constexpr int POINTER_HOT_X = 12;
constexpr int POINTER_HOT_Y = 10;

extern QuadCoords pointerCoords;  // the pointer's atlas rectangle, set by BuildPointerCoords

// The coordinates of the atlas rectangle (x, y, w, h), in atlas pixels with y
// down from the image's top row.
QuadCoords AtlasQuadCoords(float x, float y, float w, float h);

// One textured quad with top-left corner (x, y) and size w x h in pixels.
// Only between BeginInterfaceDrawing and EndInterfaceDrawing.
void DrawQuad(float x, float y, float w, float h, const QuadCoords& coords);

// Pixel coordinates, the atlas texture bound, texturing, blending, the alpha
// test and the vertex and texture-coordinate arrays on.
void BeginInterfaceDrawing();

// Texturing, blending, the alpha test and both arrays off again.
void EndInterfaceDrawing();

void BuildPointerCoords();

// The pointer with its hot spot on the mouse position (x, y).
void DrawPointer(int x, int y);
