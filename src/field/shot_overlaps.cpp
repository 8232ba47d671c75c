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

void ShotOverlaps::Add(const b2Body* a, uint64_t serialA, const b2Body* b, uint64_t serialB)
{
    if (a == nullptr || b == nullptr || a == b || serialA == serialB) {
        return;
    }
    Shot& first = shots[serialA];
    first.body = a;
    serials[a] = serialA;
    Shot& second = shots[serialB];
    second.body = b;
    serials[b] = serialB;
    if (first.partners.insert(serialB).second) {
        second.partners.insert(serialA);
        ++pairs;
    }
}

bool ShotOverlaps::Contains(const b2Body* a, const b2Body* b) const
{
    const auto serialA = serials.find(a);
    const auto serialB = serials.find(b);
    if (serialA == serials.end() || serialB == serials.end()) {
        return false;
    }
    const auto found = shots.find(serialA->second);
    return found != shots.end() && found->second.partners.count(serialB->second) != 0;
}

void ShotOverlaps::ReleaseSeparated()
{
    if (pairs == 0) {
        return;
    }
    // Each pair once, the older shot first, in the order of the older and then the newer serial.
    std::vector<std::pair<uint64_t, uint64_t>> apart;
    std::vector<std::pair<b2Body*, b2Body*>> inside;
    for (const auto& [serial, shot] : shots) {
        for (auto other = shot.partners.upper_bound(serial); other != shot.partners.end(); ++other) {
            const b2Body* newer = shots.at(*other).body;
            if (Overlap(shot.body, newer)) {
                inside.emplace_back(const_cast<b2Body*>(shot.body), const_cast<b2Body*>(newer));
            } else {
                apart.emplace_back(serial, *other);
            }
        }
    }
    for (const auto& [older, newer] : inside) {
        Separate(older, newer);
    }
    for (const auto& [older, newer] : apart) {
        Shot& olderShot = shots.at(older);
        olderShot.partners.erase(newer);
        shots.at(newer).partners.erase(older);
        --pairs;
        Refilter(const_cast<b2Body*>(olderShot.body));
    }
    std::erase_if(shots, [this](const auto& entry) {
        if (!entry.second.partners.empty()) {
            return false;
        }
        serials.erase(entry.second.body);
        return true;
    });
}

void ShotOverlaps::Separate(b2Body* a, b2Body* b)
{
    // Two shots drawn inside one another drift apart along the line between their centres, at
    // a walking pace: each step their speed apart is topped up to kSeparationSpeed, shared out
    // by their masses like an impulse between them. Neither is ever sped up by more than that,
    // so nothing is flung; blocks and walls still stop them as usual.
    b2Vec2 normal = b->GetPosition() - a->GetPosition();
    if (normal.Normalize() < b2_epsilon) {
        normal.Set(1.0f, 0.0f);  // one on the other: the newer one makes way to the right
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
    if (body != nullptr && serials.count(body) != 0) {
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
    const auto serial = serials.find(body);
    if (serial == serials.end()) {
        return;
    }
    const auto found = shots.find(serial->second);
    serials.erase(serial);
    if (found == shots.end()) {
        return;
    }
    for (const uint64_t other : found->second.partners) {
        const auto entry = shots.find(other);
        if (entry != shots.end()) {
            entry->second.partners.erase(found->first);
            if (entry->second.partners.empty()) {
                serials.erase(entry->second.body);
                shots.erase(entry);
            }
        }
        --pairs;
    }
    shots.erase(found);
}
