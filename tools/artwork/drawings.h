// Every picture the artwork tool draws, one function each, grouped by the file that draws it.
#pragma once

#include "artwork/image.h"

#include <filesystem>

// background.cpp: the sky, hills, barn and fence behind the field.
Image DrawBackground();

// field_tiles.cpp: the block tiles, the target's cake and the damage overlays on one sheet.
Image DrawBlockTileset();
// damage_overlays.cpp: the overlays along their row of the sheet, lightest first.
void PasteDamageOverlays(Image& sheet);

// interface_bars.cpp: the bars above and below the field and the aiming markers.
Image DrawTopBar();
Image DrawBotBar();
// The bottom bar's lit states, each the part of the bar it lights, placed by the asset catalogue.
Image DrawLitPig();
Image DrawLitCow();
Image DrawLitSheep();
Image DrawLitTrick();
Image DrawCrosshair(int size);

// pictures.cpp: the cake (score icon, target and win picture), the start button and the win picture.
Image DrawCake(int size);
Image DrawStartButton();
Image DrawEndPicture();

// animals.cpp: the cannon, its ball and the three animals it fires.
Image DrawCannon();
Image DrawBall();
Image DrawPig();
Image DrawCow();
Image DrawSheep();

// icons.cpp: the game's icon, as a window icon bitmap and as desktop PNGs with soft edges.
Image DrawIcon(int size);
// Throws std::runtime_error when the file cannot be written.
void WriteIconPng(int size, const std::filesystem::path& path);
