// Reference renderer: the world pass without leaving anything out, the whole cube of cells
// submitted; the game's renderer must put the same pixels on the screen.
#pragma once

// Draws as RenderWorld does, every tile and entity of the cube around the player's cell.
void RenderWholeCube();
