// Scenes started by where the hero stands or by the story's state.
#include "globals.h"

namespace {

void say(chara* who, const char* line) { affTextPlus(line, who); }

bool at(const smap* m, int x, int y) { return game.map == m && perso.x == x && perso.y == y; }

void fight(chara* opponent) {
  ennemi = opponent;
  gameCombat();
}

}  // namespace

void chkPos() {
  // 1: the vagrant's ambush
  if (at(&ile, 14, 14) && vagabond.scene == 0) {
    dplChara(&vagabond, 1, 4);
    say(&vagabond, "Tu tombes bien...");
    say(&vagabond, "Je suis \xE0 sec !");
    say(&vagabond, "C\350de moi ta bourse !");
    say(&perso, "Il faudra m'affronter !");
    say(&vagabond, "Ahahah...");
    vagabond.scene = 1;
    fight(&vagabond);
    return;
  }
  // 2: the robbery, whatever the fight's outcome
  if (at(&ile, 14, 14) && vagabond.scene == 1) {
    say(&vagabond, "Je te laisse la vie...");
    perso.gold = 0;
    say(&vagabond, "Merci pour les pi\350ces !");
    say(&vagabond, "Ahahah...");
    dplChara(&vagabond, 3, 5);
    placeChara(nullptr, &vagabond, -1, -1, 0);
    vagabond.scene = 2;
  }
  if (!flow_running()) return;
  // 3: the grandmother's welcome
  if (game.map == &maison1 && perso.y <= 2 && gmere.gold > 0) {
    gmere.dir = 2;
    say(&gmere, "Ah !");
    say(&gmere, "C'est toi ! Ouf...");
    say(&perso, "Tu es seule ?");
    say(&gmere, "Oui. Ils sont tous au ch\xE2teau...");
    say(&gmere, "La famille royale est en danger.");
    say(&perso, "C'est pourquoi vous m'avez appel\xE9 ?");
    if (perso.pv <= 15) {
      say(&gmere, "Oui. Mais tu sembles \xE9puis\xE9 ?");
      say(&perso, "Un peu... C'est... le voyage !");
      say(&gmere, "Il y a de la bi\xE8re...");
    } else {
      say(&gmere, "Tu es perspicace.");
    }
    say(&perso, "Je vais leur apporter mon aide.");
    say(&gmere, "Sois prudent... Je compte sur toi.");
    say(&gmere, "Voil\xE0 qui te sera peut-etre utile.");
    perso.gold += storyNumbers.gmereGives;
    gmere.gold = 0;
    say(&gmere, "Va vite !");
  }
  if (!flow_running()) return;
  // 4: the gate guards and the castle door guard (first match only)
  if (at(&entree, 10, 1) && garde1.beaten == 0) {
    say(&garde1, "Stop ! T'es mort !");
    fight(&garde1);
    return;
  }
  if (at(&entree, 10, 1) && garde2.beaten == 0) {
    say(&garde2, "Pas mal...");
    say(&garde2, "S\xFBrement la chance du d\351butant...");
    say(&garde2, "Tu ne l'auras pas deux fois !");
    fight(&garde2);
    return;
  }
  if (at(&chateau, 10, 13) && garde3.y == 9 && garde3.beaten == 0) {
    dplChara(&garde3, 2, 3);
    say(&garde3, "Comment es-tu entr\xE9 ici ??");
    say(&perso, "Ben... Par la porte...");
    say(&garde3, "Et il se fout de moi en plus !");
    say(&perso, "Ben non... Vraiment !");
    say(&garde3, "Grrr...");
    fight(&garde3);
    return;
  }
  // 5: the ending
  if (boss.beaten == 1) {
    say(&boss, "Rah... Comment est-ce possible ?");
    say(&boss, "Je me vengerai...");
    if (!flow_running()) return;
    GpRectFill(Screen, 0, 0, 320, 240, 0xFFFFFF);
    GpFlip();
    sleep(1500);
    placeChara(nullptr, &boss, -1, -1, 0);
    placeChara(&chateau, &princesse, 7, 9, 0);
    perso.dir = 2;
    dplChara(&princesse, 0, 2);
    dplChara(&princesse, 1, 3);
    placeChara(&chateau, &princesse, 10, 7, 0);
    say(&princesse, "Merci infiniment !");
    if (flow_running()) bravo();
  }
}
