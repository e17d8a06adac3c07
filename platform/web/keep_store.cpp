// The kept game in the page: the browser's own storage, through library_talmyr.js. The page keeps
// the game when its tab is hidden or closed, besides at each change of map.
#include "keep_store.h"
#include "keep.h"

#include <emscripten.h>

#include <cstdio>
#include <vector>

extern "C" {
int talmyr_store_size(const char* key);
void talmyr_store_get(const char* key, char* out, int size);
int talmyr_store_put(const char* key, const char* text);
void talmyr_store_remove(const char* key);
void talmyr_store_watch();
void talmyr_store_key(char* out, int size);

// Called by the page as it is hidden or goes away.
EMSCRIPTEN_KEEPALIVE void talmyr_keep_now() { keep::closing(); }
}

namespace store {

std::string defaultPlace() {
  talmyr_store_watch();
  char key[1024] = {};
  talmyr_store_key(key, sizeof key);
  return key;
}

bool read(const std::string& place, std::string& text) {
  text.clear();
  const int n = place.empty() ? -1 : talmyr_store_size(place.c_str());
  if (n < 0 || n > 65536) return false;
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  talmyr_store_get(place.c_str(), buf.data(), n + 1);
  text.assign(buf.data(), static_cast<size_t>(n));
  return true;
}

bool write(const std::string& place, const std::string& text, std::string& error) {
  if (talmyr_store_put(place.c_str(), text.c_str())) return true;  // one item: whole or not at all
  error = "the browser's storage refuses it";
  return false;
}

void setAside(const std::string& place) {
  std::string text;
  if (read(place, text)) talmyr_store_put((place + ".bad").c_str(), text.c_str());
  talmyr_store_remove(place.c_str());
}

void forget(const std::string& place) {
  if (!place.empty()) talmyr_store_remove(place.c_str());
}

}  // namespace store
