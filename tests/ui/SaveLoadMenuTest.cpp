// The save and load menu on the running game: its pages, the entries' labels and pictures read from
// "info.txt" files (damaged ones included), and saving, loading and deleting through its buttons.
#include "SaveFixture.h"

#include "nimboui/Image.h"
#include "nimboui/ImageBox.h"
#include "nimboui/nimboui.h"

#include <functional>
#include <sys/stat.h>
#include <vector>

namespace {

UserInterface::SaveLoadMenu* menu() {
    return dynamic_cast<UserInterface::SaveLoadMenu*>(Session::activeScene);
}

String imageOf(int position) {
    return dynamic_cast<nimboui::ImageBox*>(uiChapter->getObject("sl_slot" + String(position)))->getImageName();
}

String keyOf(int position) {
    return dynamic_cast<nimboui::Label*>(uiChapter->getObject("sl_slot" + String(position) + "_info"))->getTextKey();
}

bool clickable(const String& name) {
    return uiChapter->getObject(name)->hasEvent("Click");
}

String labelKey(const String& format, const std::string& fields) {
    return format + fields;
}

const char WIDE[] = "{[f:hheaven:0.95][c:640000]%s[/c][/f]\n%s} ";

} // namespace

class SaveLoadMenuTest : public SaveFixture {
protected:
    void open(const char* mode) {
        set("sl_mode", mode);
        set("sl_prev_scene", "ui.InGameMenu");
        set("ingame_menu_prev_scene", "ship.Cockpit");
        switchNow("ui.SaveLoadMenu");
    }
};

