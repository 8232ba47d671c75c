// A display that never answers: listens on the first free X port from 6100 on, prints the
// display number once it listens, accepts every connection and says nothing, until killed.
#include "free_x_port.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

int main()
{
    int display = 0;
    const int server = ListenOnFreeXPort(display);
    if (server < 0) {
        return 1;
    }
    std::printf("%d\n", display);
    std::fflush(stdout);
    std::vector<int> held;  // every connection stays open and silent
    for (;;) {
        const int client = accept(server, nullptr, nullptr);
        if (client >= 0) {
            held.push_back(client);
        }
    }
}
