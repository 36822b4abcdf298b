#include "CoreFixture.h"
#include "TempDir.h"

#include "vessot/File.h"

#include <fstream>

using VarsTest = CoreFixture;

namespace {

std::vector<std::string> calls;

void first(Variable* v, const String& newValue, const String& oldValue) {
    calls.push_back("first " + newValue + " " + oldValue + " " + v->value);
}
void second(Variable* v, const String& newValue, const String& oldValue) {
    calls.push_back("second " + newValue + " " + oldValue + " " + v->value);
}

String counter;
String computedCounter() {
    counter += "x";
    return counter;
}
String computedFixed() {
    return "fixed";
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST_F(VarsTest, ListenersRunInOrderSeeingTheOldValue) {
    calls.clear();
    Variable* v = define("door", "closed");
    v->addListener(first);
    v->addListener(second);
    v->setValue("open");
    EXPECT_EQ(calls, (std::vector<std::string>{"first open closed closed", "second open closed closed"}));
    EXPECT_EQ(v->value, "open");
    // Setting the same value again still calls the listeners.
    v->setValue("open");
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(VarsTest, IntegerHelpers) {
    Variable* v = define("count", "5");
    v->addInt(3);
    EXPECT_EQ(v->value, "8");
    EXPECT_TRUE(v->equalsInt(8));
    v->setValue("abc");
    v->addInt(2);
    EXPECT_EQ(v->value, "2");
    v->setInt(-4);
    EXPECT_EQ(v->value, "-4");
}

TEST_F(VarsTest, ComputedVariablesWinAndShareOneRecord) {
    define("localization", "stored");
    Vars::variables.registerGetter("localization", computedFixed);
    Vars::variables.registerGetter("tick", computedCounter);
    counter.clear();
    EXPECT_EQ(Vars::value("localization"), "fixed");
    Variable* a = Vars::get("localization");
    Variable* b = Vars::get("tick");
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->name, "tick");
    EXPECT_EQ(b->value, "x");
    EXPECT_EQ(Vars::value("tick"), "xx");
}

TEST_F(VarsTest, UnknownNameThrows) {
    try {
        Vars::get("nope");
        FAIL();
    } catch (const _UnknownVariableException& e) {
        EXPECT_EQ(e.message(), "nope does not exist");
        EXPECT_EQ(e.type(), "UnknownVariableException ");
    }
}

TEST_F(VarsTest, LoadFromXmlWithDuplicatesAndSnapshot) {
    TempDir dir;
    writeFile(dir / "vars.xml", "<Vars>\n<Var name='a' value='1'/>\n<Other name='x' value='y'/>\n"
                                "<Var name='b' value='two words'/>\n<Var name='a' value='3'/>\n</Vars>");
    vessot::String previous = vessot::resourceRoot();
    vessot::setResourceRoot(dir.path);
    Vars::loadFromXml("/vars.xml");
    vessot::setResourceRoot(previous);
    EXPECT_EQ(Vars::variables.variables.size(), 2u);
    EXPECT_EQ(Vars::value("a"), "3");
    EXPECT_EQ(Vars::get("b")->name, "b");
    EXPECT_FALSE(Vars::variables.exists("x"));
    Vars::snapshotInitialValues();
    EXPECT_EQ(Vars::variables.diffText(), "");
}

TEST_F(VarsTest, MalformedXmlLeavesTheStoreAlone) {
    TempDir dir;
    writeFile(dir / "bad.xml", "<Vars><Var name='a' value='1'></Vars>");
    define("kept", "1");
    EXPECT_THROW(Vars::loadFromXml(dir / "bad.xml"), vessot::exception);
    EXPECT_EQ(Vars::value("kept"), "1");
}

TEST_F(VarsTest, DiffRoundTrip) {
    TempDir dir;
    vessot::Log::setFilename(dir / "game.log", true);
    define("note", "");
    define("z_last", "0");
    define("unchanged", "same");
    define("typed", "");
    Vars::get("note")->setValue("a: b: c");
    Vars::get("z_last")->setValue("1");
    // A line break in a value would cut it and start a variable "b" of its own.
    Vars::get("typed")->setValue("a\nb: x\n");
    EXPECT_TRUE(Vars::saveDiff(dir / "game.sav"));
    EXPECT_EQ(vessot::File::hread(dir / "game.sav"), "note: a: b: c\ntyped: a b: x \nz_last: 1\n");
    EXPECT_NE(vessot::File::hread(dir / "game.log").find("the value of typed holds a line break"), std::string::npos);
    vessot::Log::reset();

    Vars::get("unchanged")->setValue("changed");
    Vars::loadDiff(dir / "game.sav");
    EXPECT_EQ(Vars::value("note"), "a: b: c");
    EXPECT_EQ(Vars::value("z_last"), "1");
    EXPECT_EQ(Vars::value("typed"), "a b: x ");
    EXPECT_EQ(Vars::variables.variables.size(), 4u);
    // Anything the file does not name returns to its initial value.
    EXPECT_EQ(Vars::value("unchanged"), "same");
}

TEST_F(VarsTest, DiffReaderToleratesCrlfBlankAndBrokenLines) {
    TempDir dir;
    define("a", "");
    define("b", "");
    writeFile(dir / "game.sav", "a: 1\r\n\r\nno separator here\nb: 2\r\nnew_one: x\n");
    Vars::loadDiff(dir / "game.sav");
    EXPECT_EQ(Vars::value("a"), "1");
    EXPECT_EQ(Vars::value("b"), "2");
    EXPECT_EQ(Vars::value("new_one"), "x");
    EXPECT_EQ(Vars::get("new_one")->name, "unnamed");
    EXPECT_FALSE(Vars::variables.exists(""));
    EXPECT_FALSE(Vars::variables.exists("no separator here"));
}

TEST_F(VarsTest, MissingDiffFileChangesNothing) {
    TempDir dir;
    define("a", "1");
    Vars::get("a")->setValue("2");
    EXPECT_THROW(Vars::loadDiff(dir / "none.sav"), vessot::_file_not_found);
    EXPECT_EQ(Vars::value("a"), "2");
}

TEST_F(VarsTest, FailedDiffWriteIsLoggedAndKeepsTheOldFile) {
    TempDir dir;
    writeFile(dir / "plain", "x");
    vessot::Log::setFilename(dir / "game.log", true);
    define("a", "");
    Vars::get("a")->setValue("1");
    EXPECT_FALSE(Vars::saveDiff(dir / "plain/game.sav"));
    vessot::Log::reset();
    EXPECT_EQ(vessot::File::hread(dir / "plain"), "x");
    EXPECT_NE(vessot::File::hread(dir / "game.log").find("ERROR: Cannot write " + dir / "plain/game.sav: "),
              std::string::npos);
}

TEST_F(VarsTest, XmlLoadLogsDuplicatesAndCountsEveryVar) {
    TempDir dir;
    writeFile(dir / "vars.xml", "<Vars><Var name='a' value='1'/><Var name='a' value='3'/></Vars>");
    vessot::Log::setFilename(dir / "game.log", true);
    vessot::String previous = vessot::resourceRoot();
    vessot::setResourceRoot(dir.path);
    Vars::loadFromXml("vars.xml");
    vessot::setResourceRoot(previous);
    vessot::Log::reset();
    EXPECT_EQ(vessot::File::hread(dir / "game.log"),
              "[zeph] loading variables from vars.xml\n[zeph] ----------\n[zeph] $a: '1' (was '')\n"
              "[zeph] WARNING: Duplicate variable a in vars.xml\n\n[zeph] $a: '3' (was '1')\n"
              "[zeph] ----------\n[zeph] loaded 2 variables\n");
}

TEST_F(VarsTest, DiffHoldsOnlyChangedStoredVariables) {
    TempDir dir;
    define("a", "1");
    define("b", "2");
    Vars::variables.registerGetter("computed", computedFixed);
    Vars::saveDiff(dir / "game.sav");
    EXPECT_EQ(vessot::File::hread(dir / "game.sav"), "");
    Vars::get("b")->setValue("3");
    // A variable set back to its initial value counts as unchanged.
    Vars::get("a")->setValue("0");
    Vars::get("a")->setValue("1");
    Vars::saveDiff(dir / "game.sav");
    EXPECT_EQ(vessot::File::hread(dir / "game.sav"), "b: 3\n");
}

TEST_F(VarsTest, LoadingADiffRunsTheListeners) {
    TempDir dir;
    calls.clear();
    define("door", "closed")->addListener(first);
    writeFile(dir / "game.sav", "door: open\n");
    Vars::loadDiff(dir / "game.sav");
    EXPECT_EQ(calls, (std::vector<std::string>{"first open closed closed"}));
}
