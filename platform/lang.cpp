// The language: the catalogs compiled from data/po, and the choice by locale.
#include "lang.h"

#include "assets.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const Catalog* current = nullptr;  // null: French
int misses = 0;

bool french(const std::string& code) { return code.compare(0, 2, "fr") == 0; }

// The C locale (C, C.UTF-8, POSIX, or none at all) speaks the game's own language.
bool plain(const std::string& locale) {
  return locale.empty() || locale == "C" || locale == "POSIX" || locale.compare(0, 2, "C.") == 0;
}

const Catalog* catalog(const std::string& code) {
  if (code.size() < 2) return nullptr;
  for (int i = 0; i < catalogCount; i++)
    if (code.compare(0, 2, catalogs[i].language) == 0) return &catalogs[i];
  return nullptr;
}

}  // namespace

const char* language() { return current ? current->language : "fr"; }

bool hasLanguage(const std::string& code) { return french(code) || catalog(code) != nullptr; }

bool setLanguage(const std::string& code) {
  misses = 0;
  if (french(code)) {
    current = nullptr;
    return true;
  }
  const Catalog* c = catalog(code);
  if (c) current = c;
  return c != nullptr;
}

std::string localeLanguage() {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::string locale;
  for (const char* n : names) {
    const char* v = std::getenv(n);
    if (v && *v) {
      locale = v;
      break;
    }
  }
  if (plain(locale)) return "fr";  // gettext too ignores LANGUAGE in the C locale
  const char* list = std::getenv("LANGUAGE");
  if (list &&
      std::strspn(list, ":") < std::strlen(list)) {  // empty entries are skipped, as gettext does
    // the first language of the list that the game speaks; else, as for any other language,
    // English
    std::string entries = list;
    size_t start = 0;
    while (start <= entries.size()) {
      const size_t end = std::min(entries.find(':', start), entries.size());
      const std::string one = entries.substr(start, end - start);
      if (!one.empty() && (french(one) || catalog(one)))
        return french(one) ? "fr" : one.substr(0, 2);
      start = end + 1;
    }
    return "en";
  }
  if (french(locale)) return "fr";
  return catalog(locale) ? locale.substr(0, 2) : "en";
}

const char* tr(const char* french) {
  if (!current || !french || !*french) return french;
  int lo = 0, hi = current->count - 1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int c = std::strcmp(current->entries[mid].french, french);
    if (c == 0) return current->entries[mid].text;
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  misses++;
  return french;
}

const char* untr(const char* shown) {
  if (!current || !shown) return shown;
  for (int i = 0; i < current->count; i++)
    if (std::strcmp(current->entries[i].text, shown) == 0) return current->entries[i].french;
  return shown;
}

int untranslated() { return misses; }
