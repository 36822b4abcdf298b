#include "GuiTest.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <map>

using namespace nimboui;

TEST(TextKey, FormatsTakeKeysAndLiterals) {
    std::map<String, String> texts = {
        {"ui.ACHIEVEMENTS_UNLOCKED", "Unlocked"},
        {"key1", "Title"},
        {"key2", "Description"},
        {"autosave_slot", "Autosave"},
        {"menu.PM_DELETE_QUESTION", "Delete profile %s?"},
        {"PLAIN", "100% {sure} %s"},
        {"NESTED", "[%f]"},
        {"INNER", "<%s|%s>"},
    };
    auto textOf = [&](const String& key) -> String {
        auto it = texts.find(key);
        return it == texts.end() ? "#" + key + "#" : it->second;
    };
    struct Case {
        const char* key;
        const char* shown;
    };
    const Case cases[] = {
        {"PLAIN", "100% {sure} %s"},
        {"{%s %s} ui.ACHIEVEMENTS_UNLOCKED {3 / 32}", "Unlocked 3 / 32"},
        {"{[c:AFAFAF]%s[/c]\\n%s} key1 key2", "[c:AFAFAF]Title[/c]\\nDescription"},
        {"{[f:hheaven:0.95]%s[/f]} autosave_slot", "[f:hheaven:0.95]Autosave[/f]"},
        {"{%f} menu.PM_DELETE_QUESTION {Anna}", "Delete profile Anna?"},
        // A typed name is never a format, and the last literal runs to the final brace.
        {"{%f} menu.PM_DELETE_QUESTION {%s}", "Delete profile %s?"},
        {"{%f} menu.PM_DELETE_QUESTION {An}na}", "Delete profile An}na?"},
        {"{%f} menu.PM_DELETE_QUESTION {a} b {c}}", "Delete profile a} b {c}?"},
        {"{%s: %s} {x y} key1", "x y: Title"},
        {"{100%% %s} key1", "100% Title"},
        {"{%s and %s} key1", "Title and "},
        {"{%s%f%s} key1 NESTED INNER {1} {2} key2", "Title[<1|2>]Description"},
        {"{%s} missing", "#missing#"},
        {"{unclosed key1", "#{unclosed key1#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(expandTextKey(c.key, textOf), c.shown);
    }
}

TEST_F(GuiTest, TextKeysResolveThroughTheDatasetOrTheRegistry) {
    write("ui/texts.xml", "<Texts><Text key='OK'>Okay</Text></Texts>");
    Dataset* ui = dataset("ui", "<Dataset><Texts file='texts.xml'/></Dataset>");
    ui->load();
    Dataset* menu = dataset("menu", "<Dataset/>");
    menu->load();
    EXPECT_EQ(expandTextKey("{[%s]} ui.OK", menu), "[Okay]");
    EXPECT_EQ(expandTextKey("ui.OK", nullptr), "Okay");
    EXPECT_EQ(expandTextKey("free text", nullptr), "free text");
    Label label("title", morvec::Rectangle(0, 0, 100, 20));
    label.setDataset(menu);
    label.setTextKey("{%s!} ui.OK");
    EXPECT_EQ(label.getDisplayedText(), "Okay!");
    // Faded out, its key is not looked up: the menu may be gone while the box keeps its question.
    vessot::Log::setFilename(dir / "game.log", true);
    label.setTextKey("menu.GONE");
    label.setAlpha(0.0f);
    label.OnDraw(morvec::Vector2(0, 0));
    EXPECT_EQ(vessot::File::hread(dir / "game.log"), "");
    vessot::Log::reset();
    label.setText("typed");
    EXPECT_EQ(label.getTextKey(), "");
    EXPECT_EQ(label.getDisplayedText(), "typed");
}
