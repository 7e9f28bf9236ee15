// Where a bare profile file name resolves on a desktop: the profile directory (which stands in for
// the Windows directory), or a directory of its own kept for that one file, the name matched
// without regard to ASCII case. Both desktops, simulated and real, keep one.
#pragma once
#include <map>
#include <string>
#include <utility>

namespace desktop {

class ProfilePlaces {
 public:
  void SetDirectory(std::string directory) { directory_ = std::move(directory); }
  const std::string& Directory() const { return directory_; }

  // An empty directory puts the file back in the profile directory.
  void SetFileDirectory(const std::string& file, const std::string& directory) {
    if (directory.empty()) {
      fileDirectories_.erase(UpperAscii(file));
    } else {
      fileDirectories_[UpperAscii(file)] = directory;
    }
  }

  const std::string& DirectoryOf(const std::string& file) const {
    if (fileDirectories_.empty()) return directory_;  // the common case, asked at every profile look-up
    const auto found = fileDirectories_.find(UpperAscii(file));
    return found != fileDirectories_.end() ? found->second : directory_;
  }

 private:
  static std::string UpperAscii(std::string name) {
    for (char& c : name) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return name;
  }

  std::string directory_;
  std::map<std::string, std::string> fileDirectories_;  // upper-case name -> directory
};

}  // namespace desktop
