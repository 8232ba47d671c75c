// The playing field's records and the Map: bodies of every block kind, balls, the cannon,
// projectiles and their pictures, the boundary edges, removal, copies, pendulums and rotors.
#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "field/map.h"
#include "field/tuning.h"
#include "game_fixture.h"
#include "gameplay/firing_rules.h"

#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <numbers>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr float kStep = Tuning::kTimeStep;  // seconds per frame

Map MakeMap()
{
    return Map(Tuning::kFieldWidth, Tuning::kFieldHeight, b2Vec2(0.0f, Tuning::kGravityY),
               Tuning::kAllowSleep);
}

void Step(Map& map, int frames)
{
    for (int i = 0; i < frames; ++i) {
        map.world->Step(kStep, Tuning::kVelocityIterations, Tuning::kPositionIterations);
        map.Update();
    }
}

// The body's single fixture; fails the test when the body has none or more than one.
const b2Fixture* OnlyFixture(const b2Body* body)
{
    EXPECT_NE(body, nullptr);
    if (body == nullptr) {
        return nullptr;
    }
    const b2Fixture* fixture = body->GetFixtureList();
    EXPECT_NE(fixture, nullptr) << "body without a fixture";
    if (fixture != nullptr) {
        EXPECT_EQ(fixture->GetNext(), nullptr) << "body with more than one fixture";
    }
    return fixture;
}

// The fixture is an axis-aligned square of the given half side centred on the body.
void ExpectSquare(const b2Fixture* fixture, float halfSize)
{
    ASSERT_NE(fixture, nullptr);
    ASSERT_EQ(fixture->GetType(), b2Shape::e_polygon);
    const auto* shape = static_cast<const b2PolygonShape*>(fixture->GetShape());
    ASSERT_EQ(shape->m_count, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(std::fabs(shape->m_vertices[i].x), halfSize, 1e-6f) << "vertex " << i;
        EXPECT_NEAR(std::fabs(shape->m_vertices[i].y), halfSize, 1e-6f) << "vertex " << i;
    }
    EXPECT_NEAR(shape->m_centroid.x, 0.0f, 1e-6f);
    EXPECT_NEAR(shape->m_centroid.y, 0.0f, 1e-6f);
}

void ExpectMaterial(const b2Fixture* fixture, float density, float friction, float restitution)
{
    ASSERT_NE(fixture, nullptr);
    EXPECT_FLOAT_EQ(fixture->GetDensity(), density);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), friction);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), restitution);
}

struct KindRow {
    int kind;
    int tileX;
    int tileY;
    float density;
    float friction;
    float restitution;
    float strength;
    b2BodyType type;
    float halfSize;
};

