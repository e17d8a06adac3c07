// The player's few files (the settings, the kept game, user-dirs.dirs) as the desktop game reads
// and replaces them: never a wait on something that is not a file, never a write through a link
// the game did not make, never a half-written file.
#pragma once

#include <cstddef>
#include <string>

namespace files {

enum class Got { text, missing, refused };

// Reads `path` whole when it is a regular file of at most `limit` bytes. It is opened without
// blocking, so a named pipe or a device put there never hangs the game: anything that is not a
// regular file, or a larger one, is refused with `why` ("is a folder", "is not a regular file",
// "is larger than a kept game can be"...). `missing`: nothing there at all.
Got read(const std::string& path, size_t limit, std::string& text, std::string& why);

// Replaces the file at `path` with `text`, whole or not at all: a new temporary file of this
// process only (created exclusively, never through a link) is written, flushed to the disk and
// renamed over it, and the folder is flushed too (made when missing). A symbolic link at `path` is
// replaced by the file, its target left alone; with `throughLink` (the settings, which dotfile
// managers link) the link stays and its target is replaced. A folder there is refused. On failure
// the temporary file is removed and `why` says what went wrong in one phrase.
bool replace(const std::string& path, const std::string& text, bool throughLink, std::string& why);

}  // namespace files
