#include "drive/playthrough.h"

namespace Drive {

namespace {

// A click every `every` frames for `seconds`: each a shot of `kind`, or, while a cow or sheep
// waits, its trick; drags as PlayClicks describes.
std::vector<Action> Clicks(int kind, int every, int seconds, Dice* dice, int drag)
{
    std::vector<Action> actions;
    bool waiting = false;
    for (int frame = every; frame < seconds * kFrameRate; frame += every) {
        Action action;
        action.frame = frame;
        action.kind = kind;
        if (waiting) {
            action.trick = true;
            waiting = false;
        } else {
            if (dice != nullptr) {
                action.dragX = -dice->Below(drag + 1);
                action.dragY = dice->Below(drag + 1) - drag / 2;
            } else {
                action.dragX = -drag;
            }
            waiting = kind != ProjectileKind::Pig;
        }
        actions.push_back(action);
    }
    return actions;
}

}  // namespace

Tally PlayClicks(unsigned seed, int kind, int rate, int seconds, Dice* dice, int drag, MuzzleWatch* watch)
{
    Session session(seed);
    std::vector<Action> actions = Clicks(kind, kFrameRate / rate, seconds, dice, drag);
    // A refused cow or sheep leaves nothing to trick: the game's next click aims again.
    size_t next = 0;
    while (session.frame < seconds * kFrameRate) {
        for (; next < actions.size() && actions[next].frame == session.frame; ++next) {
            const int refusedBefore = session.tally.refused;
            session.Do(actions[next]);
            if (session.tally.refused > refusedBefore && next + 1 < actions.size() &&
                actions[next + 1].trick) {
                actions[next + 1].trick = false;
                actions[next + 1].dragX = actions[next].dragX;
                actions[next + 1].dragY = actions[next].dragY;
            }
        }
        session.RunFrame();
        if (watch != nullptr) {
            watch->Observe(session.map);
        }
    }
    return session.tally;
}

}  // namespace Drive
