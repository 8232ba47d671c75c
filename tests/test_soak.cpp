// Hostile input: a long stream of random events of every kind, from the start screen through
// play to the end picture, must leave the game sound.
#include "app/shooter.h"
#include "drive/headless_game.h"
#include "field/map.h"
#include "field/projectile.h"
#include "game_fixture.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <type_traits>

namespace {

constexpr unsigned kSeeds[] = {1, 7, 2024, 31337, 4000000007u};
constexpr int kFramesPerSeed = 4000;
constexpr int kEventsPerFrame = 6;
constexpr int kStartFrame = 200;  // the start button is clicked here
constexpr int kEndFrame = 3000;   // every target left is broken here
// Key codes sweep 0..65535 across the seeds, about half of all events being key presses or releases.
constexpr uint32_t kKeyCodes = 65536;

class SoakTest : public GameTest {
protected:
    // One random event of any kind the game can receive, pushed into SDL's queue.
    void PushRandomEvent()
    {
        SDL_Event event{};
        const int choice = static_cast<int>(random() % 20);
        if (choice < 11) {
            // Every key code in turn, with random modifiers, written as the plain integers
            // the queue carries.
            event = KeyEvent(choice % 2 == 0 ? SDL_KEYDOWN : SDL_KEYUP, SDLK_UNKNOWN);
            const auto sym = static_cast<std::underlying_type_t<SDLKey>>(nextKey++ % kKeyCodes);
            const auto mod = static_cast<std::underlying_type_t<SDLMod>>(random());
            std::memcpy(&event.key.keysym.sym, &sym, sizeof(sym));
            std::memcpy(&event.key.keysym.mod, &mod, sizeof(mod));
            event.key.keysym.unicode = static_cast<Uint16>(random());
        } else if (choice < 15) {
            // Clicks anywhere, with every button: left, middle, right, the wheel, extra ones.
            const Uint8 type = choice % 2 == 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            const Uint8 button = random() % 3 == 0 ? SDL_BUTTON_LEFT : static_cast<Uint8>(random() % 8);
            event = ButtonEvent(type, button, static_cast<int>(random() % 65536),
                                static_cast<int>(random() % 65536));
        } else if (choice < 18) {
            // Drags with extreme relative motion.
            const auto extreme = [this]() {
                return random() % 4 == 0 ? static_cast<int>(random() % 2 == 0 ? -32768 : 32767)
                                         : static_cast<int>(random() % 65536) - 32768;
            };
            event = MotionEvent(static_cast<int>(random() % 65536), static_cast<int>(random() % 65536),
                                extreme(), extreme(), static_cast<Uint8>(random()));
        } else {
            switch (random() % 4) {
            case 0:
                event.type = SDL_ACTIVEEVENT;
                event.active.type = SDL_ACTIVEEVENT;
                event.active.gain = static_cast<Uint8>(random());
                event.active.state = static_cast<Uint8>(random());
                break;
            case 1:
                event.type = SDL_VIDEORESIZE;
                event.resize.type = SDL_VIDEORESIZE;
                event.resize.w = static_cast<int>(random());
                event.resize.h = static_cast<int>(random());
                break;
            case 2:
                event.type = SDL_VIDEOEXPOSE;
                event.expose.type = SDL_VIDEOEXPOSE;
                break;
            default:
                event.type = static_cast<Uint8>(SDL_USEREVENT + random() % (SDL_NUMEVENTS - SDL_USEREVENT));
                event.user.type = event.type;
                event.user.code = static_cast<int>(random());
                event.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(random()));
                event.user.data2 = nullptr;
                break;
            }
        }
        ASSERT_EQ(SDL_PushEvent(&event), 0);
        ++events;
    }

    // What must hold after every frame, whatever the input.
    void CheckSound(int frame)
    {
        if (game->gameState == GameState::StartScreen) {
            return;
        }
        Map& map = CurrentMap();
        for (const b2Body* body = map.world->GetBodyList(); body != nullptr; body = body->GetNext()) {
            const b2Vec2 position = body->GetPosition();
            ASSERT_TRUE(std::isfinite(position.x) && std::isfinite(position.y)) << "frame " << frame;
        }
        for (const Projectile& projectile : map.projectiles) {
            ASSERT_GT(projectile.lifetime, 0.0f) << "frame " << frame << ": a used-up shot stays";
            ASSERT_LE(projectile.lifetime, kProjectileLifetime) << "frame " << frame;
        }
        // The muzzle takes at most one shot a frame, and a cow's split adds three pigs; a shot
        // lives 500 frames.
        ASSERT_LE(map.projectiles.size(), shotsLastFrame + 4) << "frame " << frame;
        ASSERT_LE(map.projectiles.size(), static_cast<size_t>(kProjectileLifetime) * 4) << "frame " << frame;
        shotsLastFrame = map.projectiles.size();
        const Cannon* cannon = map.GetCannon();
        ASSERT_NE(cannon, nullptr);
        constexpr float kSlack = 0.05f;
        ASSERT_TRUE(cannon->x >= cannon->halfSize - kSlack &&
                    cannon->x <= static_cast<float>(map.GetWidth()) - cannon->halfSize + kSlack &&
                    cannon->y <= static_cast<float>(map.GetHeight()) + 0.5f - cannon->halfSize + kSlack)
            << "frame " << frame << ": the cannon is at (" << cannon->x << ", " << cannon->y << ")";
    }

    std::mt19937 random;
    uint32_t nextKey = 0;
    long events = 0;
    long frames = 0;
    size_t shotsLastFrame = 0;
    size_t mostShots = 0;
};

}  // namespace

TEST_F(SoakTest, RandomEventsOfEveryKindFromStartToEndLeaveTheGameSound)
{
    for (size_t s = 0; s < std::size(kSeeds); ++s) {
        SCOPED_TRACE(testing::Message() << "seed " << kSeeds[s]);
        if (s > 0) {
            TearDown();
            SetUp();
        }
        random.seed(kSeeds[s]);
        game->SetLevelSeed(kSeeds[s]);
        for (int frame = 0; frame < kFramesPerSeed; ++frame) {
            for (int i = 0; i < kEventsPerFrame; ++i) {
                PushRandomEvent();
            }
            if (frame == kStartFrame) {
                PushClick(Drive::kStartButtonX, Drive::kStartButtonY);
            }
            if (frame == kEndFrame && game->gameState == GameState::Playing) {
                for (Block& block : CurrentMap().blocks) {
                    if (block.kind == BlockKind::Target) {
                        block.strength = 0.0f;
                    }
                }
            }
            RunFrames(1);
            ++frames;
            ASSERT_TRUE(game->running) << "nothing here asks the game to quit";
            ASSERT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_ALLEVENTS), 0)
                << "frame " << frame << ": the game leaves events in the queue";
            if (game->gameState == GameState::Playing) {
                mostShots = std::max(mostShots, CurrentMap().projectiles.size());
            }
            CheckSound(frame);
            if (HasFatalFailure()) {
                return;
            }
        }
        EXPECT_EQ(game->gameState, GameState::Ended) << "start screen, play and end were all reached";
    }
    EXPECT_GT(mostShots, size_t{1}) << "the random clicks never fired: play went untried";
    RecordProperty("events", static_cast<int>(events));
    RecordProperty("frames", static_cast<int>(frames));
}
