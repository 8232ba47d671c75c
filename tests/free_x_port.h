// The test displays' listening socket: the first free X port from 6100 on (display 100 on).
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>

// Listens on 127.0.0.1 at the first free port 6000 + display, display from 100 to 899; returns
// the socket and sets display, or returns -1.
inline int ListenOnFreeXPort(int& display)
{
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    if (server < 0) {
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (display = 100; display < 900; ++display) {
        address.sin_port = htons(static_cast<uint16_t>(6000 + display));
        if (bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
            return listen(server, 16) == 0 ? server : -1;
        }
    }
    return -1;
}
