// The language the game speaks: French, its own, or a translation compiled in from data/po.
#pragma once

#include <string>

// The language of this run: "fr" (the game's own texts) or one with a catalog ("en").
const char* language();
// True for "fr" and for a language with a catalog ("en", "en_GB" ...).
bool hasLanguage(const std::string& code);
// Chooses the language; false (and French kept) for one the game does not have.
bool setLanguage(const std::string& code);
// The language the player's locale asks for, read as gettext reads it: LANGUAGE (a list, the
// first language the game has wins), unless the locale is C or POSIX; then LC_ALL, LC_MESSAGES,
// LANG. French for French locales and for C, POSIX or none; a language the game has for its own
// locales; English for every other language.
std::string localeLanguage();
// A French text of the game (ISO-8859-1), as the player reads it in the language of the run.
const char* tr(const char* french);
// The French text that a text shown in the language of the run translates (tests and tools);
// the text itself when it is no translation.
const char* untr(const char* shown);
// How many texts were asked for that the language of the run lacks (0 for French).
int untranslated();
