#pragma once
// The text-key markup that labels interpret.
//
// A key is either a plain key, whose text is shown, or "{" format "}" followed by arguments
// separated by blanks, each a key or "{" literal "}". In the format "%s" takes the next
// argument's text, "%f" takes the next argument as a key whose text is the format for the
// arguments after it, and "%%" is a percent sign; everything else ("\n", "[f:font:scale]",
// "[c:RRGGBB]" and the like) passes to the text renderer. A literal may hold blanks, "%" and
// brackets; the one that fills the format's last conversion runs to the final "}", so a typed
// name holding "}" survives. Arguments are never read as formats.
//   "{%s %s} ui.ACHIEVEMENTS_UNLOCKED {3 / 32}"   "{%f} menu.PM_DELETE_QUESTION {Anna}"

#include "vessot/String.h"

#include <functional>

namespace nimboui {

using vessot::String;

class Dataset;

// textOf answers the text of a key.
String expandTextKey(const String& key, const std::function<String(const String&)>& textOf);
// Keys through the dataset's getText; without a dataset, "dataset.key" through the registered
// datasets, and other keys stand for themselves.
String expandTextKey(const String& key, Dataset* dataset);

} // namespace nimboui
