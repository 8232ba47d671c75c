// A display that never answers: listens on the first free X port from 6100 on, prints the
// display number once it listens, accepts every connection and says nothing, until killed.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

int main()
{
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    if (server < 0) {
        return 1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int display = 100;
    for (; display < 900; ++display) {
        address.sin_port = htons(static_cast<uint16_t>(6000 + display));
        if (bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
            break;
        }
    }
    if (display == 900 || listen(server, 16) != 0) {
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
