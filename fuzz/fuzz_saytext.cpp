// Say-texts of spoken lines: scanned, queued for a scratch store's speakers, counted down, skipped
// and cut, with no character shown anywhere. Pieces and speaker names keep within their size, no
// speaker is left with an empty queue, and the pause time is the scan's.

#include "FuzzInput.h"
#include "engine/app/Engine.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/SayText.h"
#include "script/Speech.h"

#include "vessot/Exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void resetStore() {
    Vars::variables = VariableTable();
    const char* const values[][2] = {{"current_character", "vorne"}, {"textmode_exception", "0"}, {"who", "luna"}};
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
    }
    Speech::clear();
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!acceptFuzzInput(size)) {
        return 0;
    }
    resetStore();
    textMultiplier = 2.0f;
    String text(reinterpret_cast<const char*>(data), size);
    SayText::Scan scan = SayText::scan(text, textMultiplier);
    for (const SayText::Piece& piece : scan.pieces) {
        check(piece.text.size() <= SayText::MAX_PIECE && piece.speaker.size() <= SayText::MAX_PIECE);
    }
    float pause = Session::getTextPauseTime(text);
    check(scan.pauseSum > 0.01f ? pause == scan.pauseSum : pause == 7.0f * textMultiplier);
    try {
        Speech::say("KEY", text);
    } catch (const vessot::exception&) {
    }
    for (int i = 0; i < 3 && Speech::isSpeaking(); ++i) {
        for (const auto& [speaker, queue] : Speech::speechMap) {
            check(!queue.empty());
        }
        Speech::updateTalkAnimation(0.5f);
        Speech::skipCurrentLine();
    }
    if (!Speech::speechMap.empty()) {
        Speech::cutLine(Speech::speechMap.begin()->first);
    }
    Speech::clear();
    return 0;
}
