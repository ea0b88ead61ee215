// The main window's behaviour with every service it needs kept in memory.
#pragma once

#include <optional>

#include "app/main_form.h"
#include "fakes/memory_settings.h"
#include "fakes/memory_view.h"
#include "fakes/recording_midi_out.h"
#include "fakes/recording_tray.h"
#include "fakes/scripted_input.h"

namespace melodane::testing {

struct FormRig {
  FormRig() { out.devices = {{"Synth A"}, {"Synth B"}}; }

  // Created on first use, so that a test can arrange the services first.
  frmPubMain& Form() {
    if (!form_) form_.emplace(view, FormServices{port, settings, keys, random, tray});
    return *form_;
  }

  RecordingMidiOut out;
  mdlPubSelf port{out};
  MemorySettings settings;
  MemoryView view;
  ScriptedKeys keys;
  ScriptedRandom random;
  RecordingTray tray;

 private:
  std::optional<frmPubMain> form_;
};

}  // namespace melodane::testing
