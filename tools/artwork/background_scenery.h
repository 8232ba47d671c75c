// The background's scenery as data: where the sun, clouds, hills, barn, trees, flowers and fence are,
// their sizes and colours. Distances in background pixels; y grows downwards.
#pragma once

#include "artwork/image.h"

#include <array>
#include <cstdint>

// The sky fades from top to bottom colour over the first gradientHeight pixels.
struct Sky {
    Rgb top;
    Rgb bottom;
    double gradientHeight;
};
constexpr Sky kSky{.top = {92, 168, 236}, .bottom = {196, 230, 250}, .gradientHeight = 470.0};

// A sun disc with a soft glow around it and a lighter spot toward its top left.
struct Sun {
    double x;
    double y;
    double discRadius;  // fully lit inside discRadius - 1, fading over the last pixel
    Rgb disc;
    double glowStart;  // the glow is strongest at this distance and gone glowWidth further out
    double glowWidth;
    double glowStrength;  // share of the glow colour at its strongest
    Rgb glow;
    double spotX;
    double spotY;
    double spotRadius;
    double spotLimit;  // no spot beyond this distance from the sun's centre
    Rgb spot;
};
constexpr Sun kSun{.x = 860,
                   .y = 105,
                   .discRadius = 46,
                   .disc = {255, 236, 120},
                   .glowStart = 40,
                   .glowWidth = 110,
                   .glowStrength = 0.35,
                   .glow = {255, 250, 205},
                   .spotX = 848,
                   .spotY = 93,
                   .spotRadius = 30,
                   .spotLimit = 44,
                   .spot = {255, 248, 180}};

// A cloud is a row of round puffs on a long rounded base, cut flat at the bottom; its size scales
// every offset and radius of kCloudShape.
struct Cloud {
    double x;
    double y;
    double size;
};
constexpr std::array kClouds{Cloud{150, 150, 1.0}, Cloud{430, 95, 0.75}, Cloud{640, 200, 0.9},
                             Cloud{900, 250, 0.6}, Cloud{320, 300, 0.55}};

struct Puff {
    double dx;
    double dy;
    double radius;
};
struct CloudShape {
    std::array<Puff, 6> puffs;
    double baseLeft;  // the base runs from x - baseLeft to x + baseRight at y + baseY
    double baseRight;
    double baseY;
    double baseRadius;
    double bottom;      // flat underside, below y
    double shadeStart;  // the underside tint starts above y and is full shadeDepth further down
    double shadeDepth;
    double edge;  // pixels over which a cloud's edge fades into the sky
    Rgb top;
    Rgb underside;
};
constexpr CloudShape kCloudShape{
    .puffs = {{{-60, 10, 32}, {-25, -12, 40}, {18, -22, 46}, {58, -2, 36}, {85, 14, 26}, {10, 14, 38}}},
    .baseLeft = 60,
    .baseRight = 85,
    .baseY = 12,
    .baseRadius = 20,
    .bottom = 30,
    .shadeStart = 5,
    .shadeDepth = 35,
    .edge = 1.5,
    .top = {255, 255, 255},
    .underside = {205, 220, 238}};

// A hill's skyline: y = base + two sine waves of x (amplitude in pixels, frequency in radians per pixel).
struct Wave {
    double amplitude;
    double frequency;
    double phase;
};
struct Hill {
    double base;
    Wave first;
    Wave second;
    Rgb top;  // grass colour at the skyline, fading to bottom over gradientDepth pixels
    Rgb bottom;
    double gradientDepth;
    double noiseScaleX;  // mottling of the grass
    double noiseScaleY;
    std::uint32_t noiseSeed;
    double noiseStrength;
};
constexpr Hill kFarHill{.base = 455,
                        .first = {32, 0.0062, 0.8},
                        .second = {14, 0.017, 2.0},
                        .top = {158, 212, 118},
                        .bottom = {118, 186, 92},
                        .gradientDepth = 120,
                        .noiseScaleX = 0.03,
                        .noiseScaleY = 0.05,
                        .noiseSeed = 7,
                        .noiseStrength = 0.12};
constexpr Hill kNearHill{.base = 540,
                         .first = {26, 0.0085, 2.4},
                         .second = {9, 0.021, 0.3},
                         .top = {112, 190, 78},
                         .bottom = {64, 140, 52},
                         .gradientDepth = 110,
                         .noiseScaleX = 0.05,
                         .noiseScaleY = 0.08,
                         .noiseSeed = 3,
                         .noiseStrength = 0.16};