// Same picture, pixel for pixel.
bool SameImage(SDL_Surface* a, SDL_Surface* b)
{
    if (a == nullptr || b == nullptr || a->w != b->w || a->h != b->h) {
        return false;
    }
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (!(PixelAt(a, x, y) == PixelAt(b, x, y))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

TEST(BlockTest, EveryKindBuildsItsBodyFromTheKindTable)
{
    const KindRow rows[] = {
        {4, Asset::kLedgeTile.x, Asset::kLedgeTile.y, 10.0f, 1.0f, 0.0f, 1000.0f, b2_dynamicBody, 0.49f},
        {5, Asset::kEarthTile.x, Asset::kEarthTile.y, 10.0f, 2.0f, 0.0f, 1000.0f, b2_dynamicBody, 0.49f},
        {6, Asset::kBedrockTile.x, Asset::kBedrockTile.y, 50.0f, 1.0f, 0.0f, 3000.0f, b2_staticBody, 0.49f},
        {7, Asset::kSpringTile.x, Asset::kSpringTile.y, 30.0f, 0.6f, 0.5f, 1000.0f, b2_dynamicBody, 0.49f},
        {8, Asset::kPedestalTile.x, Asset::kPedestalTile.y, 20.0f, 1.0f, 0.1f, 10000.0f, b2_dynamicBody,
         0.49f},
        {9, Asset::kAnchorTile.x, Asset::kAnchorTile.y, 50.0f, 1.0f, 0.0f, 10000.0f, b2_kinematicBody, 0.49f},
        {10, Asset::kTargetTile.x, Asset::kTargetTile.y, 2.0f, 0.2f, 0.8f, 1.0f, b2_dynamicBody, 0.45f},
    };
    b2World world(b2Vec2(0.0f, 20.0f));
    for (const KindRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "block kind " << row.kind);
        const Block block(10.5f, 6.5f, row.kind, &world);
        EXPECT_EQ(block.kind, row.kind);
        EXPECT_EQ(block.tileX, row.tileX);
        EXPECT_EQ(block.tileY, row.tileY);
        EXPECT_FLOAT_EQ(block.strength, row.strength);
        EXPECT_FLOAT_EQ(block.fullStrength, row.strength);
        EXPECT_FLOAT_EQ(block.halfSize, row.halfSize) << "a target's own half size must win over the default";
        EXPECT_EQ(block.bodyType, row.type);
        EXPECT_TRUE(block.fixedRotation);

        ASSERT_NE(block.body, nullptr);
        EXPECT_EQ(block.body->GetType(), row.type);
        EXPECT_TRUE(block.body->IsFixedRotation());
        EXPECT_EQ(block.body->GetPosition(), b2Vec2(10.5f, 6.5f));
        EXPECT_FLOAT_EQ(block.body->GetAngle(), 0.0f);
        EXPECT_EQ(block.body->GetUserData().pointer, 0u) << "field bodies carry no user data";
        const b2Fixture* fixture = OnlyFixture(block.body);
        ExpectSquare(fixture, row.halfSize);
        ExpectMaterial(fixture, row.density, row.friction, row.restitution);
        if (row.type == b2_dynamicBody) {
            const float side = 2.0f * row.halfSize;
            EXPECT_NEAR(block.body->GetMass(), row.density * side * side, 1e-3f);
        }
    }

    // Codes outside 4..10 take the fallback row; nothing in the game makes them.
    for (const int kind : {-1, 0, 3, 11, 1000}) {
        SCOPED_TRACE(testing::Message() << "unknown block kind " << kind);
        const Block block(3.5f, 2.5f, kind, &world);
        EXPECT_EQ(block.tileX, Asset::kUnknownTile.x);
        EXPECT_EQ(block.tileY, Asset::kUnknownTile.y);
        EXPECT_FLOAT_EQ(block.strength, 1.0f);
        EXPECT_FLOAT_EQ(block.fullStrength, 1.0f);
        EXPECT_FLOAT_EQ(block.halfSize, 0.49f);
        ASSERT_NE(block.body, nullptr);
        const b2Fixture* fixture = OnlyFixture(block.body);
        ExpectSquare(fixture, 0.49f);
        ExpectMaterial(fixture, 100.0f, 1.0f, 1.0f);
    }

    // Without a world nothing is built, and nothing breaks.
    const Block orphan(1.5f, 1.5f, 5, nullptr);
    EXPECT_EQ(orphan.body, nullptr);
    const Ball orphanBall(1.5f, 1.5f, nullptr);
    EXPECT_EQ(orphanBall.body, nullptr);
    const Cannon orphanCannon(1.5f, 1.5f, nullptr);
    EXPECT_EQ(orphanCannon.body, nullptr);
}

TEST(BlockTest, DamageLaunchAndSharedBodies)
{
    Map map = MakeMap();

    // Damage takes hit points off without clamping.
    map.AddBlock(2.5f, 0.5f, 10);
    Block& target = map.GetBlock(0);
    target.Damage(1.5f);
    EXPECT_FLOAT_EQ(target.strength, -0.5f);
    EXPECT_FLOAT_EQ(target.fullStrength, 1.0f);

    // Launch pushes only dynamic blocks.
    map.AddBlock(5.5f, 12.5f, 6);   // bedrock
    map.AddBlock(8.5f, 9.5f, 9);    // anchor
    map.AddBlock(12.5f, 12.5f, 7);  // spring, resting near the floor
    Step(map, 50);
    const b2Vec2 bedrockAt = map.GetBlock(1).body->GetPosition();
    const b2Vec2 anchorAt = map.GetBlock(2).body->GetPosition();
    map.GetBlock(1).Launch();
    map.GetBlock(2).Launch();
    map.GetBlock(3).Launch();
    float highest = map.GetBlock(3).y;
    for (int i = 0; i < 300 && highest > -13.0f; ++i) {
        Step(map, 1);
        highest = std::min(highest, map.GetBlock(3).y);
    }
    EXPECT_EQ(map.GetBlock(1).body->GetPosition(), bedrockAt) << "a launched bedrock block moved";
    EXPECT_EQ(map.GetBlock(2).body->GetPosition(), anchorAt) << "a launched anchor block moved";
    EXPECT_LE(highest, -13.0f) << "a launched spring must fly out through the top of the field";

    // An Earth block never turns, however it is hit.
    map.AddBlock(10.5f, 6.5f, 5);
    Block& earth = map.GetBlock(4);
    earth.body->ApplyLinearImpulse(b2Vec2(30.0f, -30.0f), earth.body->GetWorldPoint(b2Vec2(0.49f, 0.49f)),
                                   true);
    earth.body->ApplyTorque(1000.0f, true);
    Step(map, 20);
    EXPECT_FLOAT_EQ(earth.body->GetAngle(), 0.0f);
    EXPECT_FLOAT_EQ(earth.body->GetAngularVelocity(), 0.0f);

    // A copy shares the body: it keeps the old position until its own SyncPosition reads the
    // body that the listed block moved with.
    Block copy = map.GetBlock(4);
    const b2Vec2 before(copy.x, copy.y);
    Step(map, 10);
    ASSERT_NE(map.GetBlock(4).y, before.y) << "the block must still be moving for this check";
    EXPECT_EQ(b2Vec2(copy.x, copy.y), before);
    copy.SyncPosition();
    EXPECT_FLOAT_EQ(copy.x, map.GetBlock(4).x);
    EXPECT_FLOAT_EQ(copy.y, map.GetBlock(4).y);
}

TEST(BallAndCannonTest, BodiesMatchTheirRecords)
{
    b2World world(b2Vec2(0.0f, 20.0f));

    const Ball ball(7.0f, 2.0f, &world);
    EXPECT_FLOAT_EQ(ball.radius, 0.2f);
    ASSERT_NE(ball.body, nullptr);
    EXPECT_EQ(ball.body->GetType(), b2_dynamicBody);
    EXPECT_TRUE(ball.body->IsBullet());
    EXPECT_FALSE(ball.body->IsFixedRotation());
    EXPECT_EQ(ball.body->GetPosition(), b2Vec2(7.0f, 2.0f));
    const b2Fixture* ballFixture = OnlyFixture(ball.body);
    ASSERT_EQ(ballFixture->GetType(), b2Shape::e_circle);
    const auto* circle = static_cast<const b2CircleShape*>(ballFixture->GetShape());
    EXPECT_FLOAT_EQ(circle->m_radius, 0.2f);
    EXPECT_EQ(circle->m_p, b2Vec2(0.0f, 0.0f));
    ExpectMaterial(ballFixture, 20.0f, 0.2f, 0.2f);

    const Cannon cannon(0.5f, 0.5f, &world);
    ASSERT_NE(cannon.body, nullptr);
    EXPECT_EQ(cannon.body->GetType(), b2_dynamicBody);
    EXPECT_TRUE(cannon.body->IsFixedRotation());
    EXPECT_EQ(cannon.body->GetPosition(), b2Vec2(0.5f, 0.5f));
    const b2Fixture* cannonFixture = OnlyFixture(cannon.body);
    ExpectSquare(cannonFixture, 0.45f);
    ExpectMaterial(cannonFixture, 10.0f, 1.0f, 0.5f);
}

TEST(MapTest, FreshMapHasOnlyTheThreeEdges)
{
    Map map = MakeMap();
    EXPECT_EQ(map.GetWidth(), 20);
    EXPECT_EQ(map.GetHeight(), 13);
    EXPECT_EQ(map.BlockCount(), 0u);
    EXPECT_EQ(map.BallCount(), 0u);
    EXPECT_EQ(map.ProjectileCount(), 0u);
    EXPECT_EQ(map.GetCannon(), nullptr);
    ASSERT_TRUE(map.world);
    EXPECT_EQ(map.world->GetGravity(), b2Vec2(0.0f, 20.0f));
    EXPECT_TRUE(map.world->GetAllowSleeping());
    EXPECT_EQ(map.world->GetJointCount(), 0);
    ASSERT_EQ(map.world->GetBodyCount(), 3);

    using Segment = std::tuple<float, float, float, float>;
    std::set<Segment> edges;
    for (const b2Body* body = map.world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        EXPECT_EQ(body->GetType(), b2_staticBody);
        EXPECT_EQ(body->GetPosition(), b2Vec2(0.0f, 0.0f));
        const b2Fixture* fixture = OnlyFixture(body);
        ASSERT_EQ(fixture->GetType(), b2Shape::e_edge);
        EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.2f);
        EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.0f);
        const auto* edge = static_cast<const b2EdgeShape*>(fixture->GetShape());
        EXPECT_FALSE(edge->m_oneSided) << "the walls and the floor stop bodies from both sides";
        edges.insert({edge->m_vertex1.x, edge->m_vertex1.y, edge->m_vertex2.x, edge->m_vertex2.y});
    }
    const std::set<Segment> expected = {
        {0.0f, 0.0f, 0.0f, 13.0f},    // left wall
        {20.0f, 0.0f, 20.0f, 13.0f},  // right wall
        {0.0f, 13.5f, 20.0f, 13.5f},  // floor, half a cell below the bottom row
    };
    EXPECT_EQ(edges, expected);
}

