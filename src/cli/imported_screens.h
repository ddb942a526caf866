// The names of the screens the batch companion brings in from snapshots,
// tapes and pictures.
#pragma once

#include <string>

// The screen file of a snapshot or tape: the file part of `path` without its
// last extension (a leading "." starts no extension), followed by ".scr":
// "games/Zap.tzx" gives "Zap.scr".
std::string extractedScreenName(const std::string& path);

// The screen file of a picture: the file part of `path` without a trailing
// ".png" (in any case), followed by ".scr": "art/title.png" gives "title.scr".
std::string pictureScreenName(const std::string& path);

// The name of the `number`-th screen (2 and on) written under `name`: "-"
// and the number before the last extension of its file part, or at its
// end: ("title.scr", 2) gives "title-2.scr", ("out", 3) "out-3".
std::string numberedName(const std::string& name, int number);
