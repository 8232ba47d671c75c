// What the player sees: the start screen, the field's tiles and damage overlays, drawing order
// and the interface sprite list.
#include "game_fixture.h"

#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "drive/headless_game.h"
#include "field/map.h"
#include "field/projectile.h"
#include "render/screen_mapping.h"

#include <set>
#include <string>

namespace {

// Colours of the stand-in artwork; none of them is the magenta colour key.
constexpr Rgb kBackground{20, 40, 60};
constexpr Rgb kSheetFill{90, 90, 90};  // every part of the tile sheet that no block uses
constexpr Rgb kEarthTile{120, 70, 20};
constexpr Rgb kTargetTile{250, 250, 0};
constexpr Rgb kCannon{0, 0, 200};
constexpr Rgb kProjectile{0, 220, 220};
constexpr Rgb kBall{255, 255, 255};
constexpr Rgb kTopBar{200, 0, 0};
constexpr Rgb kBotBar{0, 200, 0};
constexpr Rgb kMarker1{100, 0, 150};
constexpr Rgb kMarker2{150, 100, 0};
constexpr Rgb kCake{255, 180, 200};
constexpr Rgb kStart{60, 160, 60};
constexpr Rgb kEnd{10, 10, 10};
constexpr Rgb kMagenta = Asset::kColourKey;

// Overlay n of the sheet's damage row: its left half is this colour, its right half magenta.
Rgb OverlayColour(int n)
{
    return {static_cast<Uint8>(30 + n * 20), static_cast<Uint8>(230 - n * 20), 120};
}

void Fill(SDL_Surface* surface, int x, int y, int w, int h, Rgb colour)
{
    SDL_Rect rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                  static_cast<Uint16>(h)};
    SDL_FillRect(surface, &rect,
                 SDL_MapRGB(surface->format, static_cast<Uint8>(colour.r), static_cast<Uint8>(colour.g),
                            static_cast<Uint8>(colour.b)));
}

// A surface in the display's format, filled with one colour and keyed on magenta like the
// game's own artwork. The caller owns it.
SDL_Surface* Solid(int w, int h, Rgb colour)
{
    SDL_Surface* raw = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
    if (raw == nullptr) {
        return nullptr;
    }
    SDL_Surface* surface = SDL_DisplayFormat(raw);
    SDL_FreeSurface(raw);
    if (surface != nullptr) {
        Fill(surface, 0, 0, w, h, colour);
        CImage::SetTransparent(surface, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b);
    }
    return surface;
}

// Tiles where the Earth and Target kinds take them, and the overlays along their row, each half
// drawn and half see-through.
SDL_Surface* TileSheet()
{
    constexpr int kTile = Asset::kTileSize;
    SDL_Surface* sheet = Solid(Asset::kBlockTileset.width, Asset::kBlockTileset.height, kSheetFill);
    if (sheet == nullptr) {
        return nullptr;
    }
    SDL_SetColorKey(sheet, 0, 0);  // no key while filling
    Fill(sheet, Asset::kEarthTile.x, Asset::kEarthTile.y, kTile, kTile, kEarthTile);
    Fill(sheet, Asset::kTargetTile.x, Asset::kTargetTile.y, kTile, kTile, kTargetTile);
    for (int n = 0; n < Asset::kDamageOverlayCount; ++n) {
        Fill(sheet, n * kTile, Asset::kDamageOverlayRow, kTile / 2, kTile, OverlayColour(n));
        Fill(sheet, n * kTile + kTile / 2, Asset::kDamageOverlayRow, kTile / 2, kTile, kMagenta);
    }
    CImage::SetTransparent(sheet, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b);
    return sheet;
}

// Gives every record of that name the new surface, kept by the set like every picture it shows:
// the game's shutdown frees each kept picture once, the old ones included.
void ReplaceSprite(InterfaceSet& set, SpriteName name, SDL_Surface* fresh)
{
    SDL_Surface* kept = set.Keep(OwnedSurface(fresh));
    for (size_t i = 0; i < set.Size(); ++i) {
        if (set[i].name == name.Text()) {
            set[i].surface = kept;
        }
    }
}