TEST(MapTest, BodiesRestOnTheFloorAndLeaveSidewaysOnlyAboveTheTop)
{
    Map map = MakeMap();
    const float dropX[] = {0.5f, 7.5f, 19.5f};
    for (const float x : dropX) {
        map.AddBlock(x, 2.5f, 5);
    }
    Step(map, 400);
    for (unsigned i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "earth block dropped at x = " << dropX[i]);
        EXPECT_NEAR(map.GetBlock(i).x, dropX[i], 0.02f);
        EXPECT_NEAR(map.GetBlock(i).y, 13.5f - 0.49f, 0.03f) << "a dropped block rests on the floor at 13.5";
        EXPECT_FALSE(map.GetBlock(i).body->IsAwake()) << "a resting block goes to sleep";
    }

    // Thrown towards a wall inside the field, a block is stopped; above y = 0 it flies on.
    struct Throw {
        float x, y, vx;
        bool leaves;
    };
    const Throw throws[] = {
        {19.0f, 8.0f, 30.0f, false},
        {1.0f, 8.0f, -30.0f, false},
        {19.0f, -3.0f, 30.0f, true},
        {1.0f, -3.0f, -30.0f, true},
    };
    for (const Throw& t : throws) {
        SCOPED_TRACE(testing::Message() << "thrown from (" << t.x << ", " << t.y << ") at " << t.vx);
        Map field = MakeMap();
        field.AddBlock(t.x, t.y, 5);
        field.GetBlock(0).body->SetLinearVelocity(b2Vec2(t.vx, -5.0f));
        float outside = -100.0f;  // furthest reach of the centre beyond a side wall
        for (int i = 0; i < 15; ++i) {
            Step(field, 1);
            outside = std::max({outside, -field.GetBlock(0).x, field.GetBlock(0).x - 20.0f});
        }
        if (t.leaves) {
            EXPECT_GT(outside, 0.5f) << "nothing closes the field above y = 0";
        } else {
            EXPECT_LT(outside, -0.4f) << "a side wall must keep the block inside";
        }
    }
}

