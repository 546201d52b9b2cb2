#pragma once

class Folders;

// The import command: the databases of the container on the Desktop replace
// the local files. Returns true when the list must be cleared and the current
// database reloaded (also when there is no container at all), false when the
// import stopped at a failure.
bool ImportDatabases(const Folders &folders);
