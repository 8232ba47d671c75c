// The random field of a run: cannon, pedestal, targets, ledge row, terrain, pendulums, rotors.
#include "field/level_generator.h"

#include <cstdlib>

namespace {

constexpr int kSafeColumns = 4;  // the cannon's side: no springs, and an empty pocket under the ledge
constexpr int kFirstTerrainRow = 5;
constexpr int kSafeRowsEnd = 8;  // rows above this one, nearer the top, stay empty in the safe columns
constexpr int kBedrockRow = 12;  // bedrock only from this row down
constexpr int kBaseChance = 50;
constexpr int kSafeEarthChance = kBaseChance - 20;  // earth when r > 30 in the safe columns
constexpr int kSpringChance = 95;                   // a spring when r > 95
constexpr int kFirstSwingColumn = 5;
constexpr int kPendulumChance = 90;  // a pendulum when r > 90
constexpr int kRotorChance = 10;     // a rotor when r < 10
constexpr float kLedgeY = 4.0f;
constexpr float kPendulumY = 1.0f;
constexpr float kRotorY = 3.0f;

// One roll of a hundred-sided die: 0 to 99.
int Roll()
{
    return std::rand() % 100;
}

// The block for one terrain cell at column i, row k, from the roll r; 0 for none.
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

void Levels::GenerateLevel(Map& map, unsigned seed, int32_t targets)
{
    std::srand(seed);

    map.AddCannon(0.5f, 0.5f);
    // The third pedestal block starts where the first one is; the physics stacks them.
    map.AddBlock(0.5f, 1.5f, BlockKind::Pedestal);
    map.AddBlock(0.5f, 2.5f, BlockKind::Pedestal);
    map.AddBlock(0.5f, 1.5f, BlockKind::Pedestal);

    for (int32_t t = 0; t < targets; ++t) {
        const int col = std::rand() % map.GetWidth();
        map.AddBlock(static_cast<float>(col) + 0.5f, 0.5f, BlockKind::Target);
    }

    for (int i = 0; i < map.GetWidth(); ++i) {
        const float x = static_cast<float>(i) + 0.5f;
        map.AddBlock(x, kLedgeY, BlockKind::Ledge);
        for (int k = kFirstTerrainRow; k < map.GetHeight(); ++k) {
            const int kind = TerrainKind(i, k, Roll());
            if (kind != 0) {
                map.AddBlock(x, static_cast<float>(k) - 0.5f, kind);
            }
        }
    }

    // Anchors sit on the boundary between two columns.
    for (int j = kFirstSwingColumn; j < map.GetWidth(); ++j) {
        const int r = Roll();
        if (r > kPendulumChance) {
            map.AddPendulum(static_cast<float>(j), kPendulumY);
        } else if (r < kRotorChance) {
            map.AddRotor(static_cast<float>(j), kRotorY);
        }
    }
}
