// The story's rules of a possible world: what a kept game may hold, given how the story gives
// and takes (the maps' walls and food, who stands where, the order of the duels, the hero's
// figures earned from the story's numbers and the fighters' table).
#include "keep.h"

#include <set>

namespace keep {

namespace {

// The tile at (x, y) of map m as the kept world has it.
int tileAt(const World& w, int m, int x, int y) {
  if (w.eaten[m][y * worldMaps[m].w + x]) return EATEN;
  return worldMaps[m].built[y * worldMaps[m].w + x];
}

bool walkable(const World& w, int m, int x, int y) {
  if (!inside(m, x, y)) return false;
  const int t = tileAt(w, m, x, y);
  return t >= 0 && t < 256 && marche[t] == 1;
}

int beaten(const World& w, const chara* c) {
  const CastEntry* e = castEntry(c);
  return w.cast[e - worldCast].beaten;
}

}  // namespace

bool possible(const World& w, std::string& why) {
  auto no = [&why](const char* reason) {
    why = reason;
    return false;
  };
  const StoryNumbers& n = storyNumbers;
  const int afterGift = n.gpereLife - n.gpereGives;  // the grandfather's life once he has given
  if (!walkable(w, w.map, w.x, w.y)) return no("the hero is off his map or inside a wall");
  if (w.dir < 0 || w.dir > 3 || w.frame < 0 || w.frame > 1) return no("the hero faces no way");
  for (int m = 0; m < mapCount; m++) {
    // food is eaten on the map the hero stands on, or on one he has left since
    for (int i = 0; i < worldMaps[m].w * worldMaps[m].h; i++) {
      if (!w.eaten[m][i]) continue;
      if (worldMaps[m].built[i] != FOOD) return no("food eaten where none was");
      if (m != w.map && w.leftX[m] == 0 && w.leftY[m] == 0)
        return no("food eaten on a map never left");
    }
    if (w.leftX[m] == 0 && w.leftY[m] == 0) continue;
    if (!walkable(w, m, w.leftX[m], w.leftY[m])) return no("a map was left from inside a wall");
  }
  // the cast: each on his own map (only the vagrant ever leaves), no two on one tile
  std::set<std::pair<int, int>> taken[mapCount];
  taken[w.map].insert({w.x, w.y});
  for (int i = 1; i < castCount; i++) {
    const Person& p = w.cast[i];
    const chara* c = worldCast[i].who;
    const bool fighter = c->pvMax > 0;
    if (p.map < 0) {
      if (c != &vagabond || p.x != -1 || p.y != -1) return no("a character is missing");
    } else {
      if (worldCast[i].home != worldMaps[p.map].map) return no("a character is on another map");
      if (!inside(p.map, p.x, p.y)) return no("a character is off his map");
      if (!taken[p.map].insert({p.x, p.y}).second) return no("two stand on one tile");
    }
    if (p.dir < 0 || p.dir > 3 || p.frame < 0 || p.frame > 1) return no("a character faces no way");
    if (p.beaten < 0 || p.beaten > 1 || (p.beaten && !fighter))
      return no("a beaten flag out of place");
    if (fighter && (p.pv < 0 || p.pv > c->pvMax || (p.pv == 0) != (p.beaten == 1)))
      return no("a fighter's life is out of bounds");
    if (!fighter && p.pv != (c == &gpere ? p.pv == afterGift ? afterGift : n.gpereLife : 0))
      return no("a life is out of bounds");
    if (p.gold != (c == &gmere && p.gold == n.gmerePurse ? n.gmerePurse : 0))
      return no("a character's gold is out of bounds");
    if (p.scene != 0 && (c != &vagabond || p.scene > 2 || p.scene < 0))
      return no("a scene out of order");
  }
  const Person& vag = w.cast[castEntry(&vagabond) - worldCast];
  if ((vag.scene == 2) != (vag.map < 0)) return no("the vagrant is gone before the robbery");
  // the story's order: the gate's two guards first, and only then the castle
  const int g1 = beaten(w, &garde1), g2 = beaten(w, &garde2);
  const bool gates = g1 && g2;
  if (g2 && !g1) return no("the gate's guards beaten out of order");
  for (const chara* c : {&garde3, &garde4, &garde5, &garde6, &garde7, &boss})
    if (beaten(w, c) && !gates) return no("a castle guard beaten before the gate");
  if ((worldMaps[w.map].map == &chateau || w.leftX[mapIndex(&chateau)] != 0) && !gates)
    return no("the castle entered before the gate");
  // the hero: what he has is what the story gave him
  // the grandfather's gift and each duel won, as the fighters' table gives them
  const int gift = w.cast[castEntry(&gpere) - worldCast].pv == afterGift ? 1 : 0;
  int pvMax = n.heroPv + n.giftPvMax * gift, force = n.heroForce + n.giftForce * gift;
  int resistance = n.heroResistance + n.giftResistance * gift;
  for (const FighterEntry& f : fighterTable) {
    if (!beaten(w, f.who)) continue;
    pvMax += f.bonusPvMax;
    force += f.bonusForce;
    resistance += f.bonusResistance;
  }
  if (w.pvMax != pvMax || w.manaMax != n.heroMana + n.giftManaMax * gift)
    return no("the hero's maximum life or magic was not earned");
  if (w.force != force || w.resistance != resistance)
    return no("the hero's strength or resistance was not earned");
  if (beaten(w, &boss) && (w.force < n.masterAsks || w.resistance < n.masterAsks))
    return no("the master beaten too soon");
  if (w.pv < 1 || w.pv > w.pvMax || w.mana < 0 || w.mana > w.manaMax)
    return no("the hero's life or magic is out of bounds");
  const int gmereGold = w.cast[castEntry(&gmere) - worldCast].gold;
  if (w.gold < 0 ||
      w.gold > (vag.scene == 2 ? 0 : n.heroGold) + (gmereGold == 0 ? n.gmereGives : 0))
    return no("the hero's gold was not earned");
  return true;
}

}  // namespace keep
