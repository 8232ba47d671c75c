// The application: owns the window, the artwork, the field and the game's counters.
#pragma once

#include "app/cevent.h"
#include "app/frame_pacer.h"
#include "assets/owned_surface.h"
#include "render/frame_painter.h"
#include "render/interface_set.h"

#include <SDL.h>
#include <box2d/b2_math.h>

#include <cstdint>
#include <memory>
#include <optional>

class Map;
struct Projectile;

namespace GameState {
constexpr int32_t StartScreen = 0;
constexpr int32_t Playing = 1;
constexpr int32_t Ended = 2;
}  // namespace GameState

namespace AimState {
constexpr int32_t Idle = 0;
constexpr int32_t WaitingForAction = 1;  // a cow or sheep waits for its second click
constexpr int32_t Aiming = 2;            // the left button is held
}  // namespace AimState

class Shooter : public CEvent {
public:
    Shooter();
    ~Shooter() override;

    // Runs the whole game: 0 after the window is closed, -1 when start-up fails.
    int OnExecute();
    bool OnInit();
    // One iteration of the main loop: every queued event, one frame of rules (or as many as the
    // pacer asks for to catch up), one frame drawn.
    void RunFrame(uint32_t steps = 1);
    void OnCleanup();

    // Start-up steps.
    bool CheckFieldPictures();
    bool OpenWindow();
    bool LoadImages();
    void InitPhysics();
    void ResetCounters();
    void CreateMap();
    void CreateInterface();

    // The level: seeded with the clock, unless a fixed seed was set.
    void GenerateLevel();
    void GenerateLevel(unsigned seed);
    void SetLevelSeed(unsigned seed);

    // Frame rules.
    void OnLoop();
    void CheckGameOver();
    void TargetLost();

    // Drawing. The Render steps collect the frame's blits in drawing order; OnRender then puts
    // on the window what changed since the last frame.
    void OnRender();
    void RenderBackground();
    void RenderMap();
    void RenderInterface();
    static int DamageFrame(float strength, float fullStrength);

    // Input.
    void OnEvent(SDL_Event* event) override;
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override;
    void OnMouseMove(int32_t x, int32_t y, int32_t relX, int32_t relY, bool left, bool right,
                     bool middle) override;
    void OnLButtonDown(int32_t x, int32_t y) override;
    void OnLButtonUp(int32_t x, int32_t y) override;
    void OnExit() override;

    // Where the main loop reads the time; tests hand in a clock of their own.
    void SetClock(FrameClock& clock);
    // Lets the loop take up to maxSteps frames of rules an iteration to keep real time, while it
    // is no more than mostFramesBehind behind.
    void AllowCatchUp(uint32_t maxSteps, uint32_t mostFramesBehind);

    Map& CurrentMap();

    InterfaceSet interfaces;
    FramePainter painter;
    bool running = true;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<Map> map;  // the field, made by CreateMap
    OwnedSurface blockTileset;
    OwnedSurface background;
    OwnedSurface p1Cannon;
    OwnedSurface target1;
    OwnedSurface target2;
    OwnedSurface ball;      // the pendulums' ball
    float timeStep = 0.0f;  // seconds of game time per frame
    int32_t velocityIterations = 0;
    int32_t positionIterations = 0;
    b2Vec2 gravity{0.0f, 0.0f};  // units per second squared; +y pulls down the screen
    bool doSleep = false;
    int32_t aimState = AimState::Idle;
    int32_t targetsLeft = 0;
    b2Vec2 aim{0.0f, 0.0f};  // launch force built up by the drag
    float aimScale = 0.0f;   // force per pixel dragged
    int32_t projectileKind = 0;
    std::unique_ptr<Projectile> lastProjectile;  // launch record of the latest shot
    // The field's size in cells, handed to the Map when it is made; from then on the Map's
    // own width and height are the only ones read.
    int32_t gridWidth = 0;
    int32_t gridHeight = 0;
    int32_t gameState = GameState::StartScreen;

private:
    void ReleaseImages();

    FramePacer pacer;
    std::optional<unsigned> levelSeed;
};
