#pragma once
// The game saving every kind of player file in rounds, for the kill test. At its start it loads
// what the user folder holds as a player's next start would: the newest autosave through the main
// menu's Resume, then the game slot "slot1"; a load that fails ends it with exit code 3. Round r
// then writes, in this order: the settings ("zeph.cfg", master volume r % 101), profile 1's name
// ("username.txt", "Runner r"), an achievement's progress (growing with r, never complete), the
// game slot "slot1" and an autosave (both with a play time of r minutes). A failed write ends it
// with exit code 4.
//
// The journal gets "loaded SLOT" for each load, "begin r" and "end r" around each round, and
// "fallback r" when the save of round r moves the game slot aside before the new one takes its
// place (the way without the exchange of two folders), written straight to the file so that a kill
// loses none. The rounds go on until the process is killed, or through the last round, when one is
// given; with a snapshot folder the user folder is then copied to SNAPSHOTS/old just before the last
// round and to SNAPSHOTS/new after it. Runs from the same user folder write the same files (the date
// line of "info.txt" aside). With GAMEDRIVER_NO_EXCHANGE set in the environment, the game slot is
// saved as on a file system that cannot swap two folders.

#include <string>

struct SaveRounds {
    std::string journal;
    int first = 1;
    // 0: until the process is killed.
    int last = 0;
    std::string snapshots;

    int run(int argc, char** argv) const;
};
