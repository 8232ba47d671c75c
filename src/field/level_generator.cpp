// The random field of a run: cannon, pedestal, targets, ledge row, terrain, pendulums, rotors.
#include "field/level_generator.h"

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
int Roll(Levels::Random& random)
{
    return random.Next() % 100;
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

Levels::Random::Random(unsigned seed)
{
    // As glibc seeds it: 0 is taken as 1, and the word is the seed's bits as a signed number.
    int32_t word = static_cast<int32_t>(seed == 0 ? 1u : seed);
    state[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        // 16807 * word mod (2^31 - 1), by Schrage's method, without overflow.
        const int32_t hi = word / 127773;
        const int32_t lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) {
            word += 2147483647;
        }
        state[i] = static_cast<uint32_t>(word);
    }
    for (int i = 0; i < 10 * kDegree; ++i) {
        Next();
    }
}

int Levels::Random::Next()
{
    state[front] += state[rear];  // modulo 2^32
    const int result = static_cast<int>(state[front] >> 1);
    front = front + 1 == kDegree ? 0 : front + 1;
    rear = rear + 1 == kDegree ? 0 : rear + 1;
    return result;
}

void Levels::GenerateLevel(Map& map, unsigned seed, int32_t targets)
{
    Random random(seed);

    map.AddCannon(0.5f, 0.5f);
    // The third pedestal block starts where the first one is; the physics stacks them.
    map.AddBlock(0.5f, 1.5f, BlockKind::Pedestal);
    map.AddBlock(0.5f, 2.5f, BlockKind::Pedestal);
    map.AddBlock(0.5f, 1.5f, BlockKind::Pedestal);

    for (int32_t t = 0; t < targets; ++t) {
        const int col = random.Next() % map.GetWidth();
        map.AddBlock(static_cast<float>(col) + 0.5f, 0.5f, BlockKind::Target);
    }

    for (int i = 0; i < map.GetWidth(); ++i) {
        const float x = static_cast<float>(i) + 0.5f;
        map.AddBlock(x, kLedgeY, BlockKind::Ledge);
        for (int k = kFirstTerrainRow; k < map.GetHeight(); ++k) {
            const int kind = TerrainKind(i, k, Roll(random));
            if (kind != 0) {
                map.AddBlock(x, static_cast<float>(k) - 0.5f, kind);
            }
        }
    }

    // Anchors sit on the boundary between two columns.
    for (int j = kFirstSwingColumn; j < map.GetWidth(); ++j) {
        const int r = Roll(random);
        if (r > kPendulumChance) {
            map.AddPendulum(static_cast<float>(j), kPendulumY);
        } else if (r < kRotorChance) {
            map.AddRotor(static_cast<float>(j), kRotorY);
        }
    }
}