// A started game whose artwork is replaced by plain colours, so pixels tell what was drawn.
class RenderTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        game->background.reset(Solid(Asset::kBackground.width, Asset::kBackground.height, kBackground));
        game->blockTileset.reset(TileSheet());
        game->p1Cannon.reset(Solid(50, 50, kCannon));
        game->ball.reset(Solid(50, 50, kBall));
        InterfaceSet& sprites = game->interfaces;
        ReplaceSprite(sprites, Sprite::kTopBar, Solid(Asset::kTopBar.width, Asset::kTopBar.height, kTopBar));
        ReplaceSprite(sprites, Sprite::kBotBar, Solid(Asset::kBotBar.width, Asset::kBotBar.height, kBotBar));
        ReplaceSprite(sprites, Sprite::kAimOrigin, Solid(64, 64, kMarker1));
        ReplaceSprite(sprites, Sprite::kAimPointer, Solid(16, 16, kMarker2));
        ReplaceSprite(sprites, Sprite::kCake, Solid(50, 50, kCake));
        ReplaceSprite(sprites, Sprite::kStartButton, Solid(400, 200, kStart));
        ReplaceSprite(sprites, Sprite::kEnd, Solid(400, 200, kEnd));
        ASSERT_NE(game->blockTileset, nullptr);
    }

    // Play as after the start click, but on a field that holds only what the test adds.
    void Play()
    {
        game->gameState = GameState::Playing;
        game->interfaces.SetVisible(Sprite::kStartButton, false);
    }

    Rgb At(int x, int y) { return PixelAt(game->screen, x, y); }

    // A projectile drawn as a solid square of the given colour.
    Projectile& AddProjectile(float x, float y, Rgb colour)
    {
        Map& map = CurrentMap();
        map.projectiles.push_back(Projectile(x, y, map.world.get(), ProjectileKind::Pig));
        map.projectiles.back().sprite = std::shared_ptr<SDL_Surface>(Solid(50, 50, colour), SDL_FreeSurface);
        return map.projectiles.back();
    }
};

// The artwork as loaded from ./bmp/.
class SpriteTest : public GameTest {};

#define EXPECT_PIXEL(x, y, colour) EXPECT_EQ(At(x, y), colour) << "pixel (" << (x) << ", " << (y) << ")"

}  // namespace

TEST_F(RenderTest, StartScreenShowsBackgroundAndSpritesButNotTheField)
{
    // The field holds bodies of every sort, all clear of the start button's rectangle.
    Map& map = CurrentMap();
    map.AddBlock(16.5f, 8.5f, BlockKind::Earth);
    map.AddBlock(2.5f, 8.5f, BlockKind::Target);
    map.AddCannon(17.5f, 4.5f);
    map.AddPendulum(3.5f, 3.5f);
    AddProjectile(15.5f, 10.5f, kProjectile);
    game->OnRender();

    // Between the bars, only the background and the start button.
    int stray = 0;
    for (int y = 64; y < 618; ++y) {
        for (int x = 0; x < 1000; ++x) {
            const bool inButton = x >= 300 && x < 700 && y >= 116 && y < 316;
            if (At(x, y) != (inButton ? kStart : kBackground) && ++stray <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << At(x, y);
            }
        }
    }
    EXPECT_EQ(stray, 0) << "the field must not be drawn on the start screen";

    // Three cake icons 60 pixels apart over the top bar, 10-pixel gaps between them.
    for (int left : {0, 60, 120}) {
        EXPECT_PIXEL(left, 0, kCake);
        EXPECT_PIXEL(left + 49, 49, kCake);
        EXPECT_PIXEL(left + 50, 25, kTopBar);
        EXPECT_PIXEL(left + 25, 50, kTopBar);
    }
    EXPECT_PIXEL(180, 0, kTopBar);
    EXPECT_PIXEL(999, 63, kTopBar);
    EXPECT_PIXEL(0, 618, kBotBar);
    EXPECT_PIXEL(999, 649, kBotBar);
    EXPECT_PIXEL(300, 116, kStart);
    EXPECT_PIXEL(699, 315, kStart);
    // The hidden end picture shares the button's rectangle and is later in the list.
    EXPECT_PIXEL(Drive::kStartButtonX, Drive::kStartButtonY, kStart);

    // A hidden sprite is not drawn, yet its record stays.
    ASSERT_TRUE(game->interfaces.SetVisible(Sprite::kTopBar, false));
    game->OnRender();
    EXPECT_PIXEL(999, 10, kBackground);
    EXPECT_PIXEL(25, 25, kCake);
    EXPECT_NE(game->interfaces.Find(Sprite::kTopBar), nullptr);
    EXPECT_EQ(game->interfaces.Size(), 13u);

    // A visible record without a surface draws nothing.
    ObjInterface* marker = game->interfaces.Find(Sprite::kAimOrigin);
    ASSERT_NE(marker, nullptr);
    marker->surface = nullptr;  // the set still keeps the picture and frees it at shutdown
    game->interfaces.SetPosition(Sprite::kAimOrigin, 800, 400);
    game->interfaces.SetVisible(Sprite::kAimOrigin, true);
    game->OnRender();
    EXPECT_PIXEL(800, 400, kBackground);
    EXPECT_PIXEL(Drive::kStartButtonX, Drive::kStartButtonY, kStart)
        << "the rest of the frame is drawn as usual";

    // The same field does appear once play begins.
    Play();
    game->OnRender();
    EXPECT_PIXEL(16 * 50 + 10, 8 * 50 + 10, kEarthTile);
    EXPECT_PIXEL(17 * 50 + 25, 4 * 50 + 25, kCannon);
    EXPECT_PIXEL(15 * 50 + 25, 10 * 50 + 25, kProjectile);
}

