#include "vessot/File.h"
#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace vessot;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void spit(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

} // namespace

TEST(File, MissingFileForReadingThrowsFileNotFound) {
    TempDir dir;
    EXPECT_THROW(File(dir / "missing.txt", File::READ), _file_not_found);
    EXPECT_THROW(Resource(dir / "missing.txt"), _file_not_found);
    EXPECT_FALSE(File::exists(dir / "missing.txt"));
}

TEST(File, CreateMakesEveryMissingFolder) {
    TempDir dir;
    String path = dir / "a/b/c/info.txt";
    EXPECT_TRUE(File::create(path));
    EXPECT_TRUE(File::exists(path));
    EXPECT_TRUE(Dir::exists(dir / "a/b/c"));
    // A folder on the path that is a regular file makes creation fail without throwing.
    spit(dir / "plain", "x");
    EXPECT_FALSE(File::create(dir / "plain/inner.txt"));
}

TEST(File, RenameNeverOverwrites) {
    TempDir dir;
    spit(dir / "a.txt", "A");
    spit(dir / "b.txt", "B");
    EXPECT_FALSE(File::rename(dir / "a.txt", dir / "b.txt"));
    EXPECT_EQ(slurp(dir / "b.txt"), "B");
    EXPECT_TRUE(File::exists(dir / "a.txt"));
    EXPECT_TRUE(File::rename(dir / "a.txt", dir / "c.txt"));
    EXPECT_EQ(slurp(dir / "c.txt"), "A");
    EXPECT_FALSE(File::exists(dir / "a.txt"));
}

TEST(File, CopyHonoursOverwrite) {
    TempDir dir;
    spit(dir / "src", "new");
    spit(dir / "dst", "old");
    EXPECT_FALSE(File::copy(dir / "src", dir / "dst", false));
    EXPECT_EQ(slurp(dir / "dst"), "old");
    EXPECT_TRUE(File::copy(dir / "src", dir / "dst", true));
    EXPECT_EQ(slurp(dir / "dst"), "new");
}

TEST(Stream, LinesAndEof) {
    TempDir dir;
    spit(dir / "lines.txt", "one\ntwo\r\nthree\n");
    File f(dir / "lines.txt");
    Array<String> lines;
    while (!f.eof()) {
        lines.add(f.read_line());
    }
    // A file ending in "\n" gives no extra empty line.
    EXPECT_EQ(lines, (Array<String>{"one", "two\r", "three"}));
}

TEST(Stream, ReadWithDelimiterAndWhole) {
    TempDir dir;
    spit(dir / "d.txt", "key: value: rest");
    File f(dir / "d.txt");
    EXPECT_EQ(f.read(": "), "key");
    EXPECT_EQ(f.read(), "value: rest");
    EXPECT_TRUE(f.eof());
}

TEST(Stream, BinaryNumbersAreLittleEndian) {
    TempDir dir;
    {
        File out(dir / "bin", File::WRITE);
        out.dump_int(0x01020304);
        out.dump_short(-2);
        out.close();
    }
    EXPECT_EQ(slurp(dir / "bin"), std::string("\x04\x03\x02\x01\xFE\xFF", 6));
    File in(dir / "bin");
    EXPECT_EQ(in.size(), 6);
    EXPECT_EQ(in.load_int(), 0x01020304);
    EXPECT_EQ(in.position(), 4);
    EXPECT_EQ(in.load_short(), -2);
    EXPECT_THROW(in.load_int(), vessot::exception);
    in.seek(1);
    EXPECT_EQ(in.load_uchar(), 0x03);
}

TEST(Stream, WriteLineAndAppend) {
    TempDir dir;
    {
        File out(dir / "w.txt", File::WRITE);
        out.write_line("a");
    }
    {
        File out(dir / "w.txt", File::APPEND);
        out.write("b");
    }
    EXPECT_EQ(slurp(dir / "w.txt"), "a\nb");
}

TEST(AtomicWrite, ReplacesTheFileWhole) {
    TempDir dir;
    spit(dir / "save.sav", "old");
    writeFileAtomically(dir / "save.sav", String("new contents"));
    EXPECT_EQ(slurp(dir / "save.sav"), "new contents");
    EXPECT_EQ(Dir::contents(dir.path), (Array<String>{"save.sav"}));
}

// Another user can read what set-up writes; a replaced file keeps its mode.
TEST(AtomicWrite, ANewFileGetsTheOrdinaryModeAndAReplacedOneKeepsItsOwn) {
    TempDir dir;
    mode_t mask = ::umask(0);
    ::umask(mask);
    spit(dir / "kept.font", "old");
    std::filesystem::permissions(dir / "kept.font", std::filesystem::perms(0640));
    for (const auto& [name, mode] : {std::pair{"new.font", 0666 & ~mask}, {"kept.font", 0640u}}) {
        writeFileAtomically(dir / name, String("glyphs"));
        EXPECT_EQ(std::filesystem::status(dir / name).permissions(), std::filesystem::perms(mode)) << name;
    }
}

TEST(AtomicWrite, AWriterThatThrowsLeavesTheOldFile) {
    TempDir dir;
    spit(dir / "zeph.cfg", "audio_mute: 0\n");
    EXPECT_THROW(writeFileAtomically(dir / "zeph.cfg",
                                     [](StreamBase& out) {
                                         out.write_line("audio_mute: 1");
                                         throw vessot::exception("disk full");
                                     }),
                 vessot::exception);
    EXPECT_EQ(slurp(dir / "zeph.cfg"), "audio_mute: 0\n");
    EXPECT_EQ(Dir::contents(dir.path), (Array<String>{"zeph.cfg"}));
}

