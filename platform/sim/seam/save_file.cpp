#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>

#include "platform/dialog.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

bool AskSaveFilePath(std::string& path) { return simdesk::seam::AskSaveFile(path); }

// A link is followed: the file it names is replaced and the link stays (a link to nothing is not
// replaced). A target that is there but is no regular file (a directory, a device such as
// /dev/full, a pipe) is never replaced by a plain file: the move fails and the target stays.
bool ReplaceFile(const std::string& source, const std::string& target) {
  std::string destination = target;
  struct stat status {};
  char resolved[PATH_MAX];
  if (lstat(target.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
    if (!realpath(target.c_str(), resolved)) return false;
    destination = resolved;
  }
  if (stat(destination.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return false;
  return std::rename(source.c_str(), destination.c_str()) == 0;
}

}  // namespace platform
