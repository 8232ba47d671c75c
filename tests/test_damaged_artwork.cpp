// Damaged artwork: every bitmap of the game missing, cut short, garbled, lying about its size,
// or not a file at all. A field bitmap stops start-up; any other leaves its sprite undrawn.
#include "app/shooter.h"
#include "field/map.h"
#include "field/projectile.h"
#include "game_fixture.h"
#include "game_process.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<char>;

void Put32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

void Write(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Bytes Pattern(size_t count)
{
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>((i * 73 + 11) % 251);
    }
    return bytes;
}

// A 118-byte file whose headers claim a 24-bit picture of width x height.
Bytes ClaimedSize(int32_t width, int32_t height)
{
    Bytes bytes(118, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 2, 118);
    Put32(bytes, 10, 54);
    Put32(bytes, 14, 40);
    Put32(bytes, 18, static_cast<uint32_t>(width));
    Put32(bytes, 22, static_cast<uint32_t>(height));
    bytes[26] = 1;   // planes
    bytes[28] = 24;  // bits per pixel
    return bytes;
}

// A whole, valid 24-bit picture of width x height, all black.
Bytes WholePicture(int32_t width, int32_t height)
{
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    Bytes bytes = ClaimedSize(width, height);
    bytes.resize(54 + rowBytes * static_cast<size_t>(height), 0);
    Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    return bytes;
}

// An 8-bit run-length picture of the intact file's size whose data is a MiB of runs of 255
// pixels: far more than any picture of that size needs, and slow to decode.
Bytes RunLengthBomb(const Bytes& intact)
{
    Bytes bytes = ClaimedSize(0, 0);
    bytes.resize(54 + 1024 + (1 << 20), static_cast<char>(0xff));
    std::memcpy(&bytes[18], &intact[18], 8);  // the intact width and height
    bytes[28] = 8;
    Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    Put32(bytes, 10, 54 + 1024);
    Put32(bytes, 30, 1);  // run-length, 8 bits
    return bytes;
}

struct Damage {
    const char* name;
    // Turns the intact file at path (whose bytes are given) into the damaged one.
    std::function<void(const fs::path& path, const Bytes& bytes)> apply;
};

// The game's headers are the full 40-byte kind: width at 18, depth at 28, pixel offset at 10.
Damage Patched(const char* name, size_t at, uint32_t value, bool sixteenBits = false)
{
    return {name, [=](const fs::path& path, const Bytes& intact) {
                Bytes bytes = intact;
                if (sixteenBits) {
                    bytes[at] = static_cast<char>(value);
                    bytes[at + 1] = static_cast<char>(value >> 8);
                } else {
                    Put32(bytes, at, value);
                }
                Write(path, bytes);
            }};
}

const std::vector<Damage>& Damages()
{
    static const std::vector<Damage> damages = {
        {"missing", [](const fs::path& path, const Bytes&) { fs::remove(path); }},
        {"empty", [](const fs::path& path, const Bytes&) { Write(path, {}); }},
        {"truncated",
         [](const fs::path& path, const Bytes& bytes) {
             Write(path, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2)));
         }},
        {"garbage", [](const fs::path& path, const Bytes&) { Write(path, Pattern(300)); }},
        {"BM and garbage",
         [](const fs::path& path, const Bytes&) {
             Bytes bytes = Pattern(300);
             bytes[0] = 'B';
             bytes[1] = 'M';
             Write(path, bytes);
         }},
        {"huge claimed size",
         [](const fs::path& path, const Bytes&) { Write(path, ClaimedSize(16000, 16000)); }},
        {"whole picture of another size",
         [](const fs::path& path, const Bytes&) { Write(path, WholePicture(8, 8)); }},
        {"run-length bomb",
         [](const fs::path& path, const Bytes& bytes) { Write(path, RunLengthBomb(bytes)); }},
        Patched("negative width", 18, static_cast<uint32_t>(-64)),
        Patched("bit depth 0", 28, 0, true),
        Patched("bit depth 3", 28, 3, true),
        Patched("bit depth 64", 28, 64, true),
        Patched("pixel data offset past the end", 10, 1u << 20),
        {"directory",
         [](const fs::path& path, const Bytes&) {
             fs::remove(path);
             fs::create_directory(path);
         }},
        {"FIFO",
         [](const fs::path& path, const Bytes&) {
             fs::remove(path);
             mkfifo(path.c_str(), 0600);
         }},
    };
    return damages;
}

// The six bitmaps the field cannot be drawn without.
const char* const kFieldBitmaps[] = {"blocktileset.bmp", "background.bmp", "p1cannon.bmp",
                                     "target1.bmp",      "target2.bmp",    "bullet.bmp"};

