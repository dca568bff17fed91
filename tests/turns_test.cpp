// A process's turns beside others: it asks for each, waits for the grant,
// and stops with a message when the runner is gone.
#include "turns.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "command_line.h"

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        EXPECT_EQ(pipe(ends), 0);
        read = ends[0];
        write = ends[1];
    }
};

// What the process has asked for so far, without waiting.
std::string asked(int requests) {
    std::string seen;
    char byte = 0;
    while (read(requests, &byte, 1) == 1) {
        seen += byte;
    }
    return seen;
}

TEST(Turns, AloneATurnIsAtOnce) {
    ASSERT_FALSE(Turns::joined());
    Turns::take();
}

TEST(Turns, EachTurnIsAskedForAndWaitedFor) {
    Pipe grants;
    Pipe requests;
    ASSERT_EQ(fcntl(requests.read, F_SETFL, O_NONBLOCK), 0);
    Turns::join(grants.read, requests.write);
    struct Alone {
        ~Alone() { Turns::leave(); }
    } alone;
    ASSERT_EQ(write(grants.write, "gg", 2), 2);
    Turns::take();
    EXPECT_EQ(asked(requests.read), "w");
    Turns::take();
    EXPECT_EQ(asked(requests.read), "w");
    // Both grants used: a third turn would wait.
    ASSERT_EQ(fcntl(grants.read, F_SETFL, O_NONBLOCK), 0);
    char left = 0;
    EXPECT_EQ(read(grants.read, &left, 1), -1);
}

TEST(TurnsDeathTest, AGoneRunnerStopsTheProcessWithAMessage) {
    EXPECT_EXIT(
        {
            Pipe grants;
            Pipe requests;
            close(grants.write);
            Turns::join(grants.read, requests.write);
            Turns::take();
        },
        testing::ExitedWithCode(3), "--turns: the runner stopped granting turns");
}

TEST(Turns, ClosedDescriptorsAreRefused) {
    Pipe open;
    close(open.write);
    try {
        Turns::join(open.read, open.write);
        FAIL() << "joined through a closed descriptor";
    } catch (const FlagError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "--turns: file descriptor " + std::to_string(open.write) + " is not open");
    }
}

}  // namespace
