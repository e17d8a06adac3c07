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
    // TRANSLATORS: vagabond, the vagrant, ambushing the hero on the island path, line 1
    say(&vagabond, _("Tu tombes bien..."));
    // TRANSLATORS: vagabond, ambush, line 2
    say(&vagabond, _("Je suis à sec !"));
    // TRANSLATORS: vagabond, ambush, line 3
    say(&vagabond, _("Cède moi ta bourse !"));
    // TRANSLATORS: hero, answering the vagrant's ambush, just before the fight
    say(&perso, _("Il faudra m'affronter !"));
    // TRANSLATORS: vagabond, laughing at the hero just before the fight
    say(&vagabond, _("Ahahah..."));
    vagabond.scene = 1;
    fight(&vagabond);
    return;
  }
  // 2: the robbery, whatever the fight's outcome
  if (at(&ile, 14, 14) && vagabond.scene == 1) {
    // TRANSLATORS: vagabond, after the fight, whatever its outcome, before robbing the hero
    say(&vagabond, _("Je te laisse la vie..."));
    perso.gold = 0;
    // TRANSLATORS: vagabond, after taking all the hero's gold
    say(&vagabond, _("Merci pour les pièces !"));
    // TRANSLATORS: vagabond, laughing as he walks off with the hero's money
    say(&vagabond, _("Ahahah..."));
    dplChara(&vagabond, 3, 5);
    placeChara(nullptr, &vagabond, -1, -1, 0);
    vagabond.scene = 2;
  }
  if (!flow_running()) return;
  // 3: the grandmother's welcome
  if (game.map == &maison1 && perso.y <= 2 && gmere.gold > 0) {
    gmere.dir = 2;
    // TRANSLATORS: gmere, grandmother who sent for the hero, when he walks into her house, line 1
    say(&gmere, _("Ah !"));
    // TRANSLATORS: gmere, welcome, line 2: relieved to see the hero
    say(&gmere, _("C'est toi ! Ouf..."));
    // TRANSLATORS: hero, to the grandmother at her welcome
    say(&perso, _("Tu es seule ?"));
    // TRANSLATORS: gmere, welcome: the village men have all gone to the castle
    say(&gmere, _("Oui. Ils sont tous au château..."));
    // TRANSLATORS: gmere, welcome
    say(&gmere, _("La famille royale est en danger."));
    // TRANSLATORS: hero, to the grandmother: the letter that called him
    say(&perso, _("C'est pourquoi vous m'avez appelé ?"));
    if (perso.pv <= 15) {
      // TRANSLATORS: gmere, welcome, only when the hero is low on life (after the vagrant)
      say(&gmere, _("Oui. Mais tu sembles épuisé ?"));
      // TRANSLATORS: hero, hiding that the vagrant beat him
      say(&perso, _("Un peu... C'est... le voyage !"));
      // TRANSLATORS: gmere, pointing him to the barrels where he can rest
      say(&gmere, _("Il y a de la bière..."));
    } else {
      // TRANSLATORS: gmere, welcome, instead of the three lines above when the hero is healthy
      say(&gmere, _("Tu es perspicace."));
    }
    // TRANSLATORS: hero, to the grandmother
    say(&perso, _("Je vais leur apporter mon aide."));
    // TRANSLATORS: gmere, welcome
    say(&gmere, _("Sois prudent... Je compte sur toi."));
    // TRANSLATORS: gmere, giving the hero some gold
    say(&gmere, _("Voilà qui te sera peut-etre utile."));
    perso.gold += storyNumbers.gmereGives;
    gmere.gold = 0;
    // TRANSLATORS: gmere, last line of the welcome
    say(&gmere, _("Va vite !"));
  }
  if (!flow_running()) return;
  // 4: the gate guards and the castle door guard (first match only)
  if (at(&entree, 10, 1) && garde1.beaten == 0) {
    // TRANSLATORS: garde1, when the hero steps up to the castle gate; a fight follows
    say(&garde1, _("Stop ! T'es mort !"));
    fight(&garde1);
    return;
  }
  if (at(&entree, 10, 1) && garde2.beaten == 0) {
    // TRANSLATORS: garde2, when the hero steps up to the gate after beating garde1, line 1
    say(&garde2, _("Pas mal..."));
    // TRANSLATORS: garde2, line 2
    say(&garde2, _("Sûrement la chance du débutant..."));
    // TRANSLATORS: garde2, line 3; a fight follows
    say(&garde2, _("Tu ne l'auras pas deux fois !"));
    fight(&garde2);
    return;
  }
  if (at(&chateau, 10, 13) && garde3.y == 9 && garde3.beaten == 0) {
    dplChara(&garde3, 2, 3);
    // TRANSLATORS: garde3, castle door guard, when he walks up to the hero in the castle
    say(&garde3, _("Comment es-tu entré ici ??"));
    // TRANSLATORS: hero, answering garde3 (a joke: he simply used the door)
    say(&perso, _("Ben... Par la porte..."));
    // TRANSLATORS: garde3, thinking the hero is mocking him
    say(&garde3, _("Et il se fout de moi en plus !"));
    // TRANSLATORS: hero, insisting he is telling the truth
    say(&perso, _("Ben non... Vraiment !"));
    // TRANSLATORS: garde3, just before the fight
    say(&garde3, _("Grrr..."));
    fight(&garde3);
    return;
  }
  // 5: the ending
  if (boss.beaten == 1) {
    // TRANSLATORS: boss, beaten, after the final fight
    say(&boss, _("Rah... Comment est-ce possible ?"));
    // TRANSLATORS: boss, beaten, vanishing in a white flash
    say(&boss, _("Je me vengerai..."));
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
    // TRANSLATORS: princesse, the princess, walking up to the hero at the end of the game
    say(&princesse, _("Merci infiniment !"));
    if (flow_running()) bravo();
  }
}
