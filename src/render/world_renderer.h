// World renderer: draws the tiles and entities around the player's cell, lit from the eye and faded into black fog.
#pragma once

extern int modelsDrawn;  // tiles and entities the last RenderWorld drew

// Draws every tile and entity within viewDistance cells of the player's cell
// (tiles first, then entities) that can show on the screen: what lies wholly
// outside the view or beyond the fog's end is left out. Then turns texturing,
// lighting, fog and the client arrays off again. Depth testing stays on.
void RenderWorld();
