// The pairs of shots let through each other, and when they are released.
#include "field/shot_overlaps.h"

#include <algorithm>
#include <vector>

bool ShotOverlaps::Overlap(const b2Body* a, const b2Body* b)
{
    for (const b2Fixture* fa = a->GetFixtureList(); fa != nullptr; fa = fa->GetNext()) {
        for (const b2Fixture* fb = b->GetFixtureList(); fb != nullptr; fb = fb->GetNext()) {
            // The broad phase's boxes first: most shots are nowhere near each other.
            if (b2TestOverlap(fa->GetAABB(0), fb->GetAABB(0)) &&
                b2TestOverlap(fa->GetShape(), 0, fb->GetShape(), 0, a->GetTransform(), b->GetTransform())) {
                return true;
            }
        }
    }
    return false;
}

void ShotOverlaps::Add(const b2Body* a, const b2Body* b)
{
    if (a == nullptr || b == nullptr || a == b) {
        return;
    }
    if (partners[a].insert(b).second) {
        partners[b].insert(a);
        ++pairs;
    }
}

bool ShotOverlaps::Contains(const b2Body* a, const b2Body* b) const
{
    const auto found = partners.find(a);
    return found != partners.end() && found->second.count(b) != 0;
}

void ShotOverlaps::ReleaseSeparated()
{
    if (pairs == 0) {
        return;
    }
    std::vector<std::pair<const b2Body*, const b2Body*>> apart;
    std::vector<std::pair<const b2Body*, const b2Body*>> inside;
    for (const auto& [body, others] : partners) {
        for (const b2Body* other : others) {
            if (body < other) {
                (Overlap(body, other) ? inside : apart).emplace_back(body, other);
            }
        }
    }
    // In the order of the bodies, not of the table, so a replayed game collides the same way.
    std::sort(apart.begin(), apart.end());
    std::sort(inside.begin(), inside.end());
    for (const auto& [a, b] : inside) {
        Separate(const_cast<b2Body*>(a), const_cast<b2Body*>(b));
    }
    for (const auto& [a, b] : apart) {
        partners[a].erase(b);
        partners[b].erase(a);
        --pairs;
        Refilter(const_cast<b2Body*>(a));
    }
    std::erase_if(partners, [](const auto& entry) { return entry.second.empty(); });
}

void ShotOverlaps::Separate(b2Body* a, b2Body* b)
{
    // Two shots drawn inside one another drift apart along the line between their centres, at
    // a walking pace: each step their speed apart is topped up to kSeparationSpeed, shared out
    // by their masses like an impulse between them. Neither is ever sped up by more than that,
    // so nothing is flung; blocks and walls still stop them as usual.
    b2Vec2 normal = b->GetPosition() - a->GetPosition();
    if (normal.Normalize() < b2_epsilon) {
        normal.Set(1.0f, 0.0f);  // one on the other: the later one makes way to the right
    }
    const float apartSpeed = b2Dot(b->GetLinearVelocity() - a->GetLinearVelocity(), normal);
    if (apartSpeed >= kSeparationSpeed) {
        return;
    }
    const float inverseA = a->GetMass() > 0.0f ? 1.0f / a->GetMass() : 0.0f;
    const float inverseB = b->GetMass() > 0.0f ? 1.0f / b->GetMass() : 0.0f;
    if (inverseA + inverseB <= 0.0f) {
        return;
    }
    const b2Vec2 impulse = ((kSeparationSpeed - apartSpeed) / (inverseA + inverseB)) * normal;
    a->SetLinearVelocity(a->GetLinearVelocity() - inverseA * impulse);
    b->SetLinearVelocity(b->GetLinearVelocity() + inverseB * impulse);
}

void ShotOverlaps::Release(b2Body* body)
{
    if (body != nullptr && partners.count(body) != 0) {
        Forget(body);
        Refilter(body);
    }
}

void ShotOverlaps::Refilter(b2Body* body)
{
    // The broad phase only asks the filter about a pair that has just come within reach;
    // refiltering hands the body's pairs to it again.
    for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        fixture->Refilter();
    }
}

bool ShotOverlaps::ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB)
{
    if (pairs != 0 && Contains(fixtureA->GetBody(), fixtureB->GetBody())) {
        return false;
    }
    return b2ContactFilter::ShouldCollide(fixtureA, fixtureB);
}

void ShotOverlaps::Forget(const b2Body* body)
{
    const auto found = partners.find(body);
    if (found == partners.end()) {
        return;
    }
    for (const b2Body* other : found->second) {
        const auto entry = partners.find(other);
        if (entry != partners.end()) {
            entry->second.erase(body);
            if (entry->second.empty()) {
                partners.erase(entry);
            }
        }
        --pairs;
    }
    partners.erase(found);
}