TEST_F(RenderTest, CornersAreTruncatedTowardZero)
{
    Play();
    Map& map = CurrentMap();
    // Half size 0.45 at x = 0.2: 10 - 22.5 = -12.5 puts the corner at -12, not -13.
    map.AddBlock(0.2f, 5.2f, BlockKind::Target);
    map.AddCannon(0.2f, 8.2f);
    // Half size 0.49 at (10.5, 5.5): corner (500, 250), a 49-pixel square under a 50-pixel tile.
    map.AddBlock(10.5f, 5.5f, BlockKind::Earth);
    ASSERT_FLOAT_EQ(map.GetBlock(0).halfSize, 0.45f);
    game->OnRender();

    EXPECT_PIXEL(37, 260, kTargetTile) << "the target's tile starts at x = -12";
    EXPECT_PIXEL(38, 260, kBackground);
    EXPECT_PIXEL(20, 236, kBackground) << "5.2 * 50 - 22.5 = 237.5 puts the top at 237";
    EXPECT_PIXEL(20, 237, kTargetTile);
    EXPECT_PIXEL(20, 286, kTargetTile);
    EXPECT_PIXEL(20, 287, kBackground);
    EXPECT_PIXEL(37, 400, kCannon) << "the cannon's bitmap starts at x = -12";
    EXPECT_PIXEL(38, 400, kBackground);

    EXPECT_PIXEL(499, 250, kBackground);
    EXPECT_PIXEL(500, 250, kEarthTile);
    EXPECT_PIXEL(549, 299, kEarthTile) << "the tile overhangs the block's square by one pixel";
    EXPECT_PIXEL(550, 275, kBackground);
    EXPECT_PIXEL(525, 300, kBackground);
}

TEST_F(RenderTest, DamageOverlaysFollowTheStrengthLeft)
{
    struct Case {
        float strength;
        float fullStrength;
        int frame;
    };
    // Single-precision ratios: 1/10 and 8/10 land just above 0.1 and 0.8, 7/10 just below 0.7.
    const Case cases[] = {{5.0f, 10.0f, 5}, {1.0f, 10.0f, 8}, {7.0f, 10.0f, 3},  {8.0f, 10.0f, 1},
                          {0.95f, 1.0f, 0}, {0.5f, 1.0f, 5},  {0.001f, 1.0f, 9}, {10.0f, 10.0f, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Shooter::DamageFrame(c.strength, c.fullStrength), c.frame)
            << c.strength << " of " << c.fullStrength;
    }

    // One Earth block per case along row y = 5.5; its corner is (x * 50 - 24.5) truncated.
    Play();
    Map& map = CurrentMap();
    for (size_t i = 0; i < std::size(cases); ++i) {
        map.AddBlock(1.5f + 2.0f * static_cast<float>(i), 5.5f, BlockKind::Earth);
        map.blocks.back().fullStrength = cases[i].fullStrength;
        map.blocks.back().strength = cases[i].strength;
    }
    // A damaged block without a body still shows its overlay, but no tile.
    map.AddBlock(18.5f, 9.5f, BlockKind::Earth);
    map.blocks.back().fullStrength = 10.0f;
    map.blocks.back().strength = 5.0f;
    map.blocks.back().body = nullptr;  // the world still owns the body
    game->OnRender();

    for (size_t i = 0; i < std::size(cases); ++i) {
        const int left = 50 + 100 * static_cast<int>(i);
        const bool damaged = cases[i].fullStrength > cases[i].strength;
        // The overlay's left half is opaque; its right half lets the tile through.
        EXPECT_EQ(At(left + 10, 260), damaged ? OverlayColour(cases[i].frame) : kEarthTile)
            << cases[i].strength << " of " << cases[i].fullStrength;
        EXPECT_EQ(At(left + 40, 290), kEarthTile) << cases[i].strength << " of " << cases[i].fullStrength;
    }
    EXPECT_PIXEL(900 + 10, 450 + 10, OverlayColour(5));
    EXPECT_PIXEL(900 + 40, 450 + 10, kBackground);
}

