// The duel screen: menu, attacks, drains, flight, victory and defeat.
#include "globals.h"

#include <cstdlib>

namespace {

constexpr unsigned RED = 0xF801, YELLOW = 0xFFC1, GREEN = 0x0401, DARK_RED = 0x8001,
                   BLACK1 = 0x0001, BLACK = 0x0000;

bool pressed(uint32_t bit) { return Key == bit && KeyCh == bit; }

void scene(int choice) {
  affCombatBg();
  affCombatMenu(choice);
}

// Life runs down one point every 100 ms, never below 0.
void drain(chara* victim, int target, const char* msg, unsigned colour, bool sparks, int choice) {
  while (victim->pv > target && victim->pv > 0 && hal_working) {
    nTick = GpTickCountGet();
    victim->pv -= 1;
    scene(choice);
    affCenteredText(208, msg, static_cast<int>(colour));
    if (sparks) {
      const int frame = rand() % 3;
      GpTransBlt(Screen, 32, 32, 32, 32, pSurf_sprite_attaq1, 0, 32 * frame, 32, 96,
                 TRANSPARENT_KEY);
    }
    GpFlip();
    waitSince(nTick, 100);
  }
}

void message(int choice, const char* msg, unsigned colour) {
  (void)choice;
  affCenteredText(208, msg, static_cast<int>(colour));
  GpFlip();
}

void enemyAnswer(int choice) {
  const int c = rand() % 2;
  int d;
  const char* msg;
  unsigned colour;
  if (c == 0) {
    d = 8 + (rand() % 6) * ennemi->force;
    // TRANSLATORS: combat message: the enemy's first kind of counter-attack
    msg = _("L'ennemi riposte !");
    colour = DARK_RED;
  } else {
    d = 10 + (rand() % 4) * ennemi->force;
    // TRANSLATORS: combat message: the enemy's second kind of counter-attack
    msg = _("L'ennemi réagit !");
    colour = BLACK1;
  }
  drain(&perso, perso.pv - d, msg, colour, false, choice);
  nTick = GpTickCountGet();
  waitSince(nTick, 1000);
}

void victory(int choice) {
  nTick = GpTickCountGet();
  ennemi->beaten = 1;
  // TRANSLATORS: combat message: the hero wins the fight
  message(choice, _("Vous remportez la victoire !"), BLACK);
  waitSince(nTick, 1500);
  if (ennemi->removeOnWin == 1) placeChara(nullptr, ennemi, -1, -1, 0);
  if (ennemi->bonusPvMax != 0) perso.pvMax += ennemi->bonusPvMax;
  if (ennemi->bonusForce != 0) perso.force += ennemi->bonusForce;
  if (ennemi->bonusResistance != 0) perso.resistance += ennemi->bonusResistance;
  musicHalt();
  gameEngine();
}

void defeat(int choice) {
  nTick = GpTickCountGet();
  // TRANSLATORS: combat message: the hero loses the fight
  message(choice, _("Vous êtes vaincu !"), BLACK);
  waitSince(nTick, 1000);
  if (ennemi->fatal == 1) {
    gameOver();
    return;
  }
  if (ennemi->healOnLoss == 1) ennemi->pv = ennemi->pvMax;
  perso.pv = perso.pvMax / 50;
  if (perso.pv == 0) perso.pv = 1;
  if (ennemi->lossX != 0) {
    perso.x = ennemi->lossX;
    perso.px = 32 * ennemi->lossX;
  }
  if (ennemi->lossY != 0) {
    perso.y = ennemi->lossY;
    perso.py = 32 * ennemi->lossY;
  }
  if (ennemi->lossDir != 0) perso.dir = ennemi->lossDir;
  musicHalt();
  gameEngine();
}

}  // namespace

void affCombatBg() {
  GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_battlebg);
  affPVbar(&perso, 208);
  affMPbar(&perso, 208);
  GpTransBlt(Screen, 256, 32, 32, 32, perso.sprite, 32 * perso.frame, 64, 64, 128, TRANSPARENT_KEY);
  affPVbar(ennemi, 10);
  affMPbar(ennemi, 10);
  GpTransBlt(Screen, 32, 32, 32, 32, ennemi->sprite, 0, 64, 64, 128, TRANSPARENT_KEY);
  // TRANSLATORS: combat screen, between the two fighters: versus
  GpTextOut(Screen, 150, 41, tr(_("VS")), BLACK1);
}

