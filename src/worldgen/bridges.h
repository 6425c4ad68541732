// Bridge pass: walkways between facing wall columns on layers 5..11.
#pragma once

constexpr int BRIDGE_LOWEST_LAYER = 5;
constexpr int BRIDGE_HIGHEST_LAYER = 11;
constexpr int BRIDGE_ATTEMPTS_PER_LAYER = 21875;
constexpr int BRIDGE_MAX_GAP = 12;  // empty cells a bridge may span

// For each layer 5..11 in turn, 21875 attempts at drawn cells (x then z, both 1..248).
void GenerateBridges();
