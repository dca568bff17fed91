#include "turns.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "command_line.h"

namespace {

struct Group {
    int grants = -1;    // the runner writes a byte here for each turn
    int requests = -1;  // a byte here asks for one
};

Group& group() {
    static Group state;
    return state;
}

// The runner gone or the descriptors broken mid-run: nothing more can be
// timed safely beside the group, so the process stops with a message.
[[noreturn]] void lost(const char* what) {
    std::fprintf(stderr, "--turns: %s: %s\n", what, std::strerror(errno));
    std::exit(3);
}

void ask(int requests) {
    const char request = 'w';
    while (write(requests, &request, 1) != 1) {
        if (errno != EINTR) {
            lost("cannot ask the runner for a turn");
        }
    }
}

void await(int grants) {
    char grant = 0;
    for (;;) {
        const ssize_t got = read(grants, &grant, 1);
        if (got == 1) {
            return;
        }
        if (got == 0) {
            errno = EPIPE;
            lost("the runner stopped granting turns");
        }
        if (errno != EINTR) {
            lost("cannot wait for a turn");
        }
    }
}

}  // namespace

void Turns::join(int grants, int requests) {
    for (const int descriptor : {grants, requests}) {
        if (fcntl(descriptor, F_GETFD) == -1) {
            throw FlagError("--turns: file descriptor " + std::to_string(descriptor) +
                            " is not open");
        }
    }
    // A runner that has gone fails the next request with an error, not a
    // signal that would end the process without a word.
    std::signal(SIGPIPE, SIG_IGN);
    group().grants = grants;
    group().requests = requests;
}

bool Turns::joined() {
    return group().grants >= 0;
}

void Turns::leave() {
    group() = Group{};
}

void Turns::take() {
    if (joined()) {
        ask(group().requests);
        await(group().grants);
    }
}
