// World renderer: draws the tiles and entities around the player's cell, lit from the eye and faded into black fog.
#pragma once

// Draws every tile and entity within viewDistance cells of the player's cell
// (tiles first, then entities), then turns texturing, lighting, fog and the
// client arrays off again. Depth testing stays on.
void RenderWorld();
