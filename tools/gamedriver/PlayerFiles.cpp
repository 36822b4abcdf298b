#include "PlayerFiles.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Relative path to content.
using Files = std::map<std::string, std::string>;

const char AUTOSAVE[] = "autosave/slot";
const int AUTOSAVE_SLOTS = 6;

// The atomic writer's temporary file: the target's name, ".tmp-" and six letters or digits.
bool isTemporary(const std::string& name) {
    size_t at = name.rfind(".tmp-");
    return at != std::string::npos && name.size() == at + 11;
}

bool isSkipped(const std::string& name) {
    return name == "game.log" || name.rfind("game.log.", 0) == 0 || name == "hwnd.txt";
}

// A folder the game moved out of the way to remove it ("slot1.gone2", "autosave/gone1"): no start
// reads it, and the next one removes what a kill left of it.
bool isDiscarded(const fs::path& relative) {
    auto numbered = [](const std::string& name, const std::string& prefix) {
        return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
               name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
    };
    auto part = relative.begin();
    std::string first = part->string();
    size_t dot = first.find('.');
    if (dot != std::string::npos && numbered(first.substr(dot), ".gone")) {
        return true;
    }
    return first == "autosave" && ++part != relative.end() && numbered(part->string(), "gone");
}

// The text without its third line, the save's date.
std::string withoutDate(const std::string& text) {
    size_t second = text.find('\n');
    size_t third = second == std::string::npos ? second : text.find('\n', second + 1);
    size_t fourth = third == std::string::npos ? third : text.find('\n', third + 1);
    return fourth == std::string::npos ? text : text.substr(0, third + 1) + text.substr(fourth + 1);
}

Files readFiles(const fs::path& folder, int& temporaries) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || isSkipped(name) || isDiscarded(fs::relative(entry.path(), folder))) {
            continue;
        }
        if (isTemporary(name)) {
            ++temporaries;
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        files[fs::relative(entry.path(), folder).string()] = name == "info.txt" ? withoutDate(text.str()) : text.str();
    }
    return files;
}

bool isAutosave(const std::string& path) {
    return path.rfind(AUTOSAVE, 0) == 0;
}

// Where versions of a file may stand: any folder of the autosaves (the six slots and the rotation's
// "new" and "old") for an autosave's file; for a game slot's file the slot and the folders beside it
// that a save writes into and swaps with it ("slot1.new", "slot1.old").
std::string place(const std::string& path) {
    fs::path file(path);
    std::string folder = file.parent_path().string();
    if (folder.rfind("autosave/", 0) == 0) {
        return "autosave/" + file.filename().string();
    }
    for (const std::string side : {".new", ".old"}) {
        if (folder.size() > side.size() && folder.compare(folder.size() - side.size(), side.size(), side) == 0) {
            return (fs::path(folder.substr(0, folder.size() - side.size())) / file.filename()).string();
        }
    }
    return path;
}

std::string beside(const std::string& path, const std::string& name) {
    return (fs::path(path).parent_path() / name).string();
}

// What the next start sees: a game slot that a save cut short left aside ("slot1.old" where no
// "slot1" is) is back under the slot's name.
Files withSlotsPutBack(const Files& files) {
    auto holdsFolder = [&](const std::string& folder) {
        auto next = files.lower_bound(folder + "/");
        return next != files.end() && next->first.rfind(folder + "/", 0) == 0;
    };
    Files seen;
    for (const auto& [path, text] : files) {
        std::string folder = fs::path(path).parent_path().string();
        std::string slot = folder.size() > 4 ? folder.substr(0, folder.size() - 4) : "";
        bool aside = !slot.empty() && folder.compare(slot.size(), 4, ".old") == 0 && !holdsFolder(slot);
        seen[aside ? (fs::path(slot) / fs::path(path).filename()).string() : path] = text;
    }
    return seen;
}

