// The playing field: the physics world, its boundary edges and the lists of field bodies.
#pragma once

#include "field/ball.h"
#include "field/block.h"
#include "field/cannon.h"
#include "gameplay/projectile.h"

#include <box2d/box2d.h>

#include <memory>
#include <vector>

// One world unit is one grid cell. x grows to the right, y downwards; the field's top is
// y = 0 and it is open there. Copies of a Map share its world and its cannon; both are
// released when the last copy goes, the world after every record pointing into it.
class Map {
public:
    Map(int width, int height, b2Vec2 gravity, bool doSleep);

    // Level building.
    void AddBlock(float x, float y, int kind);
    void AddCannon(float x, float y);
    void AddPendulum(float x, float y);
    void AddRotor(float x, float y);

    // Firing. The launch record is a separate copy of the new projectile: it shares the
    // body, but its x, y stay at the launch point.
    std::unique_ptr<Projectile> Fire(float x, float y, b2Vec2 force, int kind);
    // The second click: a cow splits into three pigs, a sheep is jolted downwards. Does
    // nothing for any other kind, or once the projectile has left the field.
    void ProjectileAction(const Projectile* record);

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

    std::vector<Block> blocks;            // creation order, which is also drawing order
    std::vector<Projectile> projectiles;  // firing order
    std::vector<Ball> balls;
    std::shared_ptr<Cannon> cannon;
    int width = 0;
    int height = 0;
    std::shared_ptr<b2World> world;

private:
    void CreateWorld(b2Vec2 gravity, bool doSleep);
    void AddEdge(b2Vec2 start, b2Vec2 end);
    void AddDistanceJoint(b2Body* a, b2Body* b);
    void AddRevoluteJoint(b2Body* a, b2Body* b);
};
