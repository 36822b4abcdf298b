#pragma once
// The check after a kill: every player file of a user folder must be whole, its version from before
// the interrupted round (OLD) or from after it (NEW), and none that both versions hold may be lost.
// Logs (game.log and its copies in the slots) and the single-instance record (hwnd.txt) are not
// player data and are skipped, and so are the folders the game moved aside to remove them
// ("slot1.gone1", "autosave/gone1"); the atomic writer's temporary files are counted, not compared. The
// date line of "info.txt" is not compared. Autosave slots move up by one at each autosave, so an
// autosave file matches its name in any autosave folder (the slots, and "new" and "old" beside
// them), and every autosave of OLD must stand whole in its slot or the next one up, but for the
// sixth when the rotation drops it. A game slot's file matches its own path or the same file in the
// folders beside the slot ("slot1.new", "slot1.old"); a slot left aside ("slot1.old" without
// "slot1") counts as the slot, as the next start puts it back. A folder's "info.txt" and "game.sav"
// must be of one save: a folder at the same place in OLD or NEW holds the two together. Prints each
// fault and a summary; answers the number of faults.

#include <filesystem>

int comparePlayerFiles(const std::filesystem::path& user, const std::filesystem::path& old,
                       const std::filesystem::path& fresh);
