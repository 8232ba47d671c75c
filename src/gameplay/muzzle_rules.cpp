// Shots buried in one another or in the cannon, and when they are spent.
#include "gameplay/muzzle_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

bool Rules::LieDeep(const Projectile& a, const Projectile& b)
{
    // Shots further apart across than their two sizes cannot overlap: most pairs end here.
    return std::fabs(a.x - b.x) < a.size + b.size &&
           OverlapDepth(a, b) > kDeepShare * std::min(a.size, b.size);
}

bool Rules::CoversCannon(const Map& map, const Projectile& shot)
{
    const Cannon* cannon = map.GetCannon();
    return cannon != nullptr && std::fabs(shot.x - cannon->x) < shot.size &&
           std::fabs(shot.y - cannon->y) < shot.size;
}

void Rules::SpendBuriedShots(Map& map)
{
    std::vector<Projectile>& shots = map.projectiles;
    std::vector<bool> buried(shots.size(), false);
    for (size_t i = 0; i < shots.size(); ++i) {
        buried[i] = CoversCannon(map, shots[i]);
        for (size_t j = i + 1; j < shots.size() && !buried[i]; ++j) {
            buried[i] = LieDeep(shots[i], shots[j]);  // the list is in firing order: the older one
        }
    }
    for (size_t i = 0; i < shots.size(); ++i) {
        Projectile& shot = shots[i];
        shot.buriedFrames = buried[i] ? shot.buriedFrames + 1 : 0;
        if (shot.buriedFrames >= kBuriedFrames) {
            shot.lifetime = 0.0f;
        }
    }
}
