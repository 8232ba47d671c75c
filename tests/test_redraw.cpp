// Drawing only what changed: after every frame of a whole seeded game the screen holds exactly
// what a full redraw of the same state draws, and the frames really are drawn in parts.
#include "game_fixture.h"

#include "drive/headless_game.h"
#include "field/map.h"
#include "field/projectile.h"
#include "gameplay/firing_rules.h"

#include <cstring>
#include <string>

namespace {

class RedrawTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const SDL_PixelFormat* format = game->screen->format;
        whole = SDL_CreateRGBSurface(SDL_SWSURFACE, game->screen->w, game->screen->h, format->BitsPerPixel,
                                     format->Rmask, format->Gmask, format->Bmask, format->Amask);
        ASSERT_NE(whole, nullptr) << SDL_GetError();
    }

    void TearDown() override
    {
        SDL_FreeSurface(whole);
        GameTest::TearDown();
    }

    // Runs frames, comparing the screen after each with the same frame drawn whole.
    void Play(int frames, const std::string& what)
    {
        for (int i = 0; i < frames; ++i) {
            game->RunFrame();
            ++played;
            const std::vector<SDL_Rect>& regions = game->painter.LastRegions();
            const bool drewWhole =
                regions.size() == 1 && regions[0].w == game->screen->w && regions[0].h == game->screen->h;
            partial += regions.empty() || drewWhole ? 0 : 1;
            quiet += regions.empty() ? 1 : 0;
            SDL_FillRect(whole, nullptr, 0);
            game->painter.DrawWhole(whole);
            int x = 0;
            int y = 0;
            if (!SameScreen(x, y)) {
                ADD_FAILURE() << what << ", frame " << i << " (" << played << " in all): pixel (" << x << ", "
                              << y << ") is " << PixelAt(game->screen, x, y) << " on the screen but "
                              << PixelAt(whole, x, y) << " in a full redraw";
                return;
            }
        }
    }

    bool SameScreen(int& x, int& y)
    {
        SDL_Surface* screen = game->screen;
        SDL_LockSurface(screen);
        bool same = true;
        const size_t rowBytes = static_cast<size_t>(screen->w) * screen->format->BytesPerPixel;
        for (y = 0; y < screen->h && same; ++y) {
            const auto* a =
                static_cast<const Uint8*>(screen->pixels) + static_cast<ptrdiff_t>(y) * screen->pitch;
            const auto* b =
                static_cast<const Uint8*>(whole->pixels) + static_cast<ptrdiff_t>(y) * whole->pitch;
            if (std::memcmp(a, b, rowBytes) != 0) {
                const auto* pixelsA = reinterpret_cast<const Uint32*>(a);
                const auto* pixelsB = reinterpret_cast<const Uint32*>(b);
                for (x = 0; x < screen->w && pixelsA[x] == pixelsB[x]; ++x) {
                }
                same = false;
            }
        }
        SDL_UnlockSurface(screen);
        --y;
        return same;
    }

    // A block of the field still standing, of the kind asked for.
    Block* FindBlock(int kind)
    {
        for (Block& block : CurrentMap().blocks) {
            if (block.kind == kind && block.body != nullptr) {
                return &block;
            }
        }
        return nullptr;
    }

    SDL_Surface* whole = nullptr;
    int played = 0;
    int partial = 0;
    int quiet = 0;
};

}  // namespace

