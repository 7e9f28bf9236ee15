// The five listings over an arbitrary log, and what a user and the host do with the tree after it.
//
// Input: a 32-byte control block, then the log file's bytes (split into lines as the substitute host
// splits a file). A shorter input is padded with zero bytes.
//   byte 0      the stored view (PREVMODE): bits 0-2 pick 1-5, 0, 6 or -3; bit 3 ALLDISP; bit 4
//               the host shows another pane; bit 5 the first activation notice carries 0; bit 6
//               with byte 31 at 0xE0 or more: empty lines follow the log up to past 10000
//               lines, so that a scan of the last 10000 lines starts inside the log
//   bytes 1-8   four attribute marks: a line selector, then the attribute byte
//   bytes 9-28  ten actions: a kind (low 5 bits; 20 and more do nothing), then an argument
//   bytes 29-31 where a search text is cut from a tree label: offset, length, a raw byte (in a
//               long log, byte 31's low five bits pick the log line where that scan starts)
// After every action the add-in's remembered items must still be in the tree.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/addin_state.h"
#include "fuzz/common.h"
#include "fuzz/in_process_addin.h"
#include "platform/sim/desktop_internal.h"
#include "platform/sim/fuzz_hooks.h"
#include "platform/tree_view.h"

namespace {

constexpr std::size_t kControlSize = 32;

struct Control {
  uint8_t bytes[kControlSize] = {};
  uint8_t flags() const { return bytes[0]; }
  // A log of over 10000 lines costs many times a short one: a rare case, two conditions.
  bool LongLog() const { return (flags() & 0x40) && bytes[31] >= 0xE0; }
};

// A held line chosen by one byte: spread over the whole log when it is long.
qor::LinePosition Pick(host::LogStore& log, uint8_t selector) {
  const int64_t count = static_cast<int64_t>(log.HeldCount());
  const int64_t offset = count <= 256 ? selector % count : selector * count / 256;
  return static_cast<qor::LinePosition>(log.FirstPosition() + offset);
}

// Every item the add-in remembers names an item of its tree: on Windows a deleted item's handle
// may be reused or point to freed memory.
void CheckRememberedItems(desktop::Handle tree) {
  auto live = [&](void* item) { return item == nullptr || desktop::IsTreeItem(tree, item); };
  qorfuzz::Check(live(qor::state.root), "the root the add-in remembers is no tree item");
  qorfuzz::Check(live(qor::state.lastFound), "the last found item is no tree item");
  for (void* anchor : qor::state.headingAnchors) qorfuzz::Check(live(anchor), "a heading anchor is no tree item");
}

std::string SearchText(qortest::InProcessAddin& addin, const Control& control, uint8_t argument) {
  const desktop::Handle item = addin.ItemAt({0, argument % 8}) ? addin.ItemAt({0, argument % 8}) : addin.ItemAt({0});
  std::string label = item ? platform::TreeView(addin.Tree()).GetItemText(item) : std::string();
  const std::size_t offset = label.empty() ? 0 : control.bytes[29] % label.size();
  std::string text = label.substr(offset, control.bytes[30] % 8);
  if (argument & 0x80) text += static_cast<char>(control.bytes[31]);  // may end inside a character
  return text;
}

void RunAction(qortest::InProcessAddin& addin, const Control& control, uint8_t kind, uint8_t argument) {
  host::LogStore& log = addin.Log();
  switch (kind & 0x1F) {
    case 0: addin.Command(qor::ViewCommand(qor::kReceivedInOrder + argument % 5)); break;  // a view, rebuilt
    case 1: addin.Command(120); break;                 // ALLDISP toggled, rebuilt
    case 2: {  // the host's view moves, to a line it holds or (a host that tells anything) to any; the pane is shown
      qor::LinePosition first = Pick(log, argument);
      qor::LinePosition second = argument & 1 ? log.FirstPosition() : first;
      if (argument & 0x80) {
        static constexpr qor::LinePosition kFar[8] = {INT32_MIN, INT32_MAX, 0, -1, INT32_MIN + 1, INT32_MAX - 1, 2, -2};
        first = kFar[argument & 7];
        second = kFar[(argument >> 3) & 7];
      }
      addin.Host().SetViewLines(first, second);
      addin.Activate();
      break;
    }
    case 3: addin.Click({0, argument % 16}); break;
    case 4: addin.ClickExpand(argument & 0x10 ? std::vector<int>{0, argument % 16, 0} : std::vector<int>{0, argument % 16}); break;
    case 5: {  // a new line arrives; attribute 2 and more is a heading notice
      const std::string text = log.Text(Pick(log, argument));
      addin.Host().AppendLine(text, static_cast<unsigned char>(argument % 20));
      break;
    }
    case 6: addin.Host().DiscardOldestLine(); break;
    case 7:
      qortest::InProcessAddin::Search(SearchText(addin, control, argument));
      qortest::InProcessAddin::Answer(1);  // for "not found"
      addin.Command(110);
      break;
    case 8:
      qortest::InProcessAddin::Answer(1);
      addin.Command(111);
      break;
    case 9:  // a discard notice from a host that tells anything
      addin.Send(qor::kDiscardNotice, static_cast<uintptr_t>(static_cast<qor::LinePosition>(Pick(log, argument) - 2)));
      break;
    case 10:  // a heading notice for any position, held or not
      addin.Send(qor::kHeadingNotice, static_cast<uintptr_t>(static_cast<qor::LinePosition>(argument * 0x01010101u)));
      break;
    case 11: addin.Command(1); break;  // expand or collapse the selected item
    case 12: addin.Send(qor::kWmSize, 0, addin.Host().PaneClientSize()); break;
    case 13: addin.Host().SetTreeActive(argument & 1); break;
    case 14: addin.Send(qor::kActivationNotice, argument); break;
    case 15: log.SetAttribute(Pick(log, argument), static_cast<unsigned char>(argument % 20)); break;
    case 16:  // the host detaches the add-in and attaches it again
      GiveAddinInterface(&addin.Host());
      if (!addin.Attach()) qorfuzz::Fail("the add-in did not attach again");
      addin.Activate();
      break;
    case 17:  // the IDs found go to QOR.INI
      qortest::InProcessAddin::Answer(6);
      qortest::InProcessAddin::KeepAllRows();
      qortest::InProcessAddin::Answer(1);
      qortest::InProcessAddin::Answer(1);
      addin.Command(qor::kRegisterIds);
      break;
    case 18:  // and to a CSV file
      qortest::InProcessAddin::Answer(6);
      qortest::InProcessAddin::SaveFile(qorfuzz::ScratchDirectory() + "/ids.csv");
      qortest::InProcessAddin::Answer(1);
      addin.Command(qor::kExportCsv);
      break;
    case 19:  // any menu id below 255, most of them none; 255 stands for the About box
      if (argument == 255) qortest::InProcessAddin::CloseDialog(1);
      addin.Command(argument == 255 ? 1000 : argument);
      break;
    default: break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Control control;
  std::memcpy(control.bytes, data, size < kControlSize ? size : kControlSize);
  std::string_view logBytes = size > kControlSize
                                        ? std::string_view(reinterpret_cast<const char*>(data) + kControlSize, size - kControlSize)
                                        : std::string_view();

  // A long log: the log, then empty lines up to 10000 lines and more, so that a scan of the last
  // 10000 lines starts inside the log, at the line byte 31's low five bits pick. Empty lines cost a
  // scan little; the log repeated as often cost a run a hundred times a short one.
  std::string longLog;
  if (control.LongLog()) {
    std::size_t lines = static_cast<std::size_t>(std::count(logBytes.begin(), logBytes.end(), '\n'));
    longLog.assign(logBytes);
    if (!longLog.empty() && longLog.back() != '\n') {
      longLog += '\n';
      ++lines;
    }
    if (lines > 0 && lines < 10000) {
      const std::size_t start = (control.bytes[31] & 0x1F) * lines / 32;
      longLog.append(10000 + start - lines, '\n');
      logBytes = longLog;
    }
  }

  static const int kStoredViews[8] = {1, 2, 3, 4, 5, 0, 6, -3};
  // The profiles in memory; each run starts without what the last one wrote.
  static const bool once = (desktop::KeepProfilesInMemory(true), true);
  (void)once;
  const std::string& directory = qorfuzz::ScratchDirectory();
  std::map<std::string, std::string>& profiles = desktop::ProfilesInMemory();
  // What the run made goes before the run ends (after the add-in and its host, made below): a run
  // that leaves more allocations than it releases is taken by libFuzzer for a possible leak and
  // run again, which a run in eight did when the desktop and the profiles went only in the next.
  struct ReleasedAtEnd {
    ~ReleasedAtEnd() {
      desktop::Reset();
      scripted::SeatScriptedUser();
      desktop::ProfilesInMemory().clear();
    }
  } const releasedAtEnd;
  qortest::InProcessAddin addin(logBytes, directory, nullptr, "log.txt", 64);
  profiles[directory + "/" + qor::ProfileName()] = "[SYSTEM]\r\nPREVMODE=" +
                                                   std::to_string(kStoredViews[control.flags() & 7]) +
                                                   "\r\nALLDISP=" + (control.flags() & 0x08 ? "1" : "0") + "\r\n";

  host::LogStore& log = addin.Log();
  for (int mark = 0; mark < 4; ++mark) {
    log.SetAttribute(Pick(log, control.bytes[1 + 2 * mark]), control.bytes[2 + 2 * mark]);
  }
  addin.Host().SetTreeActive((control.flags() & 0x10) == 0);
  if (!addin.Attach()) qorfuzz::Fail("the add-in did not attach");

  try {
    if (control.flags() & 0x20) addin.Send(qor::kActivationNotice, 0);
    addin.Activate();
    CheckRememberedItems(addin.Tree());
  } catch (const desktop::ScriptError&) {
    qorfuzz::Fail("the first activation asked the user something");
  }
  for (int action = 0; action < 10; ++action) {
    try {
      RunAction(addin, control, control.bytes[9 + 2 * action], control.bytes[10 + 2 * action]);
    } catch (const desktop::ScriptError&) {
      // A box or dialog the actions did not answer: the user's part, not the add-in's.
    }
    qortest::InProcessAddin::DropUnusedAnswers();
    CheckRememberedItems(addin.Tree());
  }
  return 0;
}