TEST_F(SaveLoadMenuTest, PagesHoldSixEntriesAndAnEmptyLastPageOnlyAfterAFullOne) {
    struct Case {
        const char* name;
        std::vector<int> slots;
        int count;
        int savedAt = 0, savedSlot = 0; // a save clicked on the second page, and its slot
        std::function<void()> spoil = [] {};
    };
    const Case cases[] = {
        {"None", {}, 1},
        {"TwoToSix", {2, 3, 4, 5, 6}, 2}, // the first page is full: an empty second takes the next save
        {"OnlySix", {6}, 1},              // the first page has room
        {"Thirteen", {13}, 3},
        {"SevenToTwelve", {7, 8, 9, 10, 11, 12}, 3},
        {"SevenToEleven", {7, 8, 9, 10, 11}, 2},
        {"SavedOnTheSecondPage", {2, 3, 4, 5, 6}, 2, 3, 9},
        // Left by saves cut short: slot 3 moved aside comes back without its unplaced new save; a
        // file, a pipe or a link where a slot is moved aside goes, and no link becomes a slot; the
        // autosave's new and old go.
        {"LeftAside",
         {2, 3, 4},
         1,
         0,
         0,
         [] {
             fs::rename(slot("slot3"), slot("slot3.old"));
             writeSlot("slot3.new", "ship.Cockpit", 9);
             writeFile(slot("slot4.old"), "a file");
             ::mkfifo(slot("slot2.old").c_str(), 0600);
             fs::create_directory_symlink(slot("slot4"), slot("slot5.old"));
             writeSlot("autosave/new", "ship.Cockpit", 9);
             writeSlot("autosave/old", "ship.Cockpit", 9);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(profile());
        fs::create_directories(profile());
        // Not the game's: folders of other names, whatever they end in, in profile 1's folder (the
        // user folder).
        writeSlot("foo.old", "ship.Galley", 1);
        writeSlot("autosave/foo.new", "ship.Galley", 1);
        for (int n : c.slots) {
            writeSlot("slot" + std::to_string(n), "ship.Galley", n);
        }
        c.spoil();
        switchNow("ship.Cockpit");
        open("save");
        EXPECT_EQ(menu()->pageCount, c.count);
        EXPECT_EQ(menu()->pageIndex, 0);
        EXPECT_FALSE(object("sl_page_prev")->isVisible());
        EXPECT_EQ(object("sl_page_next")->isVisible(), c.count > 1);
        EXPECT_EQ(object("sl_page_label")->isVisible(), c.count > 1);
        EXPECT_EQ(label("sl_page_label")->getText(), "1 / " + String(c.count));
        // The first entry opens the autosaves; in "save" it is not clickable.
        EXPECT_EQ(keyOf(1), "{[f:hheaven:0.95]%s[/f]} autosave_slot");
        EXPECT_EQ(imageOf(1), "gui/autosave_slot");
        EXPECT_FALSE(clickable("sl_slot_btn_1"));
        for (int d = 2; d <= 6; ++d) {
            bool used = std::count(c.slots.begin(), c.slots.end(), d) > 0;
            EXPECT_EQ(imageOf(d), used ? "sl/data/shots/ship.Galley.png" : "gui/slot_back") << d;
            EXPECT_TRUE(clickable("sl_slot_btn_" + String(d)));
        }
        for (const auto& entry : fs::directory_iterator(profile())) { // nothing stands beside the slots
            EXPECT_FALSE(entry.path().filename().string().rfind("slot", 0) == 0 && entry.path().has_extension())
                << entry.path();
        }
        EXPECT_FALSE(fs::exists(slot("autosave/new")) || fs::exists(slot("autosave/old")));
        EXPECT_TRUE(fs::exists(slot("foo.old") / "info.txt") && fs::exists(slot("autosave/foo.new") / "info.txt"));
        if (c.savedAt) {
            clickObject("sl_page_next");
            clickObject("sl_slot_btn_" + String(c.savedAt));
            EXPECT_TRUE(fs::exists(slot("slot" + std::to_string(c.savedSlot)) / "info.txt"));
            for (int n : c.slots) { // page one's slots as they were
                EXPECT_EQ(readFile(slot("slot" + std::to_string(n)) / "game.sav"), "active_scene: ship.Galley\n");
            }
        }
    }
}

TEST_F(SaveLoadMenuTest, ThePageIsKeptAcrossReEntriesAndStartsAtOneFromAnotherScene) {
    writeSlot("slot13", "ship.Galley", 13);
    writeSlot("slot7", "ship.Galley", 7);
    open("load");
    clickObject("sl_page_next");
    clickObject("sl_page_next");
    EXPECT_EQ(menu()->pageIndex, 2);
    EXPECT_EQ(label("sl_page_label")->getText(), "3 / 3");
    EXPECT_FALSE(object("sl_page_next")->isVisible());
    EXPECT_EQ(keyOf(1), labelKey(WIDE, "CHAPTER_ship {03/09/2021 17:05 (00:13)}"));
    clickObject("sl_page_prev");
    EXPECT_EQ(menu()->pageIndex, 1);
    EXPECT_EQ(SaveLoadMenu::pageSlotOffset, 6);

    // Deleting slot 7 on page 2 leaves one page (slots up to 6 are free): back to the first.
    fs::remove_all(slot("slot13"));
    clickObject("sl_slot_btn_1");
    writeSlot("slot7.old", "ship.Galley", 5); // moved aside by a save cut short since the page showed
    clickObject("sl_slot_choice_delete_1");
    EXPECT_EQ(label("sl_slot_choice_label_1")->getTextKey(), "sl_choice_delete");
    EXPECT_FALSE(object("sl_slot_choice_delete_1")->isVisible());
    EXPECT_FALSE(clickable("sl_slot_choice_bg_1"));
    clickObject("sl_slot_choice_yes_1");
    EXPECT_FALSE(fs::exists(slot("slot7")) || fs::exists(slot("slot7.old")));
    EXPECT_EQ(menu()->pageCount, 1);
    EXPECT_EQ(menu()->pageIndex, 0);

    writeSlot("slot13", "ship.Galley", 13);
    open("load");
    clickObject("sl_page_next");
    clickObject("sl_page_next");
    switchNow("ship.Cockpit");
    open("load");
    EXPECT_EQ(menu()->pageIndex, 0);
}

TEST_F(SaveLoadMenuTest, OnlyEntriesNamedSlotAndOneToSixDigitsCount) {
    Session::setParam("profile", "myslot30"); // a path that holds "slot" counts for nothing
    for (const char* name : {"slot", "slotA", "slot1234567", "myslot20", "slot12x", "slot7.bak"}) {
        writeSlot(name, "ship.Galley", 1);
    }
    writeFile(profile() / "game.log", "");
    open("load");
    EXPECT_EQ(menu()->pageCount, 1);
    writeSlot("slot000013", "ship.Galley", 1);
    open("load");
    EXPECT_EQ(menu()->pageCount, 3);
}

TEST_F(SaveLoadMenuTest, EntryLabelsAndPicturesComeFromInfoTxtWhateverItHolds) {
    struct Case {
        const char* info;
        String key;   // "" for a blank entry
        String image; // the entry's picture
    };
    const Case cases[] = {
        {"zeph_save_fmt_1.0\nship.Cockpit\n03/09/2021 17:05\n59\n", "CHAPTER_ship {03/09/2021 17:05 (00:59)}",
         "sl/data/shots/ship.Cockpit.png"},
        {"zeph_save_fmt_1.0\nship.Cockpit\n03/09/2021 17:05\n600\n", "CHAPTER_ship {03/09/2021 17:05 (10:00)}",
         "sl/data/shots/ship.Cockpit.png"},
        {"zeph_save_fmt_1.0\njama_spacea.Landing\n03/09/2021 17:05\n6000\n",
         "CHAPTER_jama_spacea {03/09/2021 17:05 (100:00)}", "sl/data/shots/jama_spacea.Landing.png"},
        // Lines ending in "\r\n".
        {"zeph_save_fmt_1.0\r\nship.Galley\r\n03/09/2021 17:05\r\n7\r\n", "CHAPTER_ship {03/09/2021 17:05 (00:07)}",
         "sl/data/shots/ship.Galley.png"},
        // No chapter name, text tags in the date, a path for a scene, a scene without a picture.
        {"zeph_save_fmt_1.0\nsh ip.Galley\n[f:nofont:1]today[/f]\n7\n", "CHAPTER_ {f:nofont:1today/f (00:07)}",
         "gui/slot_back"},
        {"zeph_save_fmt_1.0\n../../etc.passwd\n}{%s\n-5\n", "CHAPTER_ {}{%s (00:00)}", "gui/slot_back"},
        {"zeph_save_fmt_1.0\nship.Nowhere\nx\n-99999999999\n", "CHAPTER_ship {x (00:00)}", "gui/slot_back"},
        {"zeph_save_fmt_1.0\nship.Nowhere\nx\n2000000000\n", "CHAPTER_ship {x (33333333:20)}", "gui/slot_back"},
        {"zeph_save_fmt_1.0\nship.Nowhere\n\n", "CHAPTER_ship { (00:00)}", "gui/slot_back"},
        // Another format: blank, inert, logged.
        {"zeph_save_fmt_0.9\nship.Galley\n03/09/2021 17:05\n7\n", "", "null"},
    };
    int position = 2;
    for (const Case& c : cases) {
        writeFile(slot("slot" + std::to_string(position)) / "info.txt", c.info);
        ++position;
    }
    open("load");
    for (int page = 0; page < 2; ++page) {
        for (int d = page == 0 ? 2 : 1; d <= 6; ++d) {
            int n = page * 6 + d;
            if (n - 2 >= (int)std::size(cases)) {
                break;
            }
            const Case& c = cases[n - 2];
            SCOPED_TRACE(c.info);
            EXPECT_EQ(keyOf(d), c.key.empty() ? c.key : labelKey(WIDE, c.key));
            EXPECT_EQ(label("sl_slot" + String(d) + "_info")->getText(), "");
            EXPECT_EQ(imageOf(d), c.image);
            EXPECT_EQ(clickable("sl_slot_btn_" + String(d)), !c.key.empty());
        }
        game->step(); // every label draws
        clickObject("sl_page_next");
    }
    nimboui::setLocalization("de"); // the date shows as written in every language
    clickObject("sl_page_prev");
    EXPECT_EQ(keyOf(2), labelKey(WIDE, "CHAPTER_ship {03/09/2021 17:05 (00:59)}"));
    EXPECT_EQ(keyOf(6), labelKey(WIDE, "CHAPTER_ {f:nofont:1today/f (00:07)}"));
    nimboui::setLocalization("");
    EXPECT_NE(game->log().find("Savegame slot 11 is invalid. Magic string doesn't match, expecting "
                               "'zeph_save_fmt_1.0', got 'zeph_save_fmt_0.9'"),
              std::string::npos);
}

TEST_F(SaveLoadMenuTest, SavingLoadingAndTheAutosaveListThroughTheButtons) {
    // An empty slot is saved into at once, back in the game.
    open("save");
    clickObject("sl_slot_btn_2");
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    ASSERT_TRUE(fs::exists(slot("slot2") / "info.txt"));

    // An occupied one asks first; "no" closes the panel, "yes" saves over it.
    set("console_on", "1");
    open("save");
    clickObject("sl_slot_btn_2");
    EXPECT_TRUE(object("sl_slot_choice_2")->isVisible());
    EXPECT_TRUE(object("sl_slot2")->isVisible()); // the question's panel lies over the picture
    EXPECT_EQ(label("sl_slot_choice_label_2")->getTextKey(), "sl_choice_overwrite");
    EXPECT_FALSE(clickable("sl_slot_choice_bg_2"));
    clickObject("sl_slot_choice_no_2");
    EXPECT_FALSE(object("sl_slot_choice_2")->isVisible());
    EXPECT_TRUE(object("sl_slot2")->isVisible());
    clickObject("sl_slot_btn_2");
    clickObject("sl_slot_choice_yes_2");
    EXPECT_NE(readFile(slot("slot2") / "game.sav").find("console_on: 1\n"), std::string::npos);

    // In "load" a click on the panel's background loads.
    set("console_on", "0");
    open("load");
    clickObject("sl_slot_btn_2");
    EXPECT_EQ(label("sl_slot_choice_label_2")->getTextKey(), "sl_choice_load");
    clickObject("sl_slot_choice_bg_2");
    game->passLoadingFade();
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_EQ(var("console_on"), "1");

    // The autosave list, and back to "load".
    writeSlot("autosave/slot3", "ship.Galley", 3);
    open("load");
    clickObject("sl_slot_btn_1");
    EXPECT_EQ(var("sl_mode"), "autosave");
    EXPECT_EQ(keyOf(3), labelKey(WIDE, "CHAPTER_ship {03/09/2021 17:05 (00:03)}"));
    EXPECT_EQ(imageOf(1), "gui/slot_back");
    EXPECT_FALSE(object("sl_page_next")->isVisible());
    clickObject("sl_close");
    EXPECT_EQ(var("active_scene"), "ui.SaveLoadMenu");
    EXPECT_EQ(var("sl_mode"), "load");
    clickObject("sl_close");
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ui.InGameMenu");
}