TEST(MapTest, TheCannonRidesItsRailDownToTheFloorOfAnEmptyColumn)
{
    Map map = MakeMap();
    map.AddCannon(0.5f, 0.5f);
    Step(map, 400);
    EXPECT_NEAR(map.GetCannon()->y + map.GetCannon()->halfSize, 13.5f, 0.02f)
        << "the cannon stands on the floor, its rail does not hold it above";
    EXPECT_FLOAT_EQ(map.GetCannon()->x, 0.5f);
}

TEST(MapTest, RemovingBlocksShiftsTheListAndAnchorsFreeTheirBalls)
{
    Map map = MakeMap();
    for (int i = 0; i < 5; ++i) {
        map.AddBlock(static_cast<float>(2 * i) + 0.5f, 8.5f, 5);
    }
    std::vector<b2Body*> bodies;
    for (const Block& block : map.blocks) {
        bodies.push_back(block.body);
    }
    const int bodyCount = map.world->GetBodyCount();
    map.RemoveBlock(2);
    ASSERT_EQ(map.BlockCount(), 4u);
    EXPECT_EQ(map.world->GetBodyCount(), bodyCount - 1) << "the removed block's body must be destroyed";
    const std::vector<b2Body*> left = {bodies[0], bodies[1], bodies[3], bodies[4]};
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(map.GetBlock(i).body, left[i]) << "block " << i << " after removing block 2";
    }
    EXPECT_FLOAT_EQ(map.GetBlock(2).x, 6.5f);

    // An anchor's removal takes its joint with it; the ball falls and stays listed.
    Map swing = MakeMap();
    swing.AddPendulum(10.0f, 1.0f);
    swing.AddRotor(15.0f, 3.0f);
    ASSERT_EQ(swing.BlockCount(), 2u);
    ASSERT_EQ(swing.BallCount(), 2u);
    ASSERT_EQ(swing.world->GetJointCount(), 2);
    swing.RemoveBlock(0);
    EXPECT_EQ(swing.world->GetJointCount(), 1);
    Step(swing, 300);
    ASSERT_EQ(swing.BallCount(), 2u) << "balls are never removed";
    EXPECT_NEAR(swing.GetBall(0).y, 13.5f - 0.2f, 0.05f) << "the freed pendulum ball must fall to the floor";
    EXPECT_NEAR(swing.GetBall(0).x, 10.0f, 0.05f);
    const b2Vec2 rotorBall(swing.GetBall(1).x, swing.GetBall(1).y);
    EXPECT_NEAR(b2Distance(rotorBall, b2Vec2(15.0f, 3.0f)), 1.0f, 0.02f) << "the rotor must keep its ball";
}

