// Shots that appear on top of one another pass through each other until they have come apart.
#pragma once

#include "field/body_memory.h"

#include <box2d/box2d.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>

// Shots fired faster than they leave the muzzle appear on top of one another. Box2D pushes
// overlapping shapes apart hard, in directions it can only guess, and with continuous collision
// a few hundred such shots make thousands of contacts and seconds of work in one step. A shot
// that appears overlapping an earlier one is let through it instead, for as long as the two
// overlap, and the two are eased apart at a walking pace; once they have come apart they
// collide as usual. Weak shots lying at the muzzle are passed through by the next ones and
// make way for them the same way.
// Every order that changes play (which shot of a pair makes way which way, the order of the
// top-ups, and of the refiltering, which becomes the order of Box2D's contacts) follows the
// shots' serials, never their bodies' addresses: the same clicks play the same game wherever the
// heap puts the bodies.
// The world's contact filter; a destroyed body leaves every pair.
class ShotOverlaps : public b2ContactFilter, public BodyMemory {
public:
    // The two bodies' shapes overlap where they are now.
    static bool Overlap(const b2Body* a, const b2Body* b);

    // Lets the two shots, each with its serial (Projectile::serial), through each other.
    void Add(const b2Body* a, uint64_t serialA, const b2Body* b, uint64_t serialB);
    // The body collides with everything again from the next step on.
    void Release(b2Body* body);
    bool Contains(const b2Body* a, const b2Body* b) const;
    // Once a step: drops every pair whose two shapes no longer overlap (Box2D makes their
    // contact in the next step) and eases the others apart.
    void ReleaseSeparated();

    // Units a second two overlapping shots move apart at: a pig inside a cow is clear of it in
    // about a tenth of a second.
    static constexpr float kSeparationSpeed = 4.0f;

    bool ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB) override;
    void Forget(const b2Body* body) override;

private:
    // a is the older shot (the lower serial), b the newer.
    static void Separate(b2Body* a, b2Body* b);
    static void Refilter(b2Body* body);

    struct Shot {
        const b2Body* body = nullptr;
        std::set<uint64_t> partners;  // the serials of the shots it passes through
    };
    // Both ways round, by serial: each shot and the shots it passes through.
    std::map<uint64_t, Shot> shots;
    // Which shot a body is, for the filter's and the farewells' look-ups only (never walked).
    std::unordered_map<const b2Body*, uint64_t> serials;
    size_t pairs = 0;
};
