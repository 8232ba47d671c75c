// What the last frame knew about shots and blocks: which pairs touched, how fast each shot was
// going before the step. Lets an impact count once, when the two first touch.
#pragma once

#include "field/body_memory.h"
#include "field/projectile.h"

#include <box2d/box2d.h>

#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

// Kept with the Map's world (Map::KeptMemory), which tells it of every body destroyed.
class ContactMemory : public BodyMemory {
public:
    using Pair = std::pair<const b2Body*, const b2Body*>;  // shot, block

    // Each shot's velocity just before the step, in place of those noted before the last one.
    void NoteVelocities(const std::vector<Projectile>& shots);
    // Units per second; 0 for a body not noted.
    b2Vec2 VelocityBefore(const b2Body* body) const;
    float SpeedBefore(const b2Body* body) const;

    bool TouchedLastFrame(const Pair& pair) const;
    // The pairs touching in this frame become those of the last frame.
    void EndFrame(std::set<Pair> touchingNow);
    // A destroyed body's pairs go at once, so a body later made at its address starts afresh.
    void Forget(const b2Body* body) override;

private:
    std::unordered_map<const b2Body*, b2Vec2> velocitiesBefore;  // units per second, by shot
    std::set<Pair> touching;
};
