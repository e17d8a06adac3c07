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
    // TRANSLATORS: hero, examining grass anywhere outdoors
    say(h, _("Moi ? Me rouler dans l'herbe ?"));
  } else if (tile == 6) {
    // TRANSLATORS: hero, examining a tree, line 1 of 3
    say(h, _("Oh ! Un arbre !"));
    // TRANSLATORS: hero, examining a tree, line 2 of 3 (a silent pause)
    say(h, _("..."));
    // TRANSLATORS: hero, examining a tree, line 3 of 3
    say(h, _("Et alors ?"));
  } else if (tile == 106 && game.map == &maison1) {
    // TRANSLATORS: hero, examining the kitchen shelf with pots in the grandmother's house
    say(h, _("Il y a plus urgent..."));
    // TRANSLATORS: hero, kitchen shelf, second line
    say(h, _("... et puis je sais pas cuisiner."));
  } else if (tile == 116 && game.map == &maison1) {
    // TRANSLATORS: hero, touching the fire in the grandmother's fireplace; he steps back
    say(h, _("Ouch !"));
    perso.y += 1;
    perso.py += 32;
  } else if (tile == 96 && game.map == &maison1) {
    // TRANSLATORS: hero, looking out of the grandmother's window
    say(h, _("Pas terrible la vue..."));
  } else if ((tile == 102 || tile == 103) && game.map == &maison1) {
    // TRANSLATORS: hero, examining the grandmother's bed
    say(h, _("Il y a des plis."));
  } else if (tile == 57 && game.map == &maison2) {
    // TRANSLATORS: hero, looking at the painting in the grandparents' house
    say(h, _("On dirait du Monet."));
  } else if (tile == 243 && game.map == &maison2) {
    // TRANSLATORS: hero, looking at the grandfather clock in the grandparents' house
    say(h, _("Je n'ai pas de temps à perdre."));
  } else if (tile == 71 && game.map == &maison2) {
    // TRANSLATORS: hero, looking at the axe hanging on the grandparents' wall
    say(h, _("Hey, c'est risqué ici !"));
  } else if (tile == 190 && game.map == &entree) {
    // TRANSLATORS: hero, about to peek through a castle window from the grounds; he turns away
    say(h, _("Ca ne se fait pas..."));
    perso.dir = 2;
  } else if (tile == 94 && game.map == &entree) {
    // TRANSLATORS: hero, examining a body lying in the castle grounds, line 1
    say(h, _("Quelle violence..."));
    // TRANSLATORS: hero, bodies in the castle grounds, line 2
    say(h, _("J'ai bien peur qu'ils soient..."));
    // TRANSLATORS: hero, bodies in the castle grounds, line 3
    say(h, _("... tous morts."));
  } else if (tile == 221 && game.map == &chateau) {
    // TRANSLATORS: hero, looking at a suit of armor in the castle
    say(h, _("Je préfère largement ma tunique."));
  } else if (tile == 193 && game.map == &chateau) {
    // TRANSLATORS: hero, looking at a shield with crossed swords on the castle wall, line 1
    say(h, _("Je ne suis pas un guerrier..."));
    // TRANSLATORS: hero, shield and swords, line 2
    say(h, _("Dommage..."));
  } else if (tile == 195 && game.map == &chateau) {
    // TRANSLATORS: hero, looking at one of the castle's bookshelves
    say(h, _("Rien de passionnant..."));
  } else if (tile == 197 && game.map == &chateau) {
    // TRANSLATORS: hero, looking at the other castle bookshelf
    say(h, _("Pas un seul manga..."));
  } else {
    return false;
  }
  return true;
}

void gift() {
  if (gpere.pv != storyNumbers.gpereLife) {
    // TRANSLATORS: gpere, when the hero talks to him again after the gift
    say(&gpere, _("Ah, si j'étais jeune..."));
    return;
  }
  // TRANSLATORS: gpere, the hero's grandfather, in his house, line 1 of his gift scene
  say(&gpere, _("Alors comme ça, tu y vas aussi..."));
  // TRANSLATORS: gpere, gift scene
  say(&gpere, _("En fait, je suis inquiet pour eux."));
  // TRANSLATORS: gpere, gift scene: proud of his past
  say(&gpere, _("J'étais un grand combattant !"));
  // TRANSLATORS: gmere2, the grandfather's wife, cutting in
  say(&gmere2, _("Ah non, tu n'iras pas !"));
  // TRANSLATORS: gmere2, to the grandfather
  say(&gmere2, _("Tu es trop vieux !"));
  // TRANSLATORS: gpere, grumbling, giving in to his wife
  say(&gpere, _("Grmf... C'est vrai..."));
  // TRANSLATORS: gpere, gift scene
  say(&gpere, _("Bon, trêve de bavardage..."));
  // TRANSLATORS: gpere, gift scene
  say(&gpere, _("Je vais t'aider !"));
  // TRANSLATORS: gpere, to the hero, before passing on his strength
  say(&gpere, _("Concentre toi !"));
  // TRANSLATORS: gpere, straining as he passes on his strength
  say(&gpere, _("Gnnn..."));
  // TRANSLATORS: hero, receiving the grandfather's strength
  say(&perso, _("Hmmf..."));
  perso.pvMax += storyNumbers.giftPvMax;
  perso.manaMax += storyNumbers.giftManaMax;
  perso.force += storyNumbers.giftForce;
  perso.resistance += storyNumbers.giftResistance;
  gpere.pv -= storyNumbers.gpereGives;
  // TRANSLATORS: gpere, when the gift is done
  say(&gpere, _("Voilà."));
  // TRANSLATORS: gpere, last line of the gift scene
  say(&gpere, _("Sers toi de ma force avec sagesse."));
}

