#pragma once
// Shared set-up of the GUI library's tests: settings put back and datasets deleted after each
// test, files written into a temporary folder, and objects made from XML text.

#include "TempDir.h"
#include "nimboui/nimboui.h"
#include "vessxml/Xml.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

class GuiTest : public ::testing::Test {
protected:
    void TearDown() override {
        nimboui::destroy();
        nimboui::setDefaultScale(1.0f);
        nimboui::setLocalization("");
        nimboui::setForcedDynamicLoading(false);
        nimboui::setTextureIdleUnloadTime(60.0f);
        nimboui::setMacroCallback(nullptr);
        nimboui::setCursorPosition(0.0f, 0.0f);
    }

    // Writes a file under the temporary folder (making its folders) and answers its path.
    std::string write(const std::string& name, const std::string& text) {
        std::string path = dir / name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
        return path;
    }

    // A dataset whose definition is the text, registered under name (the library deletes it).
    nimboui::Dataset* dataset(const std::string& name, const std::string& definition) {
        return new nimboui::Dataset(write(name + "/" + name + ".datadef", definition), name);
    }

    // Parses an object element into the dataset; the document lives as long as the test.
    nimboui::Object* parse(nimboui::Dataset* owner, const std::string& xml, nimboui::Object* parent = nullptr) {
        documents.push_back(std::make_unique<vessxml::Document>(vessxml::Document::parse(xml, "test.xml")));
        return owner->parseObject(documents.back()->getRoot(), parent);
    }

    TempDir dir;
    std::vector<std::unique_ptr<vessxml::Document>> documents;
};
