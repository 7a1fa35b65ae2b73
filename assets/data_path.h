#pragma once

#include <string>

// Where the game finds a data file. The working directory comes first, so a game started
// beside its files (as scripts/play and the tests start it) reads exactly those. A file that
// is not there is looked for in $SKYHUNT_DATADIR when that is set, then in the data folder of
// an installed game beside its executable's folder (../share/games/skyhunt). Returns the
// first path that exists; when none does, says on standard error where it looked and
// returns the bare name, so that the caller's own not-found message names the file as ever.
std::string findDataFile(const char* name);

// The environment variable that names a data folder of the player's choosing.
inline constexpr const char* dataDirVariable = "SKYHUNT_DATADIR";