TEST_F(RenderTest, FieldLayersAndInterfaceOnTop)
{
    Play();
    Map& map = CurrentMap();
    map.AddBlock(10.5f, 6.5f, BlockKind::Earth);              // tile 500..549 x 300..349
    map.AddCannon(10.5f, 6.5f);                               // 502..551 x 302..351
    AddProjectile(10.75f, 6.75f, kProjectile);                // 527..576 x 327..376
    map.balls.push_back(Ball(11.0f, 7.0f, map.world.get()));  // 540..589 x 340..389
    map.AddBlock(3.5f, 0.5f, BlockKind::Earth);               // under the top bar
    game->OnRender();

    EXPECT_PIXEL(501, 301, kEarthTile);
    EXPECT_PIXEL(510, 310, kCannon) << "the cannon covers blocks";
    EXPECT_PIXEL(530, 330, kProjectile) << "projectiles cover the cannon and blocks";
    EXPECT_PIXEL(570, 330, kProjectile);
    EXPECT_PIXEL(545, 345, kBall) << "balls cover everything else in the field";
    EXPECT_PIXEL(560, 360, kBall);
    EXPECT_PIXEL(175, 25, kTopBar) << "interface sprites lie over the field";

    // The aiming markers over all four field layers.
    game->interfaces.SetPosition(Sprite::kAimOrigin, 545, 345);
    game->interfaces.SetVisible(Sprite::kAimOrigin, true);
    game->interfaces.SetPosition(Sprite::kAimPointer, 545, 345);
    game->interfaces.SetVisible(Sprite::kAimPointer, true);
    game->OnRender();
    EXPECT_PIXEL(545, 345, kMarker2);
    EXPECT_PIXEL(520, 320, kMarker1);
}

TEST_F(RenderTest, CakeIconsEmptyFromTheLeft)
{
    InterfaceSet& sprites = game->interfaces;
    sprites.RemoveCake();
    game->OnRender();
    ASSERT_EQ(sprites.Size(), 12u);
    ObjInterface* first = sprites.Find(Sprite::kCake);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->pos, std::make_pair(85, 25)) << "the others keep their places";
    EXPECT_EQ(sprites[9].pos, std::make_pair(145, 25));
    EXPECT_PIXEL(25, 25, kTopBar);
    EXPECT_PIXEL(85, 25, kCake);
    EXPECT_PIXEL(145, 25, kCake);

    sprites.RemoveCake();
    sprites.RemoveCake();
    sprites.RemoveCake();  // nothing left to remove
    game->OnRender();
    EXPECT_EQ(sprites.Size(), 10u);
    EXPECT_EQ(sprites.Find(Sprite::kCake), nullptr);
    EXPECT_PIXEL(145, 25, kTopBar);
    EXPECT_PIXEL(Drive::kStartButtonX, Drive::kStartButtonY, kStart);
}