TEST(MapTest, CopiesShareTheWorldAndTheCannon)
{
    Map map = MakeMap();
    map.AddCannon(0.5f, 0.5f);
    map.AddBlock(3.5f, 2.5f, 5);
    {
        Map copy = map;
        copy.AddBlock(6.5f, 2.5f, 5);
        ASSERT_EQ(copy.BlockCount(), 2u);
        EXPECT_EQ(map.BlockCount(), 1u) << "the lists are copied, not shared";
        EXPECT_EQ(map.world->GetBodyCount(), 3 + 3);

        // One step of the shared world moves the bodies made through either Map.
        Step(map, 30);
        copy.Update();
        EXPECT_GT(map.GetBlock(0).y, 2.6f);
        EXPECT_GT(copy.GetBlock(1).y, 2.6f) << "a body made through the copy must fall in the same world";
        EXPECT_FLOAT_EQ(copy.GetBlock(0).y, map.GetBlock(0).y);
    }
    // The copy is gone; the world, its bodies and the cannon are still there.
    ASSERT_TRUE(map.world);
    EXPECT_EQ(map.world->GetBodyCount(), 6);
    ASSERT_NE(map.GetCannon(), nullptr);
    Step(map, 30);
    EXPECT_GT(map.GetCannon()->y, 0.6f);

    // An assigned Map builds in the world it was given, and the world it had is gone.
    Map assigned = MakeMap();
    const std::weak_ptr<b2World> ownWorld = assigned.world;
    assigned = map;
    EXPECT_TRUE(ownWorld.expired()) << "the world the Map was made with is not freed";
    assigned.AddBlock(8.5f, 2.5f, 5);
    EXPECT_EQ(map.world->GetBodyCount(), 7)
        << "a block added through the assigned Map must be in the shared world";
}

TEST(MapTest, EveryBodyFindsItsOwnRecordAcrossAddsRemovalsAndCopies)
{
    Map map = MakeMap();
    for (int i = 0; i < 4; ++i) {
        map.AddBlock(2.5f + static_cast<float>(i), 10.5f, 5);
    }
    map.AddPendulum(12.0f, 2.0f);
    map.AddCannon(0.5f, 0.5f);
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(Rules::Fire(map, 3.0f + static_cast<float>(i), 3.0f, b2Vec2(0.0f, 0.0f), 0), nullptr);
    }
    // A record pushed without the Map, and a second record sharing a block's body.
    map.projectiles.push_back(Projectile(9.0f, 3.0f, map.world.get(), 0));
    map.blocks.push_back(map.blocks[2]);

    auto expectAllFound = [](Map& field, size_t firstBlock, const char* when) {
        SCOPED_TRACE(when);
        for (size_t i = firstBlock; i < field.blocks.size(); ++i) {
            const b2Body* body = field.blocks[i].body;
            Block* found = field.FindBlock(body);
            ASSERT_NE(found, nullptr) << "block " << i;
            EXPECT_EQ(found->body, body) << "block " << i;
            EXPECT_LE(found, &field.blocks[i]) << "block " << i;
            EXPECT_EQ(found, &*std::find_if(field.blocks.begin(), field.blocks.end(),
                                            [body](const Block& b) { return b.body == body; }))
                << "block " << i << ": the first record in list order must be found";
            EXPECT_EQ(field.FindProjectile(body), nullptr) << "block " << i;
        }
        for (size_t i = 0; i < field.projectiles.size(); ++i) {
            EXPECT_EQ(field.FindProjectile(field.projectiles[i].body), &field.projectiles[i])
                << "projectile " << i;
            EXPECT_EQ(field.FindBlock(field.projectiles[i].body), nullptr) << "projectile " << i;
        }
        for (const b2Body* other :
             {field.balls[0].body, field.GetCannon()->body, static_cast<b2Body*>(nullptr)}) {
            EXPECT_EQ(field.FindBlock(other), nullptr);
            EXPECT_EQ(field.FindProjectile(other), nullptr);
        }
    };
    expectAllFound(map, 0, "as built");

    map.RemoveBlock(1);
    map.RemoveProjectile(0);
    map.RemoveProjectile(1);
    expectAllFound(map, 0, "after removals moved later records down");
    ASSERT_EQ(map.FindBlock(map.blocks[1].body), &map.blocks[1]) << "the shared body's first record";

    Map copy = map;
    copy.RemoveBlock(0);  // the original's first block now has no body left to look up
    expectAllFound(copy, 0, "in a copy after its own removals");
    expectAllFound(map, 1, "in the original, after the copy removed records from the shared world");
}

