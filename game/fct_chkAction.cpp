// The action key: doors, examining the scenery, talking, resting and eating.
#include "globals.h"

#include <initializer_list>

const Door doorTable[doorCount] = {
    {&ile, 93, -1, -1, &village},      {&village, 146, -1, -1, &ile},
    {&village, 239, 17, 6, &maison1},  {&maison1, 138, -1, -1, &village},
    {&village, 239, 6, 3, &maison2},   {&maison2, 251, -1, -1, &village},
    {&village, 239, 17, 10, &maison3}, {&maison3, 138, -1, -1, &village},
    {&ile, 35, -1, -1, &entree},       {&entree, 64, -1, -1, &ile},
    {&entree, 182, -1, -1, &chateau},  {&chateau, 182, -1, -1, &entree},
};

namespace {

void say(chara* who, const char* line) { affTextPlus(line, who); }

void fight(chara* opponent) {
  ennemi = opponent;
  gameCombat();
}

bool doors(int tile) {
  for (const Door& d : doorTable) {
    if (game.map != d.from || tile != d.tile) continue;
    if (d.heroX >= 0 && (perso.x != d.heroX || perso.y != d.heroY)) continue;
    openLevel(d.to);
    gameEngine();
    return true;
  }
  return false;
}

bool scenery(int tile) {
  chara* h = &perso;
  if (tile == 1) {
    say(h, "Moi ? Me rouler dans l'herbe ?");
  } else if (tile == 6) {
    say(h, "Oh ! Un arbre !");
    say(h, "...");
    say(h, "Et alors ?");
  } else if (tile == 106 && game.map == &maison1) {
    say(h, "Il y a plus urgent...");
    say(h, "... et puis je sais pas cuisiner.");
  } else if (tile == 116 && game.map == &maison1) {
    say(h, "Ouch !");
    perso.y += 1;
    perso.py += 32;
  } else if (tile == 96 && game.map == &maison1) {
    say(h, "Pas terrible la vue...");
  } else if ((tile == 102 || tile == 103) && game.map == &maison1) {
    say(h, "Il y a des plis.");
  } else if (tile == 57 && game.map == &maison2) {
    say(h, "On dirait du Monet.");
  } else if (tile == 243 && game.map == &maison2) {
    say(h, "Je n'ai pas de temps \xE0 perdre.");
  } else if (tile == 71 && game.map == &maison2) {
    say(h, "Hey, c'est risqu\xE9 ici !");
  } else if (tile == 190 && game.map == &entree) {
    say(h, "Ca ne se fait pas...");
    perso.dir = 2;
  } else if (tile == 94 && game.map == &entree) {
    say(h, "Quelle violence...");
    say(h, "J'ai bien peur qu'ils soient...");
    say(h, "... tous morts.");
  } else if (tile == 221 && game.map == &chateau) {
    say(h, "Je pr\351f\xE8re largement ma tunique.");
  } else if (tile == 193 && game.map == &chateau) {
    say(h, "Je ne suis pas un guerrier...");
    say(h, "Dommage...");
  } else if (tile == 195 && game.map == &chateau) {
    say(h, "Rien de passionnant...");
  } else if (tile == 197 && game.map == &chateau) {
    say(h, "Pas un seul manga...");
  } else {
    return false;
  }
  return true;
}

void gift() {
  if (gpere.pv != storyNumbers.gpereLife) {
    say(&gpere, "Ah, si j'\xE9tais jeune...");
    return;
  }
  say(&gpere, "Alors comme \347a, tu y vas aussi...");
  say(&gpere, "En fait, je suis inquiet pour eux.");
  say(&gpere, "J'\xE9tais un grand combattant !");
  say(&gmere2, "Ah non, tu n'iras pas !");
  say(&gmere2, "Tu es trop vieux !");
  say(&gpere, "Grmf... C'est vrai...");
  say(&gpere, "Bon, tr\xEAve de bavardage...");
  say(&gpere, "Je vais t'aider !");
  say(&gpere, "Concentre toi !");
  say(&gpere, "Gnnn...");
  say(&perso, "Hmmf...");
  perso.pvMax += storyNumbers.giftPvMax;
  perso.manaMax += storyNumbers.giftManaMax;
  perso.force += storyNumbers.giftForce;
  perso.resistance += storyNumbers.giftResistance;
  gpere.pv -= storyNumbers.gpereGives;
  say(&gpere, "Voil\xE0.");
  say(&gpere, "Sers toi de ma force avec sagesse.");
}

void hen() {
  affText("Cotcot...");
  dplChara(&poule, 2, 1);
  dplChara(&poule, 3, 1);
  dplChara(&poule, 0, 1);
  dplChara(&poule, 1, 1);
  affText("Cotcot ! Cotcot !");
}

void bossTalk() {
  if (perso.force >= storyNumbers.masterAsks && perso.resistance >= storyNumbers.masterAsks) {
    if (boss.beaten != 0) return;
    say(&boss, "Il te reste peu de temps \xE0 vivre...");
    say(&boss, "Profite bien de ton dernier combat !");
    say(&boss, "Huhuhu !");
    say(&perso, "Quel rire pourri !");
    say(&boss, "Grrr ! Tu vas me le payer !");
    fight(&boss);
    return;
  }
  say(&boss, "C'est une blague ?");
  say(&boss, "N'imagine m\xEAme pas m'affronter !");
  say(&boss, "Reviens quand tu seras pr\xEAt...");
  say(&boss, "Et sache que je n'h\xE9siterai pas...");
  say(&boss, "... \xE0 te donner la mort !");
}

// A castle guard: his lines, then a fight while he is unbeaten.
void castleGuard(chara* g, std::initializer_list<const char*> lines, const char* beatenLine) {
  if (g->beaten) {
    say(g, beatenLine);
    return;
  }
  for (const char* l : lines) say(g, l);
  fight(g);
}

// Returns true when the character answered.
bool talk(chara* c) {
  if (c == &gmere) {
    say(&gmere, "Ne traine pas !");
    say(&perso, "Ca va, ca va...");
  } else if (c == &pfille) {
    say(&pfille, "Tu veux jouer avec nous ?");
    say(&perso, "Euh...");
    say(&pgarcon, "Hey, toi ! Drague pas ma cherie !");
    say(&pfille, "Qu'il est choux ! Ben tant pis...");
    say(&pfille, "Au revoir !");
  } else if (c == &pgarcon) {
    say(&pgarcon, "Tu me d\xE9ranges !");
  } else if (c == &femme1) {
    say(&femme1, "Regardez comme ils sont mignons !");
    say(&femme1, "Mais...");
    say(&femme1, "Je m'inqui\xE8te pour mon mari...");
  } else if (c == &femme2) {
    say(&femme2, "Mais que font-il ?");
    say(&femme2, "Pourvu qu'ils n'aient rien !");
    say(&femme2, "Oh, mon mari...");
  } else if (c == &gmere2) {
    say(&gmere2, "On attend nos enfants...");
  } else if (c == &gpere) {
    gift();
  } else if (c == &poule) {
    hen();
  } else if (c == &garde1) {
    if (garde1.beaten) {
      say(&garde1, "Puf... Puf...");
      say(&garde1, "J'en peux plus !");
    } else {
      say(&garde1, "T'as pas int\xE9r\xEAt a entrer...");
    }
  } else if (c == &garde2) {
    if (garde2.beaten) {
      say(&garde2, "Bravo... Mais...");
      say(&garde2, "Tu ne sais pas ce qui t'attend !");
    } else {
      say(&garde2, "Si tu tentes d'entrer...");
      say(&garde2, garde1.beaten ? "Je ne ferai qu'une bouch\351e de toi !"
                                 : "Il ne fera qu'une bouch\351e de toi !");
    }
  } else if (c == &garde3) {
    castleGuard(&garde3, {"Encore ?"}, "Bravo... Tu m'as eu...");
  } else if (c == &garde4) {
    castleGuard(&garde4,
                {"Notre ma\xEEtre est le plus fort...", "Le d\xE9ranger pour toi ?", "S\xFBrement pas !"},
                "Juste un moment d'inattention...");
  } else if (c == &garde5) {
    castleGuard(&garde5,
                {"Cette \xEEle fut facile \xE0 acqu\xE9rir.", "Tu n'aurais quand m\xEAme pas...",
                 "... la pr\xE9tention de me vaincre ?"},
                "Quel pr\xE9tentieux...");
  } else if (c == &garde6) {
    castleGuard(&garde6, {"J'en ai tu\xE9 des paysans...", "Alors un en plus ou en moins..."},
                "Toi, tu n'es pas comme les autres !");
  } else if (c == &garde7) {
    castleGuard(&garde7, {"H\xE9h\xE9 un minus !", "Tu vas voir !!"}, "Enchant\xE9...");
  } else if (c == &boss) {
    bossTalk();
  } else if (c == &princesse) {
    say(&princesse, "Pars vite... C'est trop risqu\xE9 !");
  } else if (c == &roi) {
    say(&roi, "Gagagaga...");
    say(&roi, "Aide nous...");
  } else if (c == &reine) {
    say(&reine, "On est coinc\xE9s ici...");
    say(&reine, "Il va nous tuer...");
  } else {
    return false;
  }
  return true;
}

}  // namespace

