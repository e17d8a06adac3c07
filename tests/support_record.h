// What the player reads, sees and hears, recorded while the real game plays: a transcript (pages
// and their texts, maps entered, dialogue boxes, scripted walks, fights, music), a label for every
// frame with its time on the virtual clock, and pictures of chosen frames. A piece of music that
// starts softer than the modules are made says how loud, "music: battle (volume 51/128)".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "harness.h"

namespace record {

// One presented frame: when, and what it shows ("box", "walk", "step", "still", "opening",
// "white", a combat message, "combat RYUKEN" for the duel's menu, "menu Jouer", a page's name).
struct Frame {
  uint32_t at;
  std::string label;
};

// Starts recording: hooks into flips, drawn texts and music.
void begin();
// Stops recording and closes what is still open in the transcript.
void end();
// A line of its own in the transcript (a scenario's title).
void note(const std::string& text);
// Saves the frame shown when `label` is seen for the nth time as picture `name`.
void shoot(const std::string& label, const std::string& name, int nth = 1);

// The transcript, UTF-8, one line per entry.
const std::vector<std::string>& transcript();
const std::vector<Frame>& frames();
// Every line of text drawn, once per place and colour, with the first frame that showed it.
struct Drawn {
  std::string text;  // ISO-8859-1, as drawn
  int x, y;
  unsigned short colour;
  std::string label;
};
const std::vector<Drawn>& texts();
// The pictures taken so far, by name: 320x240 5-6-5 pixels.
const std::map<std::string, std::vector<uint16_t>>& pictures();
// Forgets everything recorded (a new run).
void clear();

// The label of the latest frame.
const std::string& lastLabel();

// The game's name for a character or a map, as the transcript writes it.
std::string nameOf(const chara* c);
std::string nameOf(const smap* m);
// Latin-1 to UTF-8.
std::string utf8(const std::string& latin1);

}  // namespace record
