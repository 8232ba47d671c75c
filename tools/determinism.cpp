// The same seed and the same clicks must play the same game on every build and every machine:
// plays a seeded level headless for 30 s of game time with a fixed script of clicks (every
// animal, their tricks, shots dropped at the muzzle, weak and strong throws, bursts that pile up
// at the muzzle), through SDL's event queue and the game's own handlers as a player's clicks go,
// and prints, every 100 frames, a hash of every body's position, angle and velocity (their raw
// float bits) in the field's own order: blocks, shots, balls, the cannon.
// Usage: determinism [seed] [frames]   (from the repository root; defaults 31 and 3000)
#include "app/shooter.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"

#include <SDL.h>
#include <box2d/box2d.h>

#include <bit>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kReportEvery = 100;  // frames
constexpr int kShotEvery = 20;     // frames between two shots of the script
constexpr int kTrickAfter = 7;     // frames after a cow or a sheep its trick comes

// 64-bit FNV-1a over the raw bits of the numbers it is fed.
class Hash {
public:
    void Add(uint32_t word)
    {
        for (int i = 0; i < 4; ++i) {
            value ^= (word >> (8 * i)) & 0xFFu;
            value *= 0x100000001B3ull;
        }
    }
    void Add(float number) { Add(std::bit_cast<uint32_t>(number)); }
    void Add(const b2Body* body)
    {
        if (body == nullptr) {
            Add(0xFFFFFFFFu);
            return;
        }
        Add(body->GetPosition().x);
        Add(body->GetPosition().y);
        Add(body->GetAngle());
        Add(body->GetLinearVelocity().x);
        Add(body->GetLinearVelocity().y);
        Add(body->GetAngularVelocity());
    }
    uint64_t value = 0xCBF29CE484222325ull;
};

uint64_t HashField(Map& map)
{
    Hash hash;
    hash.Add(static_cast<uint32_t>(map.blocks.size()));
    for (const Block& block : map.blocks) {
        hash.Add(block.body);
        hash.Add(block.strength);
    }
    hash.Add(static_cast<uint32_t>(map.projectiles.size()));
    for (const Projectile& shot : map.projectiles) {
        hash.Add(shot.body);
        hash.Add(shot.lifetime);
    }
    hash.Add(static_cast<uint32_t>(map.balls.size()));
    for (const Ball& ball : map.balls) {
        hash.Add(ball.body);
    }
    hash.Add(map.cannon ? map.cannon->body : nullptr);
    return hash.value;
}

// The script's shot at `shot`: animal, and the drag from the press, in pixels.
struct Throw {
    SDLKey key;
    int dx;
    int dy;
};

Throw ScriptedThrow(int shot)
{
    const SDLKey kinds[] = {SDLK_z, SDLK_x, SDLK_c};
    // Dropped at the muzzle, nudged, weak, middling, strong and flat, and hard and high.
    const int drags[][2] = {{0, 0}, {-5, 0}, {-40, 10}, {-72, -20}, {-160, 40}, {-300, 0}, {-250, 180}};
    const int* drag = drags[shot % 7];
    return Throw{kinds[shot % 3], drag[0], drag[1]};
}

}  // namespace

int main(int argc, char** argv)
{
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 31u;
    const int frames = argc > 2 ? std::atoi(argv[2]) : 3000;

    Shooter game;
    if (!Drive::StartHeadless(game, "determinism")) {
        return 1;
    }
    if (!Drive::StartLevel(game, seed)) {
        std::fprintf(stderr, "determinism: the start button did not start the game\n");
        game.OnCleanup();
        return 1;
    }

    // Into SDL's queue, handled by the next frame as a player's input is.
    const Drive::Input input;
    int shot = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        // From 8 s to 10 s, a burst: a weak shot every fifth frame, piling up at the muzzle.
        const bool burst = frame >= 800 && frame < 1000;
        if (frame % kShotEvery == 0 || (burst && frame % 5 == 0)) {
            const Throw next = burst ? Throw{SDLK_x, -3 * (frame % 3), 0} : ScriptedThrow(shot++);
            input.Key(next.key);
            input.Shoot(500, 300, next.dx, next.dy, 2);
        } else if (frame % kShotEvery == kTrickAfter && game.aimState == AimState::WaitingForAction) {
            input.Click(600, 300);
        }
        game.RunFrame();
        if (frame % kReportEvery == 0) {
            std::printf("%d %016" PRIx64 "\n", frame, HashField(game.CurrentMap()));
        }
    }
    game.OnCleanup();
    return 0;
}
