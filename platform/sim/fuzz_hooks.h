// What programs that drive the simulated desktop many thousand times a second (the fuzz targets)
// need beyond desktop.h: profiles held in memory instead of files, and a direct look-up of a tree
// item instead of a walk over the whole tree.
#pragma once
#include <map>
#include <string>

#include "platform/desktop.h"

namespace desktop {

// On: the profile functions read and write the files in ProfilesInMemory() and never touch the
// file system. Reset() leaves both the setting and the files alone.
void KeepProfilesInMemory(bool keep);
// The profiles kept in memory: full path (profile directory, '/', file name) to the file's bytes.
std::map<std::string, std::string>& ProfilesInMemory();

// True when `item` is an item of the tree now (handles of deleted items never come back).
bool IsTreeItem(Handle tree, Handle item);

}  // namespace desktop
