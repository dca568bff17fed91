// A process's turns at the machine when it runs beside the other processes
// of a group (--turns=GRANTS,REQUESTS: two file descriptors the runner
// passes). Before each run of a benchmark the process asks for a turn and
// waits for it; the runner grants one only while every other process of
// the group waits for one, so that one process runs at a time, run by run:
// a map and its peer are timed seconds apart, where a slow spell of the
// machine moves both alike, and no process times while another works.
// Without the flag a process never waits.
#pragma once

class Turns {
public:
    // Takes turns from the runner through these descriptors.
    static void join(int grants, int requests);
    static bool joined();
    // Goes on alone, never waiting again.
    static void leave();

    // Waits for a turn; at once when the process runs alone.
    static void take();
};