// The red barn on the far hill, standing on the skyline at x, sunk a little into the grass.
struct Barn {
    double x;
    double sink;
    double halfWidth;
    double wallHeight;
    int boardSpacing;    // a darker board every this many pixels
    double ridgeHeight;  // above the foot of the wall
    double roofDepth;
    double ridgeHalfWidth;
    double roofSpread;  // extra half width per roof depth
    double trimWidth;   // the white rim along the roof's slopes
    double trimFrom;    // share of the roof's depth where the white eaves start
    double doorHalfWidth;
    double doorHeight;
    double doorFrame;  // share of the door left white around its panels and along its cross
    double doorFrameEnd;
    double crossWidth;
    Rgb wall;
    Rgb board;
    Rgb roof;
    Rgb trim;
    Rgb panel;
};
constexpr Barn kBarn{.x = 740,
                     .sink = 6,
                     .halfWidth = 28,
                     .wallHeight = 34,
                     .boardSpacing = 7,
                     .ridgeHeight = 58,
                     .roofDepth = 24,
                     .ridgeHalfWidth = 6,
                     .roofSpread = 28,
                     .trimWidth = 2,
                     .trimFrom = 0.9,
                     .doorHalfWidth = 11,
                     .doorHeight = 22,
                     .doorFrame = 0.08,
                     .doorFrameEnd = 0.92,
                     .crossWidth = 0.12,
                     .wall = {200, 50, 45},
                     .board = {175, 40, 38},
                     .roof = {120, 70, 60},
                     .trim = {240, 240, 235},
                     .panel = {170, 38, 36}};

// Round trees on the far hill, each standing on the skyline at its x.
constexpr std::array kTreeXs{120.0, 170.0, 540.0, 975.0};
struct TreeShape {
    double sink;
    double trunkHalfWidth;
    double trunkHeight;  // above the foot
    double trunkFoot;    // below the foot
    double crownHeight;  // crown centre above the foot
    double crownRadius;
    double crownSquash;  // the crown is this much flatter than round
    Rgb trunk;
    Rgb leafLit;
    Rgb leafShaded;
    double leafNoiseScale;
    std::uint32_t leafNoiseSeed;
    double leafNoiseStrength;
};
constexpr TreeShape kTree{.sink = 4,
                          .trunkHalfWidth = 3,
                          .trunkHeight = 22,
                          .trunkFoot = 4,
                          .crownHeight = 30,
                          .crownRadius = 20,
                          .crownSquash = 1.1,
                          .trunk = {110, 78, 50},
                          .leafLit = {88, 160, 70},
                          .leafShaded = {50, 115, 48},
                          .leafNoiseScale = 0.35,
                          .leafNoiseSeed = 11,
                          .leafNoiseStrength = 0.25};

// Flowers on the near hill: at most one per cell, placed and coloured by hash.
struct Flowers {
    double cellWidth;
    double cellHeight;
    double marginX;  // a flower's centre lies marginX + up to spreadX into its cell
    double spreadX;
    double marginY;
    double spreadY;
    double minDepth;  // pixels below the skyline
    double share;     // of cells with a flower
    double radius;
    double heartRadius;
    Rgb white;
    Rgb yellow;
    Rgb heart;
};
constexpr Flowers kFlowers{.cellWidth = 23,
                           .cellHeight = 17,
                           .marginX = 4,
                           .spreadX = 15,
                           .marginY = 3,
                           .spreadY = 11,
                           .minDepth = 8,
                           .share = 0.35,
                           .radius = 2.2,
                           .heartRadius = 0.9,
                           .white = {255, 255, 250},
                           .yellow = {255, 220, 70},
                           .heart = {250, 170, 40}};

// The wooden fence that follows the near hill's skyline.
struct Fence {
    double postSpacing;
    double phase;  // shifts the posts along x
    double postWidth;
    double lightWidth;  // lit left edge of each post
    double postTop;     // above the skyline
    double postFoot;    // below it
    double topRail;     // above the skyline
    double middleRail;
    double railHalfThickness;
    double railFoot;  // rails stop this far below the skyline
    Rgb post;
    Rgb rail;
    Rgb light;
};
constexpr Fence kFence{.postSpacing = 60,
                       .phase = 1000,
                       .postWidth = 5,
                       .lightWidth = 1.5,
                       .postTop = 30,
                       .postFoot = 4,
                       .topRail = 24,
                       .middleRail = 12,
                       .railHalfThickness = 2,
                       .railFoot = 2,
                       .post = {150, 105, 65},
                       .rail = {175, 128, 82},
                       .light = {185, 140, 95}};