// Every other bitmap, with the sprite it is drawn as: an interface sprite, or a projectile kind.
struct Optional {
    const char* file;
    std::optional<SpriteName> sprite;  // none for a projectile's picture
    int kind;
};
const Optional kOptionalBitmaps[] = {
    {"top_bar.bmp", Sprite::kTopBar, 0},
    {"bot_bar.bmp", Sprite::kBotBar, 0},
    {"Target1.bmp", Sprite::kAimOrigin, 0},
    {"Target2.bmp", Sprite::kAimPointer, 0},
    {"cake.bmp", Sprite::kCake, 0},
    {"Start.bmp", Sprite::kStartButton, 0},
    {"END.bmp", Sprite::kEnd, 0},
    {"lit_trick.bmp", Sprite::kLitTrick, 0},  // one of the bottom bar's lit states
    {"pig.bmp", std::nullopt, ProjectileKind::Pig},
    {"vaca.bmp", std::nullopt, ProjectileKind::Cow},
    {"ovelha.bmp", std::nullopt, ProjectileKind::Sheep},
    {"icon.bmp", std::nullopt, -1},  // the window's icon
};

// A copy of the artwork with one file damaged, made the working directory for its lifetime.
class DamagedArtwork {
public:
    DamagedArtwork(const char* file, const Damage& damage) : previous(fs::current_path())
    {
        CopyArtwork(dir.path, "");
        const fs::path path = dir.path / "bmp" / file;
        std::ifstream in(path, std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        in.close();
        damage.apply(path, bytes);
        fs::current_path(dir.path);
    }
    ~DamagedArtwork() { fs::current_path(previous); }

    TempDir dir;

private:
    fs::path previous;
};

class DamagedArtworkTest : public GameTest {
protected:
    void SetUp() override {}  // each case starts its own game in its own directory

    // One game as a player would play it: start, every animal with its second click, the end.
    void PlayWholeGame(const Optional& bitmap)
    {
        StartGame(1234);
        for (const SDLKey key : {SDLK_z, SDLK_x, SDLK_c}) {
            PushKey(key);
            PushShot(500, 300, -50, 30);
            RunFrames(1);
            ASSERT_NE(game->lastProjectile, nullptr);
            if (!bitmap.sprite && game->lastProjectile->kind == bitmap.kind) {
                EXPECT_EQ(game->lastProjectile->sprite, nullptr) << "the shot is not drawn";
            } else {
                EXPECT_NE(game->lastProjectile->sprite, nullptr);
            }
            RunFrames(5);
            PushClick(600, 300);  // the cow's or the sheep's second click
            RunFrames(5);
        }
        for (Block& block : CurrentMap().blocks) {
            if (block.kind == BlockKind::Target) {
                block.strength = 0.0f;
            }
        }
        RunFrames(3);
        EXPECT_EQ(game->gameState, GameState::Ended);
        EXPECT_TRUE(game->interfaces.Find(Sprite::kEnd)->visible);
    }
};

}  // namespace

TEST_F(DamagedArtworkTest, AFieldBitmapStopsStartUpAndAnyOtherIsLeftUndrawnWhileTheGamePlays)
{
    for (const Damage& damage : Damages()) {
        for (const char* file : kFieldBitmaps) {
            SCOPED_TRACE(testing::Message() << "bmp/" << file << ": " << damage.name);
            DamagedArtwork artwork(file, damage);
            Shooter shooter;
            EXPECT_FALSE(shooter.OnInit());
            for (OwnedSurface* surface : {&shooter.blockTileset, &shooter.background, &shooter.p1Cannon,
                                          &shooter.target1, &shooter.target2, &shooter.ball}) {
                surface->reset();
            }
            SDL_Quit();
        }
        for (const Optional& bitmap : kOptionalBitmaps) {
            SCOPED_TRACE(testing::Message() << "bmp/" << bitmap.file << ": " << damage.name);
            DamagedArtwork artwork(bitmap.file, damage);
            GameTest::SetUp();  // NOLINT(bugprone-parent-virtual-call): this case starts its game late
            if (bitmap.sprite) {
                EXPECT_EQ(game->interfaces.Find(*bitmap.sprite)->surface, nullptr)
                    << "the sprite is not drawn";
            }
            PlayWholeGame(bitmap);
            TearDown();
        }
    }
}

TEST(DamagedArtworkProcessTest, EachDamageToAFieldBitmapEndsStartUpWith255AndNoOutput)
{
    const std::vector<Damage>& damages = Damages();
    for (size_t i = 0; i < damages.size(); ++i) {
        const char* file = kFieldBitmaps[i % std::size(kFieldBitmaps)];
        SCOPED_TRACE(testing::Message() << "bmp/" << file << ": " << damages[i].name);
        DamagedArtwork artwork(file, damages[i]);
        const ProcessResult result = RunGame(artwork.dir.path, 0);
        EXPECT_TRUE(result.exited) << "ended by signal " << result.signal;
        EXPECT_EQ(result.status, 255);
        EXPECT_EQ(result.out + result.err, "");
    }
}

TEST(DamagedArtworkProcessTest, AHeaderClaimingAHugePictureIsRefusedBeforeAnythingLargeIsAllocated)
{
    // 20000 x 20000 at 24 bits would be 1.2 GB of pixels, from a 118-byte file.
    const Damage huge{"claims 20000 x 20000",
                      [](const fs::path& path, const Bytes&) { Write(path, ClaimedSize(20000, 20000)); }};
    DamagedArtwork artwork("background.bmp", huge);
    const ProcessResult result = RunGame(artwork.dir.path, 0);
    EXPECT_EQ(result.status, 255);
    EXPECT_LT(result.peakKiB, 64 * 1024) << "peak resident memory in KiB";
}