TEST(AtomicWrite, AFolderThatIsAFileFailsNamingTheTarget) {
    TempDir dir;
    spit(dir / "notafolder", "x");
    String target = dir / "notafolder/game.sav";
    try {
        writeFileAtomically(target, String("data"));
        FAIL() << "expected an exception";
    } catch (const vessot::exception& e) {
        EXPECT_NE(e.message().find(target), std::string::npos) << e.message();
    }
    EXPECT_EQ(slurp(dir / "notafolder"), "x");
}

TEST(Dir, ListingsAreSortedWithoutDots) {
    TempDir dir;
    spit(dir / "b.scene", "");
    spit(dir / "a.scene", "");
    spit(dir / "C.scene", "");
    Dir::create(dir / "_profile1");
    Dir::create(dir / "autosave");
    EXPECT_EQ(Dir::contents(dir.path), (Array<String>{"C.scene", "_profile1", "a.scene", "autosave", "b.scene"}));
    EXPECT_EQ(Dir::directories(dir.path), (Array<String>{"_profile1", "autosave"}));
    EXPECT_EQ(Dir::files(dir.path, true)[0], dir.path + "/C.scene");
    EXPECT_EQ(Dir::contents(dir / "missing"), Array<String>());
}

TEST(Dir, RemoveIsRecursiveAndRenameRefusesExisting) {
    TempDir dir;
    File::create(dir / "slot1/sub/game.sav");
    Dir::create(dir / "slot2");
    EXPECT_FALSE(Dir::rename(dir / "slot1", dir / "slot2"));
    EXPECT_TRUE(Dir::remove(dir / "slot1"));
    EXPECT_FALSE(Dir::exists(dir / "slot1"));
    EXPECT_TRUE(Dir::rename(dir / "slot2", dir / "slot3"));
    EXPECT_TRUE(Dir::exists(dir / "slot3"));
}

TEST(Resources, RelativePathsResolveAgainstTheRoot) {
    TempDir dir;
    spit(dir / "vars.xml", "<Vars/>");
    Dir::create(dir / "scenes");
    String previous = resourceRoot();
    setResourceRoot(dir.path);
    EXPECT_TRUE(Resource::exists("vars.xml"));
    EXPECT_TRUE(Resource::exists("scenes"));
    EXPECT_FALSE(Resource::exists("scenes", true));
    EXPECT_EQ(Resource::hread("vars.xml"), "<Vars/>");
    EXPECT_EQ(ResourceDir::contents("."), (Array<String>{"scenes", "vars.xml"}));
    EXPECT_EQ(ResourceDir::files("", true), (Array<String>{"vars.xml"}));
    EXPECT_TRUE(File::exists("./vars.xml"));
    setResourceRoot(previous);
}

TEST(Paths, SplitAndJoin) {
    EXPECT_EQ(DirBase::split_path("audio/music/theme.ogg"), (Array<String>{"audio", "music", "theme.ogg"}));
    EXPECT_EQ(DirBase::split_path("/a//b/"), (Array<String>{"a", "b"}));
    EXPECT_EQ(DirBase::join("a/", "/b"), "a/b");
    EXPECT_EQ(DirBase::dirname("a/b/c.txt"), "a/b");
    EXPECT_EQ(DirBase::basename("a/b/c.txt"), "c.txt");
}

// The path rule for names from data and configuration that become part of a path.
TEST(Paths, NamesThatClimbOutOfTheirFolderAreRefused) {
    struct Case {
        const char* name;
        bool inside;
    } cases[] = {
        {"room.walk", true},
        {"sub/room.walk", true},
        {"./room.walk", true},
        {"", true},
        {"a..b/..c", true},
        {"Vestrel Vorne", true},
        {"_profile1", true},
        {"..", false},
        {"../outside.walk", false},
        {"a/../../b", false},
        {"a/..", false},
        {"/etc/passwd", false},
        {"./../../etc/passwd", false},
        {"..\\..\\victim", false},
        {"\\server\\share", false},
        {"a\\..\\..\\b", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DirBase::staysInside(c.name), c.inside) << c.name;
    }
}

// A write killed after its temporary file was made leaves "NAME.tmp-XXXXXX"; only such files go.
TEST(AtomicWrite, LeftoverTemporaryFilesAreRemovedAndNothingElse) {
    TempDir dir;
    Dir::create(dir / "_profile1/slot1");
    const char* leftovers[] = {"zeph.cfg.tmp-a1B2c3", "_profile1/slot1/game.sav.tmp-ZZZZZZ"};
    const char* kept[] = {"zeph.cfg",     "notes.tmp-12345",  "x.tmp-1234567",           ".tmp-abcdef",
                          "y.tmp-abc_de", "z.tmp-abcdef.bak", "_profile1/slot1/game.sav"};
    for (const char* name : leftovers) {
        spit(dir / name, "partial");
    }
    for (const char* name : kept) {
        spit(dir / name, "keep");
    }
    Dir::create(dir / "folder.tmp-abcdef");
    EXPECT_EQ(removeAtomicWriteLeftovers(dir.path), 2);
    for (const char* name : leftovers) {
        EXPECT_FALSE(File::exists(dir / name)) << name;
    }
    for (const char* name : kept) {
        EXPECT_EQ(slurp(dir / name), "keep") << name;
    }
    EXPECT_TRUE(Dir::exists(dir / "folder.tmp-abcdef"));
}
