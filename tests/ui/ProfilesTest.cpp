// Profiles on the running game, on its temporary user folder: creating and deleting against
// folder states (what goes, what stays, "profile" in memory and in the user's "zeph.cfg", the
// achievements file the service moves to), refused "profile" values, the profile manager's list
// and buttons, and the first start's name entry.
#include "FrontEndFixture.h"

#include "engine/session/GameUtil.h"
#include "ui/Cdialog.h"

#include "nimboui/EditBox.h"
#include "nimboui/Label.h"
#include "nimboui/TextButton.h"
#include "tulm/Achievements.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

const int ENTER = 13;

void makeAll(const Entries& entries) {
    for (const auto& [entry, text] : entries) {
        FrontEndTest::make(entry, text);
    }
}

// ---------------------------------------------------------------- create and delete

struct Change {
    const char* what;
    Entries before;
    const char* profile;
    // Typed for a new profile; null deletes the current one.
    const char* typed;
    std::vector<std::string> gone;
    std::vector<std::string> kept;
    const char* profileAfter;
    // The name file written and the name in it, for a new profile.
    std::pair<std::string, std::string> written;
};

void PrintTo(const Change& change, std::ostream* out) {
    *out << change.what;
}

const Entries PROFILE_ONE_AND_THREE = {{"username.txt", "Anna"}, {"_profile3/username.txt", "Cleo"}};

const Change CHANGES[] = {
    {"create with none", {}, "", "  Anna ", {}, {}, "", {"username.txt", "Anna "}},
    {"create beside profile 1 and folder 2",
     {{"username.txt", "Anna"}, {"_profile2/username.txt", "Bob"}},
     "",
     "Cleo",
     {},
     {"username.txt", "_profile2/username.txt"},
     "/_profile3",
     {"_profile3/username.txt", "Cleo"}},
    {"create with profile 1 free beside folder 2",
     {{"_profile2/username.txt", "Bob"}},
     "/_profile2",
     "Anna",
     {},
     {"_profile2/username.txt"},
     "",
     {"username.txt", "Anna"}},
    {"delete 1 beside folder 3, a foreign folder and _profile10",
     {{"username.txt", "Anna"},
      {"_achievements.bin", "states"},
      {"slot1/info.txt", ""},
      {"slot12/", ""},
      {"slot12.old/info.txt", ""},
      {"autosave/slot1/info.txt", ""},
      {"photos/cat.png", "meow"},
      {"slotted/", ""},
      {"notes.txt", "mine"},
      {"_profile3/username.txt", "Cleo"},
      {"_profile10/username.txt", "Zed"}},
     "",
     nullptr,
     {"username.txt", "_achievements.bin", "slot1", "slot12", "slot12.old", "autosave"},
     {"photos/cat.png", "slotted", "notes.txt", "_profile3/username.txt", "_profile10/username.txt"},
     "/_profile3",
     {}},
    {"delete 3 with its saves and achievements",
     {{"username.txt", "Anna"},
      {"_profile2/username.txt", "Bob"},
      {"_profile3/username.txt", "Cleo"},
      {"_profile3/slot1/info.txt", ""},
      {"_profile3_achievements.bin", "states"}},
     "/_profile3",
     nullptr,
     {"_profile3", "_profile3_achievements.bin"},
     {"username.txt", "_profile2/username.txt"},
     "",
     {}},
};

class ProfileChange : public FrontEndTest, public ::testing::WithParamInterface<Change> {};

TEST_P(ProfileChange, ChangesTheFoldersAndTheCurrentProfile) {
    const Change& change = GetParam();
    makeAll(change.before);
    Session::setParam("profile", change.profile);
    enter("ProfileManager");
    if (change.typed) {
        menu<nimboui::EditBox>("pm_player_name")->setText(change.typed);
        EXPECT_TRUE(Menu::createProfile("pm_player_name"));
        EXPECT_EQ(menu<nimboui::EditBox>("pm_player_name")->getText(), "");
        EXPECT_EQ(read(change.written.first), "\xEF\xBB\xBF" + change.written.second);
    } else {
        Menu::onPMDeleteOk(nullptr);
    }
    for (const std::string& entry : change.gone) {
        EXPECT_FALSE(exists(entry)) << entry;
    }
    for (const std::string& entry : change.kept) {
        EXPECT_TRUE(exists(entry)) << entry;
    }
    EXPECT_EQ(Session::getParam("profile"), change.profileAfter);
    EXPECT_NE(read("zeph.cfg").find("profile: " + std::string(change.profileAfter) + "\n"), std::string::npos);
    auto* service = dynamic_cast<tulm::OfflineAchievementsService*>(tulm::getAchievementsService());
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(service->getFilePath(), user() + change.profileAfter + "_achievements.bin");
}

