// Telling every memory of bodies that one is gone.
#include "field/body_memory.h"

#include <utility>

void BodyFarewells::Keep(std::shared_ptr<BodyMemory> memory)
{
    memories.push_back(std::move(memory));
}

void BodyFarewells::SayGoodbye(b2Joint* /*joint*/) {}

void BodyFarewells::SayGoodbye(b2Fixture* fixture)
{
    // A body being destroyed says goodbye for each of its fixtures; forgetting it again does no harm.
    for (const std::shared_ptr<BodyMemory>& memory : memories) {
        memory->Forget(fixture->GetBody());
    }
}