void affCombatMenu(int choice) {
  static const char* const entries[3] = {
      // TRANSLATORS: combat menu, entry 1: the hero's fighting technique (name kept in every
      // language)
      _("RYUKEN"),
      // TRANSLATORS: combat menu, entry 2: the hero's magic technique (name kept in every language)
      _("MAJUTSU"),
      // TRANSLATORS: combat menu, entry 3: run away from the fight
      _("FUITE")};
  static const char* const captions[3] = {
      // TRANSLATORS: combat caption under the menu when RYUKEN is selected
      _("Attaque du dragon"),
      // TRANSLATORS: combat caption under the menu when MAJUTSU is selected
      _("Attaque magique"),
      // TRANSLATORS: combat caption under the menu when FUITE (flee) is selected: fleeing costs 40
      // coins
      _("Utilise 40 pièces")};
  for (int i = 0; i < 3; i++) {
    GpTextOut(Screen, 120, 120 + 15 * i, tr(entries[i]), i == choice ? RED : BLACK);
    if (i == choice) affCenteredText(184, captions[i], YELLOW);
  }
}

void gameCombat() {
  if (!flow_running() || !ennemi) return;
  musicHalt();
  musicPlay(music2);
  for (int i = 0; i <= 180 && hal_working; i++) {
    nTick = GpTickCountGet();
    GpRectFill(Screen, 160 - i, 120 - i, 2 * i, 2 * i, BLACK);
    GpFlip();
    waitSince(nTick, 2);
  }
  int choice = 0;
  while (flow_running()) {
    hal_events();
    Key = GpKeyGet();
    KeyCh = GpKeyChanged();
    bool enemyTurn = true, idle = false;
    scene(choice);
    if (pressed(KEY_DOWN) && choice < 2) {
      choice++;
      enemyTurn = false;
    } else if (pressed(KEY_UP) && choice > 0) {
      choice--;
      enemyTurn = false;
    } else if (pressed(KEY_A) && choice == 0) {
      const int r = rand() % 2;
      const int d = ((100 - ennemi->resistance) * ((r + 1) * perso.force + 10)) / 100;
      // TRANSLATORS: combat message after the hero's basic attack (RYUKEN)
      drain(ennemi, ennemi->pv - d, _("Attaque du dragon !"), GREEN, false, choice);
      nTick = GpTickCountGet();
      waitSince(nTick, 1000);
    } else if (pressed(KEY_A) && choice == 1 && perso.mana > 9) {
      const int d = 2 * perso.force + rand() % 30;
      // TRANSLATORS: combat message after the hero's magic attack (MAJUTSU)
      drain(ennemi, ennemi->pv - d, _("Vous utilisez la magie !"), GREEN, true, choice);
      perso.mana -= 10;  // spent only once the spell has struck: the old value shows meanwhile
      sleep(1000);
    } else if (pressed(KEY_A) && choice == 1) {
      // TRANSLATORS: combat message: MAJUTSU chosen with less than 10 magic points
      message(choice, _("Pas assez de magie !"), RED);
      sleep(1500);
      enemyTurn = false;
    } else if (pressed(KEY_A) && choice == 2 && perso.gold >= storyNumbers.fleeCost &&
               ennemi->noFlee != 1) {
      nTick = GpTickCountGet();
      perso.gold -= storyNumbers.fleeCost;
      // TRANSLATORS: combat message: the hero flees, paying 40 coins
      message(choice, _("Vous fuyez comme un lâche !"), RED);
      sleep(1500);
      musicHalt();
      gameEngine();
      return;
    } else if (pressed(KEY_A) && choice == 2) {
      nTick = GpTickCountGet();
      // TRANSLATORS: combat message: fleeing refused (not enough coins, or this enemy won't let
      // you)
      message(choice, _("Fuite impossible !"), RED);
      waitSince(nTick, 1500);
      enemyTurn = false;
    } else {
      enemyTurn = false;
      idle = true;
    }
    if (!hal_working) return;
    // A pass that did nothing would only draw the same scene again: it is drawn once.
    if (!idle) scene(choice);
    if (ennemi->pv <= 0) {
      victory(choice);
      return;
    }
    if (!idle) scene(choice);
    if (enemyTurn) enemyAnswer(choice);
    if (!hal_working) return;
    if (!idle) scene(choice);
    if (perso.pv <= 0) {
      defeat(choice);
      return;
    }
    GpFlip();
    // The turn loop has nothing to pace it; a short rest per pass keeps it from spinning a core
    // while the menu waits for a key.
    sleep(10);
  }
}