INSTANTIATE_TEST_SUITE_P(FolderStates, ProfileChange, ::testing::ValuesIn(CHANGES));

TEST_F(FrontEndTest, ADeleteOfAProfileValueOfNoFolderOfOursRemovesNothing) {
    for (const char* value : {"/../outside", "_profile3", "/_profile3/..", "/_profile", "/slot1", "/_profile3 "}) {
        SCOPED_TRACE(value);
        makeAll(PROFILE_ONE_AND_THREE);
        make("slot1/info.txt");
        enter("ProfileManager");
        Session::setParam("profile", value);
        Menu::onPMDeleteOk(nullptr);
        for (const char* entry : {"username.txt", "_profile3/username.txt", "slot1/info.txt"}) {
            EXPECT_TRUE(exists(entry)) << entry;
        }
        EXPECT_NE(game->log().find("[vorne] ERROR! onPMDeleteOk: invalid profile '" + std::string(value) + "'\n"),
                  std::string::npos);
        EXPECT_EQ(Session::getParam("profile"), "");
    }
}

TEST_F(FrontEndTest, TheLowestProfileNumberFollowsADeletedProfileOne) {
    makeAll({{"username.txt", "Anna"}, {"_profile10/username.txt", "Zed"}, {"_profile7/username.txt", "Gil"}});
    make("_profiles/");
    make("_profile2x/");
    Session::setParam("profile", "");
    enter("ProfileManager");
    Menu::onPMDeleteOk(nullptr);
    EXPECT_EQ(Session::getParam("profile"), "/_profile7");
}

TEST_F(FrontEndTest, NoFreeProfileFolderLeavesEverythingAsItWas) {
    make("username.txt", "Anna");
    for (int n = 2; n <= 100; ++n) {
        make("_profile" + std::to_string(n) + "/");
    }
    EXPECT_EQ(Menu::findFreeProfileSlot(), "");
    enter("ProfileManager");
    EXPECT_FALSE(Menu::canAddProfile);
    menu<nimboui::EditBox>("pm_player_name")->setText("Bob");
    Menu::createProfile("pm_player_name");
    EXPECT_EQ(Session::getParam("profile"), "");
    EXPECT_FALSE(exists("_profile101"));
}

// ---------------------------------------------------------------- the profile manager's list

struct ListState {
    const char* what;
    Entries before;
    const char* profile;
    // The five slots' labels; "" for an empty slot.
    std::vector<std::string> labels;
    int current;
    float deleteAlpha;
    // Typed names and the add button's alpha they give.
    std::vector<std::pair<const char*, float>> typed;
};

// The entries with the profile folders first to last added.
Entries withFolders(Entries entries, int first, int last) {
    for (int n = first; n <= last; ++n) {
        entries.push_back({"_profile" + std::to_string(n) + "/", ""});
    }
    return entries;
}

void PrintTo(const ListState& state, std::ostream* out) {
    *out << state.what;
}

