#include "interface/buttons.h"

#include <SDL.h>

#include <cstring>

#include "app/input.h"
#include "interface/text.h"

QuadCoords frameCoords[2][9];

void BuildFrameCoords()
{
    for (int style = 0; style < 2; style++)
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                frameCoords[style][3 * i + j] =
                    AtlasQuadCoords((float)(FRAME_PIECE_SIZE * (3 * style + i)), (float)(60 + FRAME_PIECE_SIZE * j),
                                    FRAME_PIECE_SIZE, FRAME_PIECE_SIZE);
}

// Piece (i, j) of a style drawn over the screen rectangle (x, y, w, h).
static void DrawPiece(int style, int i, int j, int x, int y, int w, int h)
{
    DrawQuad((float)x, (float)y, (float)w, (float)h, frameCoords[style][3 * i + j]);
}

void DrawFrame(int x, int y, int style)
{
    const int piece = FRAME_PIECE_SIZE, inner = FRAME_INNER_HEIGHT, right = x + FRAME_INNER_WIDTH;
    const int spans = FRAME_INNER_WIDTH / FRAME_PIECE_SIZE;
    BeginInterfaceDrawing();
    DrawPiece(style, 0, 0, x - piece, y - piece, piece, piece);
    DrawPiece(style, 0, 2, x - piece, y + inner, piece, piece);
    DrawPiece(style, 2, 0, right, y - piece, piece, piece);
    DrawPiece(style, 2, 2, right, y + inner, piece, piece);
    for (int n = 0; n < spans; n++)
        DrawPiece(style, 1, 2, x + piece * n, y + inner, piece, piece);
    for (int n = 0; n < spans; n++)
        DrawPiece(style, 1, 0, x + piece * n, y - piece, piece, piece);
    // The middle row is squeezed from its 20-pixel cell to the 15-pixel inner height.
    DrawPiece(style, 2, 1, right, y, piece, inner);
    DrawPiece(style, 0, 1, x - piece, y, piece, inner);
    for (int n = 0; n < spans; n++)
        DrawPiece(style, 1, 1, x + piece * n, y, piece, inner);
    EndInterfaceDrawing();
}

bool DrawButton(const char* label, int centerX, int y)
{
    int left = centerX - FRAME_INNER_WIDTH / 2;
    int top = y - FRAME_INNER_HEIGHT / 2;
    // centerX - 163 <= mouseX < centerX + 163 and y - 20 <= mouseY < y + 21.
    bool over = mouseX >= left - BUTTON_HIT_MARGIN && mouseY >= top - BUTTON_HIT_MARGIN &&
                mouseX < left + FRAME_INNER_WIDTH + BUTTON_HIT_MARGIN &&
                mouseY < top + FRAME_INNER_HEIGHT + BUTTON_HIT_MARGIN;
    // The state of this frame decides both the highlight and the click, and
    // the click comes on the frame the button goes down.
    bool clicked = over && mouseButtonState[SDL_BUTTON_LEFT] == BUTTON_PRESSED;
    DrawFrame(left, top, over ? FRAME_STYLE_HOVER : FRAME_STYLE_NORMAL);
    int n = (int)strlen(label);
    // Centred on (centerX, y): half the caption's advance left, half a glyph up.
    DrawText(centerX - n * PEN_ADVANCE / 2, y - GLYPH_SIZE / 2, label);
    return clicked;
}