TEST(MapTest, PendulumSwingsOnItsRodAndRotorTurnsItsBall)
{
    Map map = MakeMap();
    map.AddPendulum(6.0f, 1.0f);
    map.AddRotor(14.0f, 3.0f);
    ASSERT_EQ(map.BlockCount(), 2u);
    ASSERT_EQ(map.BallCount(), 2u);
    EXPECT_EQ(map.GetBlock(0).kind, 9);
    EXPECT_EQ(map.GetBlock(1).kind, 9);
    EXPECT_EQ(map.GetBall(0).body->GetPosition(), b2Vec2(6.0f, 2.0f));
    EXPECT_EQ(map.GetBall(1).body->GetPosition(), b2Vec2(14.0f, 4.0f));

    const b2JointEdge* pendulumEdge = map.GetBlock(0).body->GetJointList();
    ASSERT_NE(pendulumEdge, nullptr);
    EXPECT_EQ(pendulumEdge->joint->GetType(), e_distanceJoint);
    EXPECT_EQ(pendulumEdge->other, map.GetBall(0).body);
    EXPECT_TRUE(pendulumEdge->joint->GetCollideConnected());
    const auto* rod = static_cast<const b2DistanceJoint*>(pendulumEdge->joint);
    EXPECT_FLOAT_EQ(rod->GetLength(), 1.0f);
    EXPECT_FLOAT_EQ(rod->GetStiffness(), 0.0f);

    const b2JointEdge* rotorEdge = map.GetBlock(1).body->GetJointList();
    ASSERT_NE(rotorEdge, nullptr);
    EXPECT_EQ(rotorEdge->joint->GetType(), e_revoluteJoint);
    EXPECT_EQ(rotorEdge->other, map.GetBall(1).body);
    EXPECT_FALSE(rotorEdge->joint->GetCollideConnected());
    const auto* motor = static_cast<const b2RevoluteJoint*>(rotorEdge->joint);
    EXPECT_TRUE(motor->IsMotorEnabled());
    EXPECT_FLOAT_EQ(motor->GetMotorSpeed(), 2.0f);
    EXPECT_FLOAT_EQ(motor->GetMaxMotorTorque(), 100.0f);
    EXPECT_FALSE(motor->IsLimitEnabled());

    map.GetBall(0).body->SetLinearVelocity(b2Vec2(4.0f, 0.0f));
    const b2Vec2 pendulumAnchor(6.0f, 1.0f);
    const b2Vec2 rotorAnchor(14.0f, 3.0f);
    float minPendulumX = 6.0f;
    float maxPendulumX = 6.0f;
    float rotorTurn = 0.0f;  // radians swept around the anchor
    float lastAngle = std::atan2(1.0f, 0.0f);
    for (int frame = 0; frame < 400; ++frame) {
        Step(map, 1);
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        const b2Vec2 pendulumBall(map.GetBall(0).x, map.GetBall(0).y);
        const b2Vec2 rotorBall(map.GetBall(1).x, map.GetBall(1).y);
        ASSERT_NEAR(b2Distance(pendulumBall, pendulumAnchor), 1.0f, 0.01f) << "the pendulum's rod is rigid";
        ASSERT_NEAR(b2Distance(rotorBall, rotorAnchor), 1.0f, 0.01f) << "the rotor's ball turns at radius 1";
        minPendulumX = std::min(minPendulumX, pendulumBall.x);
        maxPendulumX = std::max(maxPendulumX, pendulumBall.x);
        const float angle = std::atan2(rotorBall.y - rotorAnchor.y, rotorBall.x - rotorAnchor.x);
        float delta = angle - lastAngle;
        if (delta > std::numbers::pi_v<float>) {
            delta -= 2.0f * std::numbers::pi_v<float>;
        } else if (delta < -std::numbers::pi_v<float>) {
            delta += 2.0f * std::numbers::pi_v<float>;
        }
        rotorTurn += delta;
        lastAngle = angle;
    }
    EXPECT_EQ(map.GetBlock(0).body->GetPosition(), pendulumAnchor) << "anchors stay where they are put";
    EXPECT_EQ(map.GetBlock(1).body->GetPosition(), rotorAnchor);
    EXPECT_LT(minPendulumX, 5.4f) << "the pendulum must swing both ways";
    EXPECT_GT(maxPendulumX, 6.6f) << "the pendulum must swing both ways";
    EXPECT_GT(std::fabs(rotorTurn), 2.0f * std::numbers::pi_v<float>)
        << "the rotor must drive its ball round";
}