void hen() {
  // TRANSLATORS: the hen in the village, shown without a speaker, before it runs around
  affText(_("Cotcot..."));
  dplChara(&poule, 2, 1);
  dplChara(&poule, 3, 1);
  dplChara(&poule, 0, 1);
  dplChara(&poule, 1, 1);
  // TRANSLATORS: the hen, after running around in a circle
  affText(_("Cotcot ! Cotcot !"));
}

void bossTalk() {
  if (perso.force >= storyNumbers.masterAsks && perso.resistance >= storyNumbers.masterAsks) {
    if (boss.beaten != 0) return;
    // TRANSLATORS: boss, when the hero is strong enough, line 1
    say(&boss, _("Il te reste peu de temps à vivre..."));
    // TRANSLATORS: boss, line 2
    say(&boss, _("Profite bien de ton dernier combat !"));
    // TRANSLATORS: boss, his laugh, which the hero then mocks
    say(&boss, _("Huhuhu !"));
    // TRANSLATORS: hero, mocking the castle master's laugh
    say(&perso, _("Quel rire pourri !"));
    // TRANSLATORS: boss, furious, just before the final fight
    say(&boss, _("Grrr ! Tu vas me le payer !"));
    fight(&boss);
    return;
  }
  // TRANSLATORS: boss, the castle's master on his throne, when the hero is still too weak, line 1
  say(&boss, _("C'est une blague ?"));
  // TRANSLATORS: boss, hero too weak, line 2
  say(&boss, _("N'imagine même pas m'affronter !"));
  // TRANSLATORS: boss, hero too weak, line 3
  say(&boss, _("Reviens quand tu seras prêt..."));
  // TRANSLATORS: boss, hero too weak, line 4
  say(&boss, _("Et sache que je n'hésiterai pas..."));
  // TRANSLATORS: boss, hero too weak, line 5
  say(&boss, _("... à te donner la mort !"));
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
    // TRANSLATORS: gmere, when the hero talks to her again
    say(&gmere, _("Ne traine pas !"));
    // TRANSLATORS: hero, answering the grandmother
    say(&perso, _("Ca va, ca va..."));
  } else if (c == &pfille) {
    // TRANSLATORS: pfille, little girl in the village, when the hero talks to her
    say(&pfille, _("Tu veux jouer avec nous ?"));
    // TRANSLATORS: hero, embarrassed by the little girl's question
    say(&perso, _("Euh..."));
    // TRANSLATORS: pgarcon, little boy next to her, jealous, cutting in
    say(&pgarcon, _("Hey, toi ! Drague pas ma cherie !"));
    // TRANSLATORS: pfille, delighted by the boy's jealousy ("he" is the boy)
    say(&pfille, _("Qu'il est choux ! Ben tant pis..."));
    // TRANSLATORS: pfille, saying goodbye to the hero
    say(&pfille, _("Au revoir !"));
  } else if (c == &pgarcon) {
    // TRANSLATORS: pgarcon, little boy in the village, when the hero talks to him
    say(&pgarcon, _("Tu me déranges !"));
  } else if (c == &femme1) {
    // TRANSLATORS: femme1, village woman watching the children, line 1
    say(&femme1, _("Regardez comme ils sont mignons !"));
    // TRANSLATORS: femme1, line 2
    say(&femme1, _("Mais..."));
    // TRANSLATORS: femme1, line 3 (her husband went to the castle)
    say(&femme1, _("Je m'inquiète pour mon mari..."));
  } else if (c == &femme2) {
    // TRANSLATORS: femme2, woman in the third village house, line 1: the men at the castle
    say(&femme2, _("Mais que font-il ?"));
    // TRANSLATORS: femme2, line 2
    say(&femme2, _("Pourvu qu'ils n'aient rien !"));
    // TRANSLATORS: femme2, line 3
    say(&femme2, _("Oh, mon mari..."));
  } else if (c == &gmere2) {
    // TRANSLATORS: gmere2, the grandfather's wife, in their house
    say(&gmere2, _("On attend nos enfants..."));
  } else if (c == &gpere) {
    gift();
  } else if (c == &poule) {
    hen();
  } else if (c == &garde1) {
    if (garde1.beaten) {
      // TRANSLATORS: garde1, out of breath, when the hero talks to him after beating him
      say(&garde1, _("Puf... Puf..."));
      // TRANSLATORS: garde1, beaten, second line
      say(&garde1, _("J'en peux plus !"));
    } else {
      // TRANSLATORS: garde1, right-hand guard at the castle gate, when the hero talks to him before
      // beating him
      say(&garde1, _("T'as pas intérêt a entrer..."));
    }
  } else if (c == &garde2) {
    if (garde2.beaten) {
      // TRANSLATORS: garde2, when the hero talks to him after beating him
      say(&garde2, _("Bravo... Mais..."));
      // TRANSLATORS: garde2, beaten, second line
      say(&garde2, _("Tu ne sais pas ce qui t'attend !"));
    } else {
      // TRANSLATORS: garde2, left-hand guard at the castle gate, when the hero talks to him before
      // beating him, line 1
      say(&garde2, _("Si tu tentes d'entrer..."));
      // TRANSLATORS: garde2, line 2 once the other gate guard is beaten: he means himself
      say(&garde2, garde1.beaten ? _("Je ne ferai qu'une bouchée de toi !")
                                 // TRANSLATORS: garde2, line 2 while the other gate guard (garde1)
                                 // is unbeaten: "he" is garde1
                                 : _("Il ne fera qu'une bouchée de toi !"));
    }
  } else if (c == &garde3) {
    castleGuard(&garde3,
                // TRANSLATORS: garde3, when the hero talks to him again before beating him; a fight
                // follows
                {_("Encore ?")},
                // TRANSLATORS: garde3, when the hero talks to him after beating him
                _("Bravo... Tu m'as eu..."));
  } else if (c == &garde4) {
    castleGuard(
        &garde4,
        // TRANSLATORS: garde4, castle guard in the lower left corner, line 1; a fight follows
        {_("Notre maître est le plus fort..."),
         // TRANSLATORS: garde4, line 2
         _("Le déranger pour toi ?"),
         // TRANSLATORS: garde4, line 3
         _("Sûrement pas !")},
        // TRANSLATORS: garde4, when the hero talks to him after beating him
        _("Juste un moment d'inattention..."));
  } else if (c == &garde5) {
    castleGuard(
        &garde5,
        // TRANSLATORS: garde5, castle guard in the lower right corner, line 1; a fight follows
        {_("Cette île fut facile à acquérir."),
         // TRANSLATORS: garde5, line 2
         _("Tu n'aurais quand même pas..."),
         // TRANSLATORS: garde5, line 3
         _("... la prétention de me vaincre ?")},
        // TRANSLATORS: garde5, when the hero talks to him after beating him (echoes the
        // word of his line 3)
        _("Quel prétentieux..."));
  } else if (c == &garde6) {
    castleGuard(&garde6,
                // TRANSLATORS: garde6, castle guard at the top left, line 1; a fight follows
                {_("J'en ai tué des paysans..."),
                 // TRANSLATORS: garde6, line 2
                 _("Alors un en plus ou en moins...")},
                // TRANSLATORS: garde6, when the hero talks to him after beating him
                _("Toi, tu n'es pas comme les autres !"));
  } else if (c == &garde7) {
    castleGuard(&garde7,
                // TRANSLATORS: garde7, castle guard at the top right, line 1; a fight follows
                {_("Héhé un minus !"),
                 // TRANSLATORS: garde7, line 2
                 _("Tu vas voir !!")},
                // TRANSLATORS: garde7, when the hero talks to him after beating him (ironic)
                _("Enchanté..."));
  } else if (c == &boss) {
    bossTalk();
  } else if (c == &princesse) {
    // TRANSLATORS: princesse, the princess, held in the castle
    say(&princesse, _("Pars vite... C'est trop risqué !"));
  } else if (c == &roi) {
    // TRANSLATORS: roi, the king, held in the castle, line 1: stammering with fear
    say(&roi, _("Gagagaga..."));
    // TRANSLATORS: roi, the king, line 2
    say(&roi, _("Aide nous..."));
  } else if (c == &reine) {
    // TRANSLATORS: reine, the queen, held in the castle, line 1
    say(&reine, _("On est coincés ici..."));
    // TRANSLATORS: reine, the queen, line 2: "he" is the castle's master
    say(&reine, _("Il va nous tuer..."));
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
      // TRANSLATORS: hero, resting by a barrel (beer or cider): life and magic restored
      say(&perso, _("Hmmm..."));
      perso.pv = perso.pvMax;
      perso.mana = perso.manaMax;
    }
  } else if (tile == 254) {
    // TRANSLATORS: hero, eating a basket of food
    say(&perso, _("Chomp chomp..."));
    game.tiles[ty * game.w + tx] = 1;
    perso.pv = perso.pvMax;
    perso.mana = perso.manaMax;
    // TRANSLATORS: hero, after eating the basket of food: life and magic restored
    say(&perso, _("Ca fait du bien..."));
  }
}