const ListState LISTS[] = {
    {"one profile",
     {{"username.txt", " Anna  "}},
     "",
     {" Anna  ", "", "", "", ""},
     1,
     0.5f,
     {{"Bob", 1.0f}, {"anna", 0.5f}, {"  ANNA ", 0.5f}, {"   ", 0.5f}, {"", 0.5f}, {"Ann", 1.0f}}},
    {"five profiles, one a name with a tag",
     {{"username.txt", "Anna"},
      {"_profile2/username.txt", "Bob"},
      {"_profile3/username.txt", "Cleo"},
      {"_profile4/username.txt", "Dan"},
      {"_profile5/username.txt", "[f:x]Eve"}},
     "/_profile4",
     {"Anna", "Bob", "Cleo", "Dan", "f:xEve"},
     4,
     1.0f,
     {{"Zed", 0.5f}}},
    {"four profiles with profile 1 free",
     {{"_profile2/username.txt", "Bob"},
      {"_profile3/username.txt", "Cleo"},
      {"_profile4/username.txt", "Dan"},
      {"_profile5/username.txt", "Eve"}},
     "/_profile2",
     {"", "Bob", "Cleo", "Dan", "Eve"},
     2,
     1.0f,
     {{"Anna", 1.0f}, {"eve", 0.5f}}},
    {"a name longer than the name box takes",
     {{"username.txt", "Zoë Alexandra Konstantinowna " + std::string(4000, 'x')}},
     "",
     {"Zoë Alexandra Konsta", "", "", "", ""},
     1,
     0.5f,
     {{"Bob", 1.0f}}},
    {"a name file that cannot be read",
     {{"username.txt", "Anna"}, {"_profile3/", ""}},
     "/_profile3",
     {"Anna", "", "error", "", ""},
     3,
     1.0f,
     {{"Error", 0.5f}}},
    {"profile 1 and the folders 2 to 15: the free one, 16, ends in 6",
     withFolders({{"username.txt", "Anna"}}, 2, 15),
     "",
     {"Anna", "error", "error", "error", "error"},
     1,
     1.0f,
     {{"Zed", 0.5f}}},
};

class ProfileList : public FrontEndTest, public ::testing::WithParamInterface<ListState> {};

TEST_P(ProfileList, ShowsTheSlotsAndAllowsOnlyNewNames) {
    const ListState& state = GetParam();
    makeAll(state.before);
    Session::setParam("profile", state.profile);
    enter("ProfileManager");
    for (int slot = 1; slot <= 5; ++slot) {
        SCOPED_TRACE(slot);
        auto* button = menu<nimboui::TextButton>("pm_slot0" + vessot::String(slot));
        const std::string& label = state.labels[slot - 1];
        bool filled = !label.empty();
        EXPECT_EQ(button->getText(), label);
        EXPECT_EQ(button->getTextKey(), filled ? "" : "PM_EMPTY_SLOT");
        EXPECT_EQ(button->getAlpha(), filled ? 1.0f : 0.5f);
        EXPECT_EQ(button->getState(), filled ? 2 : 0);
        EXPECT_EQ(button->getHoverColor(), nimbo::Color(filled ? "CFCFCF" : "FFFFFF"));
        EXPECT_EQ(button->getColor(), nimbo::Color(slot == state.current ? "FF7F00" : "FFFFFF"));
    }
    EXPECT_EQ(menu("pm_delete")->getAlpha(), state.deleteAlpha);
    for (const auto& [typed, alpha] : state.typed) {
        menu<nimboui::EditBox>("pm_player_name")->setText(typed);
        game->step();
        EXPECT_EQ(menu("pm_add")->getAlpha(), alpha) << "'" << typed << "'";
        EXPECT_EQ(menu<nimboui::TextButton>("pm_add")->getState(), alpha == 1.0f ? 2 : 0);
    }
    game->step(); // names with tags are drawn without failing
}

INSTANTIATE_TEST_SUITE_P(States, ProfileList, ::testing::ValuesIn(LISTS));

