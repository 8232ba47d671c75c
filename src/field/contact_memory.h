// What the last frame knew about shots and blocks: which pairs touched, how fast each shot was
// going before the step. Lets an impact count once, when the two first touch.
#pragma once

#include <box2d/box2d.h>

#include <set>
#include <unordered_map>
#include <utility>

class ContactMemory {
public:
    using Pair = std::pair<const b2Body*, const b2Body*>;  // shot, block

    // Units per second, noted just before the step; 0 for a body not noted.
    void NoteVelocity(const b2Body* body, b2Vec2 velocity);
    b2Vec2 VelocityBefore(const b2Body* body) const;
    float SpeedBefore(const b2Body* body) const;
    void ForgetSpeeds();

    bool TouchedLastFrame(const Pair& pair) const;
    // The pairs touching in this frame become those of the last frame.
    void EndFrame(std::set<Pair> touchingNow);
    // A destroyed body's pairs go at once, so a body later made at its address starts afresh.
    void Forget(const b2Body* body);

private:
    std::unordered_map<const b2Body*, b2Vec2> speeds;
    std::set<Pair> touching;
};