TEST_F(RedrawTest, EveryFrameOfASeededGameEqualsAFullRedraw)
{
    Play(5, "start screen");
    EXPECT_GE(quiet, 4) << "nothing moves on the start screen: nothing to draw after the first frame";

    game->SetLevelSeed(1234);
    PushClick(Drive::kStartButtonX, Drive::kStartButtonY);
    Play(150, "the level appearing and the cakes landing");
    ASSERT_EQ(game->gameState, GameState::Playing);

    // A pig, aimed over several frames so the crosshairs move.
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 500, 300);
    Play(1, "crosshairs shown");
    for (int step = 1; step <= 10; ++step) {
        PushMotion(500 - 14 * step, 300 + 3 * step, -14, 3, SDL_BUTTON_LMASK);
        Play(1, "aiming");
    }
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 360, 330);
    Play(80, "a pig flying");

    // A cow split in three, then a sheep jolted down.
    PushKey(SDLK_x);
    PushShot(500, 300, -150, 20, 3);
    Play(25, "a cow flying");
    PushClick(500, 300);
    Play(80, "the cow's pigs");
    PushKey(SDLK_c);
    PushShot(500, 300, -130, 40, 3);
    Play(25, "a sheep flying");
    PushClick(500, 300);
    Play(80, "the sheep jolted");

    // A sprite the game did not start with, shown, moved and hidden: every record of the
    // interface list is drawn by what it holds, whatever its name.
    SDL_Surface* picture = game->interfaces.Find(Sprite::kCake)->surface;
    game->interfaces.Add({900, 634}, {50, 50}, false, picture, SpriteName("lit_key"));
    ObjInterface* key = game->interfaces.Find(SpriteName("lit_key"));
    ASSERT_NE(key, nullptr);
    for (int step = 0; step < 4; ++step) {
        key->visible = step % 2 == 0;
        key->pos.first -= 30 * step;
        Play(2, "a new sprite, step " + std::to_string(step));
    }

    // A rain of shots over the whole width, far more than a player fires.
    for (int shot = 0; shot < 40; ++shot) {
        Rules::Fire(CurrentMap(), 0.7f + 0.47f * static_cast<float>(shot), 1.5f, b2Vec2(0.0f, 50.0f),
                    shot % 3);
    }
    Play(60, "a rain of shots");

    // The window uncovered, or handed focus back: the next frame is drawn whole.
    SDL_Event expose{};
    expose.type = SDL_VIDEOEXPOSE;
    SDL_Event focus{};
    focus.type = SDL_ACTIVEEVENT;
    focus.active.gain = 1;
    focus.active.state = SDL_APPINPUTFOCUS | SDL_APPACTIVE;
    for (SDL_Event event : {expose, focus}) {
        Play(1, "before the window event");
        ASSERT_EQ(SDL_PushEvent(&event), 0);
        game->RunFrame();
        ASSERT_EQ(game->painter.LastRegions().size(), 1u);
        EXPECT_EQ(game->painter.LastRegions()[0].w, game->screen->w) << "event " << int{event.type};
    }

    // A block cracking step by step, then breaking. The shots still flying break blocks too,
    // and a removal moves the blocks after it: the block is found again by its body each time.
    const Block* earth = FindBlock(BlockKind::Earth);
    ASSERT_NE(earth, nullptr);
    const b2Body* body = earth->body;
    const auto withBody = [&]() -> Block* {
        for (Block& block : CurrentMap().blocks) {
            if (block.body == body) {
                return &block;
            }
        }
        return nullptr;
    };
    for (float left : {0.95f, 0.75f, 0.45f, 0.15f}) {
        Block* block = withBody();
        ASSERT_NE(block, nullptr) << "the block broke before its time";
        block->strength = block->fullStrength * left;
        Play(3, "a block cracking to " + std::to_string(left));
    }
    Block* block = withBody();
    ASSERT_NE(block, nullptr);
    block->strength = 0.0f;
    Play(3, "a block breaking");
    EXPECT_EQ(withBody(), nullptr) << "the broken block is gone";

    // The cakes still standing lost one by one (the shots may have taken some), the end
    // picture after the last.
    for (int guard = 0; game->targetsLeft > 0 && guard < 3; ++guard) {
        Block* cake = FindBlock(BlockKind::Target);
        ASSERT_NE(cake, nullptr) << game->targetsLeft << " cakes left";
        cake->strength = 0.0f;
        Play(20, std::to_string(game->targetsLeft) + " cakes left");
    }
    EXPECT_EQ(game->gameState, GameState::Ended);
    EXPECT_TRUE(game->interfaces.Find(Sprite::kEnd)->visible);
    Play(20, "the end picture");

    EXPECT_GT(partial, played / 2) << "most frames of play are drawn in parts";
}