bool hasVersion(const Files& versions, const std::string& path, const std::string& content) {
    for (const auto& [other, text] : versions) {
        if (place(other) == place(path) && text == content) {
            return true;
        }
    }
    return false;
}

// Whether a folder of the versions, at the place of the description's, holds the description and
// the save together.
bool hasSave(const Files& versions, const std::string& info, const std::string& description, const std::string& save) {
    for (const auto& [other, text] : versions) {
        auto saved = versions.find(beside(other, "game.sav"));
        if (fs::path(other).filename() == "info.txt" && place(other) == place(info) && text == description &&
            saved != versions.end() && saved->second == save) {
            return true;
        }
    }
    return false;
}

using Slot = std::pair<std::string, std::string>;

// The autosave in slot N when it holds both files, by their contents.
bool autosaveIn(const Files& files, int number, Slot& slot) {
    std::string folder = AUTOSAVE + std::to_string(number);
    auto info = files.find(folder + "/info.txt");
    auto save = files.find(folder + "/game.sav");
    if (info == files.end() || save == files.end()) {
        return false;
    }
    slot = {save->second, info->second};
    return true;
}

// An autosave moves up by one slot, or not at all, in a round: the rotation moves the unbroken run
// from slot 1 up and drops the sixth only when that run holds all six. Every other autosave from
// before the round must stand whole where it stood or one slot up.
int lostAutosaves(const Files& now, const Files& before) {
    Slot slot, seen;
    int run = 0;
    while (run < AUTOSAVE_SLOTS && autosaveIn(before, run + 1, slot)) {
        ++run;
    }
    int lost = 0;
    for (int k = 1; k <= AUTOSAVE_SLOTS; ++k) {
        if (!autosaveIn(before, k, slot) || (k == AUTOSAVE_SLOTS && run == AUTOSAVE_SLOTS)) {
            continue;
        }
        bool kept = (autosaveIn(now, k, seen) && seen == slot) ||
                    (k < AUTOSAVE_SLOTS && autosaveIn(now, k + 1, seen) && seen == slot);
        if (!kept) {
            std::printf("lost: the autosave of %s%d from before the round is in neither that slot nor the next\n",
                        AUTOSAVE, k);
            ++lost;
        }
    }
    return lost;
}

} // namespace

int comparePlayerFiles(const fs::path& user, const fs::path& old, const fs::path& fresh) {
    int temporaries = 0;
    int ignored = 0;
    Files now = withSlotsPutBack(readFiles(user, temporaries));
    Files before = readFiles(old, ignored);
    Files after = readFiles(fresh, ignored);
    int torn = 0;
    int asBefore = 0;
    for (const auto& [path, text] : now) {
        auto same = before.find(path);
        if (same != before.end() && same->second == text) {
            ++asBefore;
        } else if (!hasVersion(before, path, text) && !hasVersion(after, path, text)) {
            std::printf("torn: %s (%zu bytes) is neither a version from before the round nor one from after it\n",
                        path.c_str(), text.size());
            ++torn;
        }
    }
    int faults = torn;
    // The menu shows a slot by its description and loads its save: both must be of one save.
    for (const auto& [path, text] : now) {
        auto save = now.find(beside(path, "game.sav"));
        if (fs::path(path).filename() == "info.txt" &&
            (save == now.end() ||
             (!hasSave(before, path, text, save->second) && !hasSave(after, path, text, save->second)))) {
            std::printf("mixed: %s and the game.sav beside it are not of one save\n", path.c_str());
            ++faults;
        }
    }
    for (const auto& [path, text] : before) {
        if (!isAutosave(path) && after.count(path) && !now.count(path)) {
            std::printf("lost: %s\n", path.c_str());
            ++faults;
        }
    }
    faults += lostAutosaves(now, before);
    int whole = (int)now.size() - torn;
    std::printf("%d player files whole (%d as before the round, %d written in it); %d temporary files of "
                "interrupted writes\n",
                whole, asBefore, whole - asBefore, temporaries);
    return faults;
}
