#pragma once
// Chapters built in a temporary folder: definition files, scene files, hotspot maps made from
// rectangles of colour, sounds, and the log captured to a file there. Every chapter made here is
// deleted with the GUI library at the end of the test.

#include "AmpBuilder.h"
#include "CoreFixture.h"
#include "MediaGen.h"
#include "TempDir.h"
#include "engine/app/Engine.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"

#include "echon/AudioManager.h"
#include "nimbo/Image.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct Area {
    int x, y, w, h;
    uint32_t rgb;
};

class ChapterFixture : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        vessot::Log::reset();
        vessot::Log::setFilename(dir / "game.log", true);
        echon::init("Offline");
        echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
        echon::mgr->createCategory("music", echon::BUFFER_STREAM, echon::SOURCE_RESOURCE);
        screenWidth = 426;
        screenHeight = 320;
        define("active_scene", "");
        define("prev_scene", "");
    }

    void TearDown() override {
        Session::activeScene = nullptr;
        Session::previousScene = nullptr;
        Session::commandQueue.clear();
        musicQueue.stopAll();
        musicQueue.setSoundQueue({});
        nimboui::destroy();
        echon::destroy();
        vessot::Log::reset();
        CoreFixture::TearDown();
    }

    std::string write(const std::string& relative, const std::string& text) {
        std::string path = dir / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
        return path;
    }

    // The chapter's definition file with a texture, an image per name and the extra elements.
    std::string definition(const std::string& chapter, const std::vector<std::string>& images = {},
                           const std::string& extra = "") {
        std::string folder = "chapters/" + chapter;
        std::filesystem::create_directories(dir / folder);
        nimbo::Image(8, 4, nimbo::Color(200, 100, 50, 255)).savePng(dir / (folder + "/bg.png"));
        std::string text = "<Dataset>\n<Texture name=\"bg\" file=\"bg.png\"/>\n";
        for (const std::string& image : images) {
            text += "<Image name=\"" + image + "\" texture=\"bg\"/>\n";
        }
        return write(folder + "/" + chapter + "_hd.datadef", text + extra + "</Dataset>\n");
    }

    void scene(const std::string& chapter, const std::string& file, const std::string& xml) {
        write("chapters/" + chapter + "/scenes/" + file, xml);
    }

    // A hotspot map of a picture of the given width x 320 with the areas painted in order.
    void map(const std::string& chapter, const std::string& name, const std::vector<Area>& areas, int width = 426) {
        std::vector<uint8_t> rgba((size_t)width * 320 * 4, 0);
        for (const Area& a : areas) {
            for (int y = a.y; y < a.y + a.h; ++y) {
                for (int x = a.x; x < a.x + a.w; ++x) {
                    uint8_t* p = &rgba[((size_t)y * width + x) * 4];
                    p[0] = (uint8_t)(a.rgb >> 16);
                    p[1] = (uint8_t)(a.rgb >> 8);
                    p[2] = (uint8_t)a.rgb;
                    p[3] = 255;
                }
            }
        }
        std::vector<uint8_t> bytes = ampmaker::encode(ampmaker::findAreas(rgba.data(), width, 320), width, 320);
        std::string path = dir / ("chapters/" + chapter + "/action_maps/" + name + ".amp");
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
    }

    // A short sound in the chapter's "audio/music" folder.
    void sound(const std::string& chapter, const std::string& name) {
        std::string path = dir / ("chapters/" + chapter + "/audio/music/" + name + ".wav");
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        mediagen::writeFile(path, mediagen::wav(std::vector<float>(4410 * 2, 0.25f), 44100, 2, 16));
    }

    // A chapter of the folder (the GUI library owns it).
    Chapter* chapter(const std::string& name, ChapterCallback callback = nullptr) {
        return new Chapter(dir / ("chapters/" + name + "/" + name + "_hd.datadef"), callback);
    }

    std::string log() { return vessot::File::hread(dir / "game.log"); }

    // Each line appears in the text, after the one before it.
    static void expectInOrder(const std::string& text, const std::vector<std::string>& lines) {
        size_t at = 0;
        for (const std::string& line : lines) {
            size_t found = text.find(line + "\n", at);
            ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\nin:\n" << text;
            at = found + line.size();
        }
    }

    static bool soundExists(const std::string& name) {
        try {
            echon::mgr->destroyPlayer(echon::mgr->createPlayer(name));
            return true;
        } catch (const vessot::exception&) {
            return false;
        }
    }

    TempDir dir;
};
