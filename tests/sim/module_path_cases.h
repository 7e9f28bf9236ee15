// Module paths and their split into directory and name (code page 932), for the split's tests on
// both desktops: tests/sim/module_test.cpp ('/' for '\') and tests/wine/win32_seam_test.cpp. The
// paths are UTF-8 here; the system gives them to the add-in's split in its own spelling.
#pragma once
#include <string>
#include <vector>

struct ModulePathCase {
  std::string path;       // UTF-8, '\' separators
  std::string directory;  // code page 932
  std::string name;
};

// "ソ" and "表" end in the byte of a backslash; "é" has no code page 932 form and becomes its
// look-alike, as the system gives it to an ANSI program.
inline std::vector<ModulePathCase> ModulePathCases() {
  std::vector<ModulePathCase> cases = {
      {"C:\\Tools\\テスト\\QORMAIL.DLL", "C:\\Tools\\\x83\x65\x83\x58\x83\x67\\", "QORMAIL.DLL"},
      {"C:\\ソフト\\表\\QORMAIL.DLL", "C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C\\", "QORMAIL.DLL"},
      {"C:\\Addins\\Café\\QORMAIL.DLL", "C:\\Addins\\Cafe\\", "QORMAIL.DLL"},
      {"QORMAIL.DLL", "", "QORMAIL.DLL"},
  };
  // Paths of 254, 255 and 256 bytes around the 255 bytes of the label buffer: "ソ" up to the last
  // separator, so that a path cut at the buffer before the split loses its last separator.
  for (const std::size_t bytes : {254u, 255u, 256u}) {
    const std::string head = "C:\\", tail = "\\QORMAIL.DLL";
    ModulePathCase longer{head, head, "QORMAIL.DLL"};
    const std::size_t middle = bytes - head.size() - tail.size();
    for (std::size_t i = 0; i < middle / 2; ++i) {
      longer.path += "ソ";
      longer.directory += "\x83\x5C";
    }
    if (middle % 2) {
      longer.path += 'a';
      longer.directory += 'a';
    }
    longer.path += tail;
    longer.directory += '\\';
    cases.push_back(longer);
  }
  return cases;
}
