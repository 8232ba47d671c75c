// The playing field: the physics world, its boundary edges and the lists of field bodies.
#pragma once

#include "field/ball.h"
#include "field/block.h"
#include "field/body_memory.h"
#include "field/cannon.h"
#include "field/projectile.h"
#include "field/shot_overlaps.h"
#include "field/tuning.h"

#include <box2d/box2d.h>

#include <memory>
#include <vector>

// The launch force of a drag of (dx, dy) pixels at `perPixel` force a pixel: like a slingshot,
// it points away from the drag.
inline b2Vec2 DragForce(float dx, float dy, float perPixel = Tuning::kAimForcePerPixel)
{
    return b2Vec2(-dx * perPixel, -dy * perPixel);
}

// One world unit is one grid cell. x grows to the right, y downwards; the field's top is
// y = 0 and it is open there. Copies of a Map share its world and its cannon; both are
// released when the last copy goes, the world after every record pointing into it (it is
// declared first, so it is destroyed last). Each copy has lists of its own, holding bodies
// of the shared world: a body is removed only through the Map whose lists the game plays
// with; removing it through another copy leaves that Map's records with a destroyed body.
// Every body the Map makes carries, in its user data, which list holds its record and where,
// so a contact finds its records in constant time; the tag follows removals.
class Map {
public:
    Map(int width, int height, b2Vec2 gravity, bool doSleep);

    // Level building.
    void AddBlock(float x, float y, int kind);
    void AddCannon(float x, float y);
    void AddPendulum(float x, float y);
    void AddRotor(float x, float y);

    // Shots. Where the cannon's shots appear: beside its top right corner. Only with a cannon.
    b2Vec2 Muzzle() const;
    // Puts the new shot's record at the end of the list (firing order).
    void AddProjectile(const Projectile& shot);
    // A circle there would overlap something other than a shot: a block, the cannon, a ball, a wall.
    bool SolidAt(b2Vec2 centre, float radius);
    // The world's contact filter, which lets shots that appeared on one another pass through.
    ShotOverlaps& Overlaps();

    // Removal destroys the body first; later entries move down one place.
    void RemoveBlock(int index);
    void RemoveProjectile(int index);

    // Every record takes its body's position: blocks, projectiles, balls, then the cannon.
    void Update();

    Block& GetBlock(unsigned i);
    unsigned BlockCount() const;
    Projectile& GetProjectile(unsigned i);
    unsigned ProjectileCount() const;
    Ball& GetBall(unsigned i);
    unsigned BallCount() const;
    Cannon* GetCannon() const;
    int GetWidth() const;
    int GetHeight() const;
    b2Contact* GetContactList() const;
    // The live projectile in the list that owns this body, or null once it has gone.
    Projectile* FindProjectile(const b2Body* body);
    // The block in the list that owns this body, or null. The first record in list order wins.
    Block* FindBlock(const b2Body* body);

    // Continuous collision for each projectile only while it is fast enough to pass through
    // something within one step of timeStep seconds, and for no more than the kMostBullets
    // fastest (for their size) at once.
    static constexpr size_t kMostBullets = 24;
    void UpdateContinuousCollision(float timeStep);
    // Shots that appeared on top of one another collide again once they have come apart.
    void ReleaseSeparatedShots();

    // The memory of that type kept with the world, made on first use. Like the shot overlaps, it
    // is told of every body destroyed in the world from then on. Copies of the Map share it.
    template <typename Memory>
    Memory& KeptMemory();

    std::shared_ptr<b2World> world;       // first: every record below points into it
    std::vector<Block> blocks;            // creation order, which is also drawing order
    std::vector<Projectile> projectiles;  // firing order
    std::vector<Ball> balls;
    std::shared_ptr<Cannon> cannon;
    int width = 0;
    int height = 0;

private:
    void TagBlocksFrom(size_t first);
    void TagProjectilesFrom(size_t first);
    // The world's destruction listener and contact filter; both live as long as the world.
    std::shared_ptr<BodyFarewells> farewells;
    std::shared_ptr<ShotOverlaps> overlaps;
    b2Body* leftWall = nullptr;  // what the cannon's rail is fixed to

    void CreateWorld(b2Vec2 gravity, bool doSleep);
    b2Body* AddEdge(b2Vec2 start, b2Vec2 end);
    // Holds the cannon's body in its column, between where it starts and the floor.
    void AddCannonRail(b2Body* body);
    // An anchor block with a ball hanging below it, the two held together by join.
    void AddSwing(float x, float y, void (Map::*join)(b2Body*, b2Body*));
    void AddDistanceJoint(b2Body* a, b2Body* b);
    void AddRevoluteJoint(b2Body* a, b2Body* b);
};

template <typename Memory>
Memory& Map::KeptMemory()
{
    if (Memory* kept = farewells->Find<Memory>()) {
        return *kept;
    }
    auto made = std::make_shared<Memory>();
    farewells->Keep(made);
    return *made;
}
