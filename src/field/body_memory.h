// What keeps bodies by their address, and the one listener that tells all of it a body is gone.
#pragma once

#include <box2d/box2d.h>

#include <memory>
#include <vector>

// Something that keeps bodies by their address. Box2D hands a destroyed body's address to the
// next body it makes, so a memory lets a body go the moment it is destroyed.
class BodyMemory {
public:
    virtual ~BodyMemory() = default;
    virtual void Forget(const b2Body* body) = 0;
};

// The world's destruction listener: hears of every body destroyed, however it went, and tells
// each memory it keeps.
class BodyFarewells : public b2DestructionListener {
public:
    void Keep(std::shared_ptr<BodyMemory> memory);
    // The first memory of that type kept here, or null.
    template <typename Memory>
    Memory* Find() const;

    void SayGoodbye(b2Joint* joint) override;
    void SayGoodbye(b2Fixture* fixture) override;

private:
    std::vector<std::shared_ptr<BodyMemory>> memories;
};

template <typename Memory>
Memory* BodyFarewells::Find() const
{
    for (const std::shared_ptr<BodyMemory>& memory : memories) {
        if (auto* found = dynamic_cast<Memory*>(memory.get())) {
            return found;
        }
    }
    return nullptr;
}
