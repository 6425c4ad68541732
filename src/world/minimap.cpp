#include "world/minimap.h"

#include <cstring>

#include "world/world_grid.h"

int MapPictureSize(int cells)
{
    int size = 2;
    while (size < cells)
        size *= 2;
    return size;
}

void MapTileColour(int tileType, unsigned char rgb[3])
{
    unsigned char r = 55, g = 55, b = 130;  // open space, rock and everything else
    switch (tileType) {
    case TILE_CORNER_FLOOR:
    case TILE_WALL_FLOOR:
    case TILE_THICK_WALL_FLOOR:
    case TILE_EDGE_FEATURE:
    case TILE_FLOOR:
    case TILE_LIFT_BOTTOM:
    case TILE_LIFT_SHAFT:
    case TILE_LIFT_TOP:
        r = g = b = 110;
        break;
    case TILE_WALL:
    case TILE_WALL_CORNER:
    case TILE_PROP_GROUND:
        r = g = b = 50;
        break;
    case TILE_WALL_CORE_CENTRE:
    case TILE_WALL_CORE:
    case TILE_WALL_OUTLET:
        r = g = b = 20;
        break;
    case TILE_BOUNDARY:
        r = g = b = 0;
        break;
    default:
        break;
    }
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

void FillMapPicture(unsigned char* picture, int width, int height)
{
    memset(picture, 0, (size_t)width * height * 3);
    for (int z = 0; z < MAP_CELLS; z++)
        for (int x = 0; x < MAP_CELLS; x++)
            MapTileColour(worldGrid[CellIndex(x, ROOM_LAYER, z)].tileType, picture + z * width * 3 + x * 3);
}