void chkAction() {
  if (!(Key & KEY_A) || !(KeyCh & KEY_A)) return;
  int tx = perso.x, ty = perso.y;
  switch (perso.dir) {
    case 0: ty--; break;
    case 1: tx++; break;
    case 2: ty++; break;
    default: tx--; break;
  }
  if (tx < 0 || tx >= game.w || ty < 0 || ty >= game.h) return;
  chara* front = nullptr;
  for (int i = 0; i < nbsprites; i++) {
    chara* c = sprites[i];
    if (c && c->map == game.map && c->x == tx && c->y == ty) front = c;
  }
  const int tile = front ? 0 : game.tiles[ty * game.w + tx];

  if (doors(tile)) return;
  if (scenery(tile)) return;
  if (front && talk(front)) return;

  if (tile == 101 || tile == 73 || tile == 150) {
    if (perso.pv < perso.pvMax || perso.mana < perso.manaMax) {
      say(&perso, "Hmmm...");
      perso.pv = perso.pvMax;
      perso.mana = perso.manaMax;
    }
  } else if (tile == 254) {
    say(&perso, "Chomp chomp...");
    game.tiles[ty * game.w + tx] = 1;
    perso.pv = perso.pvMax;
    perso.mana = perso.manaMax;
    say(&perso, "Ca fait du bien...");
  }
}
