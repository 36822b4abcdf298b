#include "vessot/Log.h"
#include "TempDir.h"
#include "vessot/File.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace vessot;

namespace {

class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        Log::reset();
        Log::setEcho(false);
    }
    void TearDown() override {
        Log::reset();
        Log::setEcho(true);
    }
    TempDir dir;
};

} // namespace

TEST_F(LogFile, EntriesBeforeTheFileAreKept) {
    Log::write("zeph", "early");
    Log::setFilename(dir / "game.log", true);
    Log::write("", "plain");
    Log::warn("vorne", "careful");
    Log::errorf("nimbovideo", "Unknown VideoObject blend mode: %s", "glow");
    EXPECT_EQ(
        File::hread(dir / "game.log"),
        "[zeph] early\nplain\n[vorne] WARNING: careful\n[nimbovideo] ERROR: Unknown VideoObject blend mode: glow\n");
}

TEST_F(LogFile, AFileThatCannotBeOpenedKeepsNothingInMemory) {
    Log::write("zeph", "before");
    Log::setFilename(dir / "missing/game.log", true);
    Log::write("zeph", "while unavailable");
    Log::setFilename(dir / "game.log", true);
    Log::write("zeph", "after");
    EXPECT_EQ(File::hread(dir / "game.log"), "[zeph] after\n");
}

TEST_F(LogFile, ResetAndDiscardDropWhatCameBeforeThem) {
    const struct {
        const char* name;
        void (*end)();
        const char* next; // what the next file gets
    } cases[] = {
        {"reset", Log::reset, "[zeph] between\n[zeph] after\n"},
        {"discard", Log::discard, "[zeph] after\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Log::write("zeph", "waiting for a file");
        c.end();
        Log::setFilename(dir / "first.log", true);
        Log::write("zeph", "in the first");
        c.end();
        EXPECT_EQ(Log::getFilename(), "");
        Log::write("zeph", "between");
        Log::setFilename(dir / "next.log", true);
        Log::write("zeph", "after");
        EXPECT_EQ(File::hread(dir / "first.log"), "[zeph] in the first\n");
        EXPECT_EQ(File::hread(dir / "next.log"), c.next);
        Log::reset();
    }
}

TEST_F(LogFile, EachEntryIsOnDiskAtOnce) {
    Log::setFilename(dir / "game.log", true);
    Log::write("game", "Destroying game");
    // Read while the log is still open: nothing is held back in a buffer.
    EXPECT_EQ(File::hread(dir / "game.log"), "[game] Destroying game\n");
}

TEST_F(LogFile, ThreadsNeverInterleaveWithinAnEntry) {
    Log::setFilename(dir / "game.log", true);
    const int threads = 8;
    const int perThread = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t] {
            for (int i = 0; i < perThread; ++i) {
                Log::write("t" + String(t), String(std::string(40, (char)('a' + t))));
            }
        });
    }
    for (auto& w : workers) {
        w.join();
    }
    Array<String> lines = File::hread(dir / "game.log").split("\n", -1, true);
    ASSERT_EQ(lines.size(), threads * perThread);
    for (const String& line : lines) {
        ASSERT_EQ(line.size(), 45u) << line;
        char c = line[5];
        EXPECT_EQ(line, "[t" + String(c - 'a') + "] " + String(std::string(40, c)));
    }
}