TEST_F(SpriteTest, CreateInterfaceBuildsEverySprite)
{
    struct Expected {
        const char* name;
        std::pair<int32_t, int32_t> pos;
        std::pair<int32_t, int32_t> tam;
        bool visible;
    };
    const Expected expected[] = {
        {"top_bar", {500, 32}, {1000, 64}, true},
        {"bot_bar", {500, 634}, {1000, 32}, true},
        // the bottom bar's lit states, over the bar: the pig's key is lit from the start
        {"lit_pig", {17 + 33, 618 + 9 + 11}, {66, 22}, true},
        {"lit_cow", {93 + 33, 618 + 9 + 11}, {66, 22}, false},
        {"lit_sheep", {169 + 45, 618 + 9 + 11}, {90, 22}, false},
        {"lit_trick", {677 + 153, 618 + 9 + 11}, {306, 22}, false},
        {"target1", {0, 0}, {64, 64}, false},
        {"target2", {0, 0}, {16, 16}, false},
        {"cake", {25, 25}, {50, 50}, true},
        {"cake", {85, 25}, {50, 50}, true},
        {"cake", {145, 25}, {50, 50}, true},
        {"start_button", {Drive::kStartButtonX, Drive::kStartButtonY}, {400, 200}, true},
        {"end", {Drive::kStartButtonX, Drive::kStartButtonY}, {400, 200}, false},
    };
    const InterfaceSet& sprites = game->interfaces;
    ASSERT_EQ(sprites.Size(), std::size(expected));
    std::set<SDL_Surface*> surfaces;
    for (size_t i = 0; i < sprites.Size(); ++i) {
        const ObjInterface& sprite = sprites[i];
        const Expected& want = expected[i];
        EXPECT_EQ(sprite.name, want.name) << "record " << i;
        EXPECT_EQ(sprite.pos, want.pos) << want.name;
        EXPECT_EQ(sprite.tam, want.tam) << want.name;
        EXPECT_EQ(sprite.anc, std::make_pair(want.tam.first / 2, want.tam.second / 2)) << want.name;
        EXPECT_EQ(sprite.visible, want.visible) << want.name;
        ASSERT_NE(sprite.surface, nullptr) << want.name << " did not load";
        EXPECT_NE(sprite.surface->flags & SDL_SRCCOLORKEY, 0u) << want.name << " has no colour key";
        surfaces.insert(sprite.surface);
    }
    EXPECT_EQ(sprites[8].surface, sprites[9].surface) << "the cake icons share one picture";
    EXPECT_EQ(sprites[9].surface, sprites[10].surface);
    EXPECT_EQ(surfaces.size(), 11u) << "every other sprite has a picture of its own";
}

// The bottom bar read back from the screen: a part of it is lit when most of its pixels differ from
// the plain bar's.
TEST_F(SpriteTest, BottomBarLightsTheChosenAnimalAndAWaitingTrick)
{
    struct Light {
        const char* name;
        Asset::Bitmap bitmap;
        Asset::BarSpot spot;
    };
    const Light lights[] = {{"pig", Asset::kLitPig, Asset::kLitPigSpot},
                            {"cow", Asset::kLitCow, Asset::kLitCowSpot},
                            {"sheep", Asset::kLitSheep, Asset::kLitSheepSpot},
                            {"trick", Asset::kLitTrick, Asset::kLitTrickSpot}};
    const OwnedSurface plainBar = CImage::LoadOwned(Asset::kBotBar);
    ASSERT_NE(plainBar, nullptr);
    const int barTop = Asset::kWindowHeight - Asset::kBotBar.height;
    const auto litParts = [&] {
        game->OnRender();
        std::string lit;
        for (const Light& light : lights) {
            int differ = 0;
            for (int y = light.spot.y; y < light.spot.y + light.bitmap.height; ++y) {
                for (int x = light.spot.x; x < light.spot.x + light.bitmap.width; ++x) {
                    differ += PixelAt(game->screen, x, barTop + y) != PixelAt(plainBar.get(), x, y);
                }
            }
            if (differ > light.bitmap.width * light.bitmap.height / 2) {
                lit += (lit.empty() ? "" : " ") + std::string(light.name);
            }
        }
        return lit;
    };
    EXPECT_EQ(litParts(), "pig") << "the pig is chosen before the first key";
    PushKey(SDLK_x);
    RunFrames(1);
    EXPECT_EQ(litParts(), "cow");
    PushKey(SDLK_c);
    RunFrames(1);
    EXPECT_EQ(litParts(), "sheep");

    StartGame();
    PushShot(500, 300, -40, 20);
    RunFrames(1);
    EXPECT_EQ(litParts(), "sheep trick") << "the sheep's trick waits for its click";
    PushKey(SDLK_x);
    RunFrames(1);
    EXPECT_EQ(litParts(), "cow trick") << "choosing the next animal leaves the sheep's trick waiting";
    PushClick(500, 300);
    RunFrames(1);
    EXPECT_EQ(litParts(), "cow") << "the click spent the trick";
    PushKey(SDLK_z);
    PushShot(500, 300, -40, 20);
    RunFrames(1);
    EXPECT_EQ(litParts(), "pig") << "a pig has no trick";
}

