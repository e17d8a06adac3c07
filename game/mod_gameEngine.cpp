// The exploration loop: one frame per pass, whole-tile checks or one pixel of a step, then the view.
#include "globals.h"
#include "keep.h"

void gameEngine() { flow_run(SCR_ENGINE); }

void gameEngineScreen() {
  if (!musicPlaying()) musicPlay(music);
  while (flow_running()) {
    hal_events();
    Key = GpKeyGet();
    KeyCh = GpKeyChanged();
    if (perso.px % 32 == 0 && perso.py % 32 == 0) {
      perso.x = perso.px / 32;
      perso.y = perso.py / 32;
      keep::standing();  // the hero stands free: what a close now keeps
      // A scene, a door, a fight or a page may hand over: nothing more of this frame runs then.
      chkPos();
      if (!flow_running()) return;
      chkDplPerso();
      if (!flow_running()) return;
      chkAction();
      if (!flow_running()) return;
    } else {
      dplPerso();
    }
    affView();
    GpFlip();
    sleep(10);
  }
}
