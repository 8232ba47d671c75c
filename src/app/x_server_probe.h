// Asks the X server a DISPLAY names whether it takes the game.
#pragma once

#include <optional>
#include <string>

namespace ProcessGuard {

// A DISPLAY value taken apart: [protocol/]host:number[.screen].
struct XAddress {
    std::string host;
    std::string number;
    bool local = false;
};
std::optional<XAddress> ParseXDisplay(const std::string& display);
// The X server's local socket for the display.
std::string LocalSocket(const XAddress& address);

// [host]:number[.screen]: whether anything listens there and, if so, why it turns the game
// away (and why it says it does: a missing or wrong cookie). Looks within a few seconds; empty
// when the server takes the game or does not say.
std::string WhyNoXDisplay(const std::string& display);

}  // namespace ProcessGuard
