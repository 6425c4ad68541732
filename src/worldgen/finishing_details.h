// Finishing pass: clears room-level rock, dresses rock, room tops and wall columns, and closes the world.
#pragma once

// Runs the finishing steps below in order (draws WorldRandom() for column caps and wall fixtures).
void GenerateFinishingDetails();

// The steps of GenerateFinishingDetails in the order it runs them.

// Every room-level rock cell becomes empty (tile byte only).
void ClearRoomLevelRock();
// Layer-2 rock beside the foot of one wall becomes a rock edge, beside two perpendicular walls a rock corner.
void AddRockEdges();
// A room top with a free neighbouring room top takes it in and becomes a double room top.
void MergeRoomTops();
// 59375 random attempts on each of layers 4..9 to cap a free-standing thick-wall column top.
void AddColumnCaps();
// 50000 random attempts on each of layers 4..8 to hang a fixture on the outer face of a thick-wall column.
void AddWallFixtures();
// A room-level wall with no wall core among its 4-neighbours becomes prop ground.
void MarkFreeStandingWalls();
// A wall core with wall skin two cells away on both sides along one axis becomes a core centre.
void MarkWallCoreCentres();
// Every remaining boundary code is emptied, then the outer ring and the top layer become boundary.
void CloseWorldBoundary();
