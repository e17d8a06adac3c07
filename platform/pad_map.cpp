// What a pad's stick and buttons mean as game keys: the same for the desktop's pads (pad.cpp)
// and the page's (web/pad.cpp).
#include "pad.h"

#include "fct_gp.h"

#include <algorithm>

namespace pad {

namespace {

std::vector<int> actionButtons = defaultAction(), startButtons = defaultStart();

bool among(const std::vector<int>& list, int b) {
  return std::find(list.begin(), list.end(), b) != list.end();
}

}  // namespace

void setButtons(const std::vector<int>& action, const std::vector<int>& start) {
  actionButtons = action;
  startButtons = start;
}

uint32_t buttonKeys(uint32_t buttons) {
  uint32_t k = 0;
  for (int b = 0; b < 32; b++) {
    if (!(buttons & (1u << b))) continue;
    if (among(actionButtons, b)) k |= KEY_A;
    if (among(startButtons, b)) k |= KEY_START;
  }
  return k;
}

void stickAxis(uint32_t& stick, int value, uint32_t minus, uint32_t plus) {
  const uint32_t had = stick & (minus | plus);
  uint32_t now = had;
  if (value <= -DEAD_ZONE)
    now = minus;
  else if (value >= DEAD_ZONE)
    now = plus;
  else if (value > -RELEASE_ZONE && value < RELEASE_ZONE)
    now = 0;
  stick = (stick & ~(minus | plus)) | now;
}

}  // namespace pad