TEST_F(SpriteTest, StartButtonHitTestIncludesItsEdges)
{
    InterfaceSet& sprites = game->interfaces;
    EXPECT_TRUE(sprites.HitTest(700, 316, Sprite::kStartButton)) << "bottom-right corner";
    EXPECT_TRUE(sprites.HitTest(300, 116, Sprite::kStartButton)) << "top-left corner";
    EXPECT_FALSE(sprites.HitTest(701, 200, Sprite::kStartButton));
    EXPECT_FALSE(sprites.HitTest(299, 200, Sprite::kStartButton));
    EXPECT_FALSE(sprites.HitTest(500, 317, Sprite::kStartButton));
    EXPECT_FALSE(sprites.HitTest(500, 115, Sprite::kStartButton));

    // Through the player's clicks: just outside does nothing, the corner starts the game.
    game->SetLevelSeed(1234);
    PushClick(701, 200);
    RunFrames(1);
    EXPECT_EQ(game->gameState, GameState::StartScreen);
    EXPECT_EQ(CurrentMap().BlockCount(), 0u);
    PushClick(700, 316);
    RunFrames(1);
    EXPECT_EQ(game->gameState, GameState::Playing);
    ASSERT_NE(sprites.Find(Sprite::kStartButton), nullptr);
    EXPECT_FALSE(sprites.Find(Sprite::kStartButton)->visible);
    EXPECT_TRUE(sprites.HitTest(Drive::kStartButtonX, Drive::kStartButtonY, Sprite::kStartButton))
        << "a hidden sprite still answers";
}

TEST(InterfaceSetTest, NamesFindTheFirstMatchOnly)
{
    constexpr SpriteName kDup{"dup"};
    InterfaceSet sprites;
    sprites.Add({10, 10}, {20, 20}, false, nullptr, kDup);
    sprites.Add({50, 50}, {21, 15}, false, nullptr, kDup);
    sprites.Add({90, 90}, {5, 7}, true, nullptr, SpriteName("other"));
    EXPECT_EQ(sprites[1].anc, std::make_pair(10, 7)) << "anchor is half the size, rounded down";
    EXPECT_EQ(sprites[2].anc, std::make_pair(2, 3));
    EXPECT_EQ(sprites.Find(kDup), &sprites[0]);

    EXPECT_TRUE(sprites.SetVisible(kDup, true));
    EXPECT_TRUE(sprites[0].visible);
    EXPECT_FALSE(sprites[1].visible) << "only the first match changes";
    EXPECT_TRUE(sprites.SetPosition(kDup, 7, 8));
    EXPECT_EQ(sprites[0].pos, std::make_pair(7, 8));
    EXPECT_EQ(sprites[1].pos, std::make_pair(50, 50));
    EXPECT_TRUE(sprites.HitTest(7 - 10 + 20, 8 - 10 + 20, kDup)) << "the first record's rectangle";
    EXPECT_FALSE(sprites.HitTest(50, 50, kDup));

    // Missing names: false, and nothing changes.
    for (const SpriteName missing :
         {SpriteName("none"), SpriteName("DUP"), SpriteName("du"), SpriteName("dup ")}) {
        EXPECT_FALSE(sprites.SetVisible(missing, false)) << missing.Text();
        EXPECT_FALSE(sprites.SetPosition(missing, 1, 1)) << missing.Text();
        EXPECT_FALSE(sprites.HitTest(7, 8, missing)) << missing.Text();
        EXPECT_EQ(sprites.Find(missing), nullptr) << missing.Text();
        sprites.Remove(missing);
    }
    sprites.RemoveCake();
    ASSERT_EQ(sprites.Size(), 3u);
    EXPECT_TRUE(sprites[0].visible);
    EXPECT_EQ(sprites[0].pos, std::make_pair(7, 8));
    EXPECT_EQ(sprites[1].pos, std::make_pair(50, 50));

    sprites.Remove(kDup);
    ASSERT_EQ(sprites.Size(), 2u);
    EXPECT_EQ(sprites[0].name, "dup");
    EXPECT_EQ(sprites[0].pos, std::make_pair(50, 50)) << "the second record stays";
    EXPECT_EQ(sprites[1].name, "other");

    sprites.AddCakes(0, nullptr);
    sprites.AddCakes(-2, nullptr);
    EXPECT_EQ(sprites.Size(), 2u) << "no icons for a count of 0 or less";
}
