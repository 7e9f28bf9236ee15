// Puts the tree control through fixed work and prints what it did, the same program built for the
// simulated desktop (Linux build) and for real windows (Windows build). The Wine suite runs both and
// requires the same output, so the simulated tree is held to the real control.
//
//     tree_probe text   every one- and two-byte text (and a few longer ones) inserted as a label
//                       and read back: "IN OUT" in hex, one line each
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/tree_view.h"
#include "tests/wine/probe_hex.h"

namespace {

std::string Hex(const std::string& bytes) { return HexBytes(bytes, "-"); }

// Texts whose round trip through the ANSI code page can differ: every byte alone (a lead byte
// ends the text there) and every byte pair, then the pairs again between ASCII letters.
std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  for (int first = 1; first < 256; ++first) {
    texts.push_back(std::string(1, static_cast<char>(first)));
    for (int second = 1; second < 256; ++second) {
      texts.push_back({static_cast<char>(first), static_cast<char>(second)});
    }
  }
  for (const int lead : {0x81, 0x85, 0x9F, 0xA0, 0xE0, 0xEF, 0xF0, 0xFC, 0xFD, 0xFF}) {
    texts.push_back(std::string("a") + static_cast<char>(lead) + "z");
    texts.push_back(std::string("a") + static_cast<char>(lead));
    texts.push_back(std::string("a") + static_cast<char>(lead) + static_cast<char>(lead) + "z");
  }
  return texts;
}

int TextRoundTrip() {
  const desktop::Handle parent = desktop::CreateHostWindow(nullptr, {0, 0, 300, 300}, 0, {});
  platform::TreeView tree(platform::TreeView::Create(parent));
  if (!tree.Handle()) {
    std::fputs("tree_probe: no tree control\n", stderr);
    return 1;
  }
  int inserted = 0;
  for (const std::string& text : Texts()) {
    const platform::TreeItem item = tree.InsertLast(nullptr, {text.c_str(), 0});
    const std::string back = tree.GetItemText(item);
    std::printf("%s %s\n", Hex(text).c_str(), Hex(back).c_str());
    if (++inserted % 1000 == 0) tree.DeleteAllItems();
  }
  desktop::DestroyWindow(parent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "text") == 0) return TextRoundTrip();
  std::fputs("usage: tree_probe text\n", stderr);
  return 2;
}
