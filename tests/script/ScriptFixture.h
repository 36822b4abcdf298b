#pragma once
// The test chapter "lab" (tests/script/data/lab) loaded with its scene "Bench" active, whose file holds
// one named action of every type; the variables the actions use, the inventory, the sound "lab.beep"
// and the log captured to a file.

#include "engine/ChapterFixture.h"
#include "script/Action.h"

#include "vessxml/Xml.h"

#include <memory>

class ScriptFixture : public ChapterFixture {
protected:
    static constexpr const char* LAB = "tests/script/data/lab/lab_hd.datadef";
    static constexpr const char* BENCH = "tests/script/data/lab/scenes/Bench.scene";

    void SetUp() override {
        ChapterFixture::SetUp();
        for (const char* name : {"items", "door", "other", "count", "used", "target", "panel_name"}) {
            define(name, "");
        }
        define("current_character", "vorne");
        Vars::get("items")->addListener(Inventory::onItemsChanged);
        std::string beep = dir / "beep.wav";
        mediagen::writeFile(beep, mediagen::wav(std::vector<float>(2205, 0.25f), 22050, 1, 16));
        echon::mgr->createSound(beep, "fx", "lab.");
        lab = new Chapter(LAB, nullptr);
        lab->load();
        Session::activeScene = lab->getScene("Bench");
    }

    void TearDown() override {
        Session::sceneLocked = false;
        ChapterFixture::TearDown();
    }

    // A clone of the named action, made from a fresh prototype of its element that is gone before
    // the clone is used.
    std::unique_ptr<Action> orphanClone(const String& name) {
        vessxml::Document document = vessxml::open(BENCH);
        for (vessxml::Node* element : document->children()) {
            if (element->pstr("name", "") == name) {
                std::unique_ptr<Action> prototype(Action::createFromXml(element, lab));
                return std::unique_ptr<Action>(prototype->clone());
            }
        }
        throw std::runtime_error("no action " + name + " in " + BENCH);
    }

    Action* named(const String& name) { return lab->getNamedAction(name); }

    // The log written after a point (its size then).
    std::string logSince(size_t start) { return log().substr(start); }

    Chapter* lab = nullptr;
};