// Projectiles show the pictures start-up loaded, which needs the display: these run inside a
// started Shooter.
using ProjectileTest = GameTest;

TEST_F(ProjectileTest, EveryKindHasItsBodyAndItsKindsPicture)
{
    struct Row {
        int kind;
        float mass;
        float size;
        float restitution;
        float damageFactor;
        bool cow;
        const char* picture;
    };
    const Row rows[] = {
        {0, 0.377f, 0.2f, 0.5f, 1.0f, false, Asset::kPig.path},
        {1, 1.28f, 0.4f, 0.2f, 5.0f, true, Asset::kCow.path},
        {2, 0.848f, 0.3f, 0.6f, 2.0f, false, Asset::kSheep.path},
        {3, 0.0314f, 0.1f, 0.6f, 2.0f, false, Asset::kSheep.path},
        {4, 0.377f, 0.2f, 0.8f, 2.0f, false, Asset::kBullet.path},
        {-1, 0.377f, 0.2f, 0.8f, 2.0f, false, Asset::kBullet.path},
        {1000, 0.377f, 0.2f, 0.8f, 2.0f, false, Asset::kBullet.path},
    };
    b2World world(b2Vec2(0.0f, 20.0f));
    std::vector<Projectile> made;
    std::map<std::string, SDL_Surface*> surfaces;  // one picture per file, shared by its shots
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "projectile kind " << row.kind);
        made.emplace_back(3.0f, 2.0f, &world, row.kind);
        const Projectile& projectile = made.back();
        EXPECT_FLOAT_EQ(projectile.lifetime, 500.0f);
        EXPECT_FLOAT_EQ(projectile.size, row.size);
        EXPECT_FLOAT_EQ(projectile.damageFactor, row.damageFactor);
        ASSERT_NE(projectile.body, nullptr);
        EXPECT_EQ(projectile.body->GetType(), b2_dynamicBody);
        EXPECT_TRUE(projectile.body->IsBullet());
        EXPECT_EQ(projectile.body->IsFixedRotation(), row.cow);
        EXPECT_EQ(projectile.body->GetPosition(), b2Vec2(3.0f, 2.0f));
        EXPECT_NEAR(projectile.body->GetMass(), row.mass, row.mass * 0.01f);
        const b2Fixture* fixture = OnlyFixture(projectile.body);
        EXPECT_FLOAT_EQ(fixture->GetRestitution(), row.restitution);
        if (row.cow) {
            ExpectSquare(fixture, 0.4f);
        } else {
            ASSERT_EQ(fixture->GetType(), b2Shape::e_circle);
            EXPECT_FLOAT_EQ(fixture->GetShape()->m_radius, row.size);
        }

        // Its file's picture, colour-keyed magenta, the same for every shot drawn from that file.
        ASSERT_NE(projectile.sprite, nullptr) << "the picture must load";
        EXPECT_EQ(surfaces.emplace(row.picture, projectile.sprite.get()).first->second,
                  projectile.sprite.get())
            << "shots of one picture share it";
        EXPECT_NE(projectile.sprite->flags & SDL_SRCCOLORKEY, 0u);
        EXPECT_EQ(projectile.sprite->format->colorkey,
                  SDL_MapRGB(projectile.sprite->format, Asset::kColourKey.r, Asset::kColourKey.g,
                             Asset::kColourKey.b));
        SDL_Surface* reference = CImage::Load(row.picture);
        EXPECT_TRUE(SameImage(projectile.sprite.get(), reference)) << "expected the picture " << row.picture;
        SDL_FreeSurface(reference);
    }

    // The cow stays upright whatever it hits.
    Projectile cow(10.0f, 5.0f, &world, 1);
    cow.body->ApplyLinearImpulse(b2Vec2(5.0f, 0.0f), cow.body->GetWorldPoint(b2Vec2(0.4f, 0.4f)), true);
    for (int i = 0; i < 20; ++i) {
        world.Step(kStep, Tuning::kVelocityIterations, Tuning::kPositionIterations);
    }
    EXPECT_FLOAT_EQ(cow.body->GetAngle(), 0.0f);

    // Update follows the body and counts a frame off; Speed is the velocity's length.
    cow.Update();
    EXPECT_EQ(b2Vec2(cow.x, cow.y), cow.body->GetPosition());
    EXPECT_FLOAT_EQ(cow.lifetime, 499.0f);
    cow.body->SetLinearVelocity(b2Vec2(3.0f, -4.0f));
    EXPECT_FLOAT_EQ(cow.Speed(), 5.0f);
}