TEST_F(FrontEndTest, TheManagersButtonsAddSelectAndDeleteProfiles) {
    make("username.txt", "Anna");
    Session::setParam("profile", "");
    enter("ProfileManager");
    // A new name typed and submitted with Enter.
    press("pm_player_name");
    game->type("Bob");
    game->key(ENTER);
    EXPECT_EQ(read("_profile2/username.txt"), "\xEF\xBB\xBF"
                                              "Bob");
    EXPECT_EQ(Session::getParam("profile"), "/_profile2");
    EXPECT_EQ(menu<nimboui::TextButton>("pm_slot02")->getText(), "Bob");
    // An empty slot takes no click; a filled one becomes the current profile.
    press("pm_slot04");
    EXPECT_EQ(Session::getParam("profile"), "/_profile2");
    press("pm_slot01");
    EXPECT_EQ(Session::getParam("profile"), "");
    EXPECT_NE(read("zeph.cfg").find("profile: \n"), std::string::npos);
    EXPECT_EQ(menu<nimboui::TextButton>("pm_slot01")->getColor(), nimbo::Color("FF7F00"));
    // The delete question names the current profile; yes deletes it.
    make("username.txt", "[c:FF0000]Anna");
    press("pm_delete");
    EXPECT_EQ(var("cdialog"), "PM_DELETE_QUESTION,OnPMDeleteOk,none");
    EXPECT_EQ(ui<nimboui::Label>("cdialog_text")->getTextKey(), "{%f} menu.PM_DELETE_QUESTION {c:FF0000Anna}");
    game->step();
    Cdialog::answer(1);
    EXPECT_FALSE(exists("username.txt"));
    EXPECT_EQ(Session::getParam("profile"), "/_profile2");
    // With one profile left, delete takes no click.
    game->stepSeconds(1.0f);
    EXPECT_EQ(menu("pm_delete")->getAlpha(), 0.5f);
    press("pm_delete");
    EXPECT_EQ(var("cdialog"), "");
    press("pm_close");
    EXPECT_EQ(target(), "MainMenu");
}

// ---------------------------------------------------------------- the first start

TEST_F(FrontEndTest, TheFirstCharactersTypedReplaceTheSuggestedName) {
    enter("FirstTimeProfile");
    auto* box = menu<nimboui::EditBox>("firsttime_player_name");
    auto* ok = menu<nimboui::TextButton>("firsttime_ok_btn");
    EXPECT_EQ(box->getText(), "Player");
    EXPECT_TRUE(box->hasFocus());
    game->step();
    EXPECT_EQ(ok->getColor(), nimbo::Color("00FF3F"));
    game->type("Zo");
    game->step();
    EXPECT_EQ(box->getText(), "Zo");
    game->type("ePlayer");
    game->step();
    EXPECT_EQ(box->getText(), "ZoePlayer"); // only the first change replaces
    game->key(ENTER);
    EXPECT_EQ(read("username.txt"), "\xEF\xBB\xBF"
                                    "ZoePlayer");
    EXPECT_EQ(Session::getParam("profile"), "");
    EXPECT_EQ(target(), "MainMenu");
    EXPECT_FLOAT_EQ(Session::activeTransition->duration, 1.0f);
}

TEST_F(FrontEndTest, ABlankNameIsNotTakenAndATaggedOneIsStoredAsTyped) {
    enter("FirstTimeProfile");
    auto* box = menu<nimboui::EditBox>("firsttime_player_name");
    auto* ok = menu<nimboui::TextButton>("firsttime_ok_btn");
    box->setText(" \t ");
    game->step();
    EXPECT_EQ(ok->getAlpha(), 0.5f);
    EXPECT_EQ(ok->getState(), 0);
    EXPECT_EQ(ok->getColor(), nimbo::Color("FFFFFF"));
    game->key(ENTER);
    press("firsttime_ok_btn");
    EXPECT_FALSE(exists("username.txt"));
    EXPECT_EQ(target(), "");
    // A font tag naming no font is drawn as typed, then kept unchanged.
    box->setText("");
    game->type("  [f:x]Zo[/f]");
    game->step(2);
    press("firsttime_ok_btn");
    EXPECT_EQ(read("username.txt"), "\xEF\xBB\xBF[f:x]Zo[/f]");
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "menu.MainMenu");
    EXPECT_EQ(menu<nimboui::Label>("profile_btn")->getTextKey(), "{%f} ui.PROFILE_FORMAT_STRING {f:xZo/f}");
    game->step(2);
}

TEST_F(FrontEndTest, NamesAreShortInTheLanguagesOfWideCharacters) {
    const std::pair<const char*, int> limits[] = {{"ja_draskel", 12}, {"de", 20}, {"ko", 12}, {"", 20}};
    for (const auto& [language, limit] : limits) {
        SCOPED_TRACE(language);
        nimboui::setLocalization(language);
        enter("FirstTimeProfile");
        auto* box = menu<nimboui::EditBox>("firsttime_player_name");
        box->setText("");
        game->type("abcdefghijklmnopqrstuvwxyz");
        EXPECT_EQ(box->getText().utf8_size(), limit);
        switchNow("ship.Cockpit"); // the menu chapter is loaded afresh next time
    }
}

} // namespace
