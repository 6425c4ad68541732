// Finishing pass: clears room-level rock, dresses rock, room tops and wall columns, and closes the world.
#pragma once

// Runs the finishing steps below in order (draws WorldRandom() for column caps and wall fixtures).
void GenerateFinishingDetails();

// Steps of GenerateFinishingDetails that also run alone on a crafted grid, in the order it runs them.

// Every remaining boundary code is emptied, then the outer ring and the top layer become boundary.
void CloseWorldBoundary();
