// The random field of a run: cannon, pedestal, targets, ledge row, terrain, pendulums, rotors.
#include "app/shooter.h"

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kSafeColumns = 4;  // the cannon's side: no springs, and an empty pocket under the ledge
constexpr int kFirstTerrainRow = 5;
constexpr int kSafeRowsEnd = 8;      // rows below this stay empty in the safe columns
constexpr int kBedrockRow = 12;      // bedrock only from this row down
constexpr int kBaseChance = 50;
constexpr int kSafeEarthChance = kBaseChance - 20;  // earth when r > 30 in the safe columns
constexpr int kSpringChance = 95;                   // a spring when r > 95
constexpr int kFirstSwingColumn = 5;
constexpr int kPendulumChance = 90;  // a pendulum when r > 90
constexpr int kRotorChance = 10;     // a rotor when r < 10
constexpr float kLedgeY = 4.0f;
constexpr float kPendulumY = 1.0f;
constexpr float kRotorY = 3.0f;

int Draw()
{
    return std::rand() % 100;
}

// The block for one terrain cell at column i, row k, from the draw r; 0 for none.
int TerrainKind(int i, int k, int r)
{
    if (i < kSafeColumns) {
        if (k < kSafeRowsEnd) {
            return 0;
        }
        if (r > kSafeEarthChance) {
            return BlockKind::Earth;
        }
        return k >= kBedrockRow ? BlockKind::Bedrock : 0;
    }
    if (r > kSpringChance) {
        return BlockKind::Spring;
    }
    if (r > kBaseChance) {
        return BlockKind::Earth;
    }
    return k >= kBedrockRow ? BlockKind::Bedrock : 0;
}

}  // namespace

void Shooter::SetLevelSeed(unsigned seed)
{
    levelSeed = seed;
}

void Shooter::GenerateLevel()
{
    GenerateLevel(levelSeed ? *levelSeed : static_cast<unsigned>(std::time(nullptr)));
}

void Shooter::GenerateLevel(unsigned seed)
{
    std::srand(seed);

    CurrentMap().AddCannon(0.5f, 0.5f);
    // The third pedestal block starts where the first one is; the physics stacks them.
    CurrentMap().AddBlock(0.5f, 1.5f, BlockKind::Pedestal);
    CurrentMap().AddBlock(0.5f, 2.5f, BlockKind::Pedestal);
    CurrentMap().AddBlock(0.5f, 1.5f, BlockKind::Pedestal);

    for (int32_t t = 0; t < targetsLeft; ++t) {
        const int col = std::rand() % gridWidth;
        CurrentMap().AddBlock(static_cast<float>(col) + 0.5f, 0.5f, BlockKind::Target);
    }

    for (int i = 0; i < CurrentMap().GetWidth(); ++i) {
        const float x = static_cast<float>(i) + 0.5f;
        CurrentMap().AddBlock(x, kLedgeY, BlockKind::Ledge);
        for (int k = kFirstTerrainRow; k < CurrentMap().GetHeight(); ++k) {
            const int kind = TerrainKind(i, k, Draw());
            if (kind != 0) {
                CurrentMap().AddBlock(x, static_cast<float>(k) - 0.5f, kind);
            }
        }
    }

    // Anchors sit on the boundary between two columns.
    for (int j = kFirstSwingColumn; j < CurrentMap().GetWidth(); ++j) {
        const int r = Draw();
        if (r > kPendulumChance) {
            CurrentMap().AddPendulum(static_cast<float>(j), kPendulumY);
        } else if (r < kRotorChance) {
            CurrentMap().AddRotor(static_cast<float>(j), kRotorY);
        }
    }
}