TEST_F(ProjectileTest, ShotsSharePicturesLoadedAtStartUpAlsoWhenTheArtworkHasGone)
{
    Map& map = CurrentMap();
    const int edgeBodies = map.world->GetBodyCount();
    std::unique_ptr<Projectile> first = Rules::Fire(map, 3.0f, 2.0f, b2Vec2(0.0f, 0.0f), 0);

    // The artwork folder goes away in the middle of play: later shots are drawn all the same.
    const std::filesystem::path folder = std::filesystem::current_path();
    const std::filesystem::path empty = std::filesystem::temp_directory_path() / "shooter-no-artwork";
    std::filesystem::create_directories(empty);
    std::filesystem::current_path(empty);
    std::unique_ptr<Projectile> second = Rules::Fire(map, 6.0f, 2.0f, b2Vec2(0.0f, 0.0f), 0);
    std::unique_ptr<Projectile> cow = Rules::Fire(map, 9.0f, 2.0f, b2Vec2(0.0f, 0.0f), 1);
    std::filesystem::current_path(folder);
    std::filesystem::remove(empty);

    ASSERT_EQ(map.ProjectileCount(), 3u);
    ASSERT_NE(first->sprite, nullptr);
    EXPECT_EQ(second->sprite, first->sprite) << "two pigs share one picture";
    EXPECT_EQ(map.GetProjectile(1).sprite, first->sprite) << "the listed shot shares its record's picture";
    ASSERT_NE(cow->sprite, nullptr) << "a cow fired without the artwork folder is drawn";
    EXPECT_NE(cow->sprite, first->sprite);
    EXPECT_EQ(map.world->GetBodyCount(), edgeBodies + 3);

    // Removal destroys the body; the picture stays for the next shot of its kind.
    map.RemoveProjectile(0);
    first.reset();
    EXPECT_EQ(map.world->GetBodyCount(), edgeBodies + 2);
    EXPECT_GT(second->sprite->w, 0);

    // Shots still flying at shutdown are left to OnCleanup (the sanitizer run checks it).
    game->lastProjectile = std::move(cow);
}

TEST(ProjectileWithoutDisplayTest, BodyIsMadeEvenWithoutAPicture)
{
    // No video here: the picture cannot be converted, but the projectile still takes part.
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    b2World world(b2Vec2(0.0f, 20.0f));
    const Projectile pig(2.0f, 2.0f, &world, 0);
    EXPECT_EQ(pig.sprite, nullptr);
    ASSERT_NE(pig.body, nullptr);
    EXPECT_NEAR(pig.body->GetMass(), 0.377f, 0.004f);
    const Projectile orphan(2.0f, 2.0f, nullptr, 2);
    EXPECT_EQ(orphan.body, nullptr);
    EXPECT_FLOAT_EQ(orphan.Speed(), 0.0f);
}
