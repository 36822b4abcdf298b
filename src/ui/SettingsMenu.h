#pragma once
// The settings menu, the "ui" chapter's scene "SettingsMenu": switches for sound, footsteps,
// fullscreen, margins and voices, steppers for text speed and aspect, four volumes. Its controls
// change a copy of the user's "zeph.cfg" and apply what the engine can at once; leaving writes the
// file and returns to the scene the menu was opened from. What the engine calls is declared with the
// interface's services.

#include "engine/InterfaceServices.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"

namespace UserInterface::SettingsMenu {

class Menu : public Scene {
public:
    explicit Menu(Chapter* chapter);
    // An entry from another scene reads the user's file once a run, fills what it lacks and wires
    // the controls; every entry shows the copy.
    void onEnter() override;
    // Follows a fullscreen change made outside the menu.
    void onUpdate(float dt) override;
};

// The settings the menu keeps, as the user's "zeph.cfg" holds them; read at the first entry of the run.
extern ParamMap userConfig;
// The keys the menu changes and writes from its copy; every other user key is written from the
// parameters.
inline const char* const SETTINGS_KEYS[] = {"audio_mute",   "footstep_sounds", "fullscreen",  "margintex",
                                            "voice_switch", "text_multiplier", "aspect",      "master_volume",
                                            "music_volume", "fx_volume",       "voice_volume"};

// The parameters as the user's file holds them once the menu is left: the sound switch's value waits
// in the copy for the next start, so the profile menus, which write the parameters, keep it too.
ParamMap paramsToSave();

// The menu scene for the "ui" chapter's registration.
Scene* create(Chapter* chapter);

// The switch's images for on ("gui/yes_up" lit) or off.
void setSwitchImages(const String& name, bool on);

// "Click" handlers of the controls.
void onAudioSwitch(nimboui::EventArgs* args);
void onFootstepsSwitch(nimboui::EventArgs* args);
void onFullscreenSwitch(nimboui::EventArgs* args);
void onMargintexSwitch(nimboui::EventArgs* args);
void onVoiceSwitch(nimboui::EventArgs* args);
void onTextMinus(nimboui::EventArgs* args);
void onTextPlus(nimboui::EventArgs* args);
void onAspectMinus(nimboui::EventArgs* args);
void onAspectPlus(nimboui::EventArgs* args);
// Shared by "settings_" + channel + "_-" and "_+" of master, music, fx and voice.
void onVolumeStep(nimboui::EventArgs* args);

} // namespace UserInterface::SettingsMenu
