// The names of the interface sprites, each declared once.
#pragma once

#include <string_view>

// A sprite's name. The interface set looks sprites up only by a SpriteName, and the game's
// names are the constants below, so a misspelt name does not compile.
class SpriteName {
public:
    constexpr explicit SpriteName(std::string_view text) : text(text) {}
    constexpr std::string_view Text() const { return text; }

private:
    std::string_view text;
};

namespace Sprite {

inline constexpr SpriteName kTopBar{"top_bar"};
inline constexpr SpriteName kBotBar{"bot_bar"};
// The bottom bar's lit parts: the chosen animal's key, and the trick's words while it waits.
inline constexpr SpriteName kLitPig{"lit_pig"};
inline constexpr SpriteName kLitCow{"lit_cow"};
inline constexpr SpriteName kLitSheep{"lit_sheep"};
inline constexpr SpriteName kLitTrick{"lit_trick"};
// The aiming markers: where the drag began, and the pointer.
inline constexpr SpriteName kAimOrigin{"target1"};
inline constexpr SpriteName kAimPointer{"target2"};
// One per cake still standing.
inline constexpr SpriteName kCake{"cake"};
inline constexpr SpriteName kStartButton{"start_button"};
inline constexpr SpriteName kEnd{"end"};

}  // namespace Sprite
