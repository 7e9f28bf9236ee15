// The host's binary interface: the objects the host hands to the add-in, whose operations sit at
// fixed places in their tables of virtual functions. Unused places are filled by placeholders, and
// there is no virtual destructor: either would shift the table.
#pragma once
#include <cstdint>

#include "platform/platform.h"
#include "platform/windows_codes.h"

namespace qor {

using LinePosition = int32_t;

// Window messages and host notices that reach PaneCallback.
constexpr unsigned kWmSize = platform::kWM_SIZE;
constexpr unsigned kWmNotify = platform::kWM_NOTIFY;
constexpr unsigned kWmCommand = platform::kWM_COMMAND;
constexpr unsigned kActivationNotice = 1024;
constexpr unsigned kDiscardNotice = 1025;
constexpr unsigned kHeadingNotice = 1026;

using PaneCallbackFunction = intptr_t(QOR_CALLBACK*)(platform::WindowHandle window, unsigned message,
                                             uintptr_t first, intptr_t second);

struct ViewRequest {
  LinePosition line;
  int32_t second;  // always -1 from the add-in
};

class LogBuffer {
 public:
  LinePosition CurrentLine = 0;  // the one data member the add-in touches

  virtual const char* GetLine() = 0;                  // 0: stored line, text from its second byte
  virtual void Reserved1() = 0;
  virtual void Reserved2() = 0;
  virtual int32_t GetLineNumber() = 0;                // 3: ordinal, 0 = first line held
  virtual void MoveFirst() = 0;                       // 4
  virtual void Reserved5() = 0;
  virtual void MoveLast() = 0;                        // 6
  virtual void Reserved7() = 0;
  virtual void Reserved8() = 0;
  virtual void Reserved9() = 0;
  virtual void Reserved10() = 0;
  virtual void Move(int32_t count) = 0;               // 11: stops at either end
  virtual int GetHeadingLevel() = 0;                  // 12
  virtual const char* GetHeadingText() = 0;           // 13
  virtual void MoveHome() = 0;                        // 14

 protected:
  LogBuffer() = default;
  LogBuffer(const LogBuffer&) = default;
  LogBuffer& operator=(const LogBuffer&) = default;
  ~LogBuffer() = default;
};

class HostInterface {
 public:
  virtual void Reserved0() = 0;
  virtual void Reserved1() = 0;
  virtual void Reserved2() = 0;
  virtual void Reserved3() = 0;
  virtual void Reserved4() = 0;
  virtual void Reserved5() = 0;
  virtual void Reserved6() = 0;
  virtual void Reserved7() = 0;
  virtual void Reserved8() = 0;
  virtual void Reserved9() = 0;
  virtual void Reserved10() = 0;
  virtual void Reserved11() = 0;
  virtual void Reserved12() = 0;
  virtual void Reserved13() = 0;
  virtual void Reserved14() = 0;
  virtual void Reserved15() = 0;
  virtual void Reserved16() = 0;
  virtual void Reserved17() = 0;
  virtual void Reserved18() = 0;
  virtual void Reserved19() = 0;
  virtual void Reserved20() = 0;
  virtual void Reserved21() = 0;
  virtual void Reserved22() = 0;
  virtual platform::WindowHandle GetMainWindow() = 0;  // 23
  virtual void Reserved24() = 0;
  virtual platform::WindowHandle GetPaneParent() = 0;  // 25
  virtual void Reserved26() = 0;
  virtual void Reserved27() = 0;
  virtual LogBuffer* GetLogBuffer() = 0;               // 28
  virtual const unsigned char* GetLineAttributes() = 0;  // 29: one byte per line position
  virtual void Reserved30() = 0;
  virtual int RegisterPane(platform::WindowHandle pane, const char* name, PaneCallbackFunction callback,
                           platform::MenuHandle menu) = 0;  // 31
  virtual int UnregisterPane(platform::WindowHandle pane) = 0;  // 32
  virtual void Reserved33() = 0;
  virtual void GetViewLines(LinePosition* first, LinePosition* second) = 0;  // 34
  virtual void Reserved35() = 0;
  virtual int ShowPosition(const ViewRequest* request, int zero) = 0;  // 36
  virtual int ShowLine(LinePosition line) = 0;                         // 37
  virtual void Reserved38() = 0;
  virtual void Reserved39() = 0;
  virtual platform::WindowHandle GetActivePane() = 0;                  // 40
  virtual void Reserved41() = 0;
  virtual int GetLogTitle(char* buffer, int size) = 0;                 // 42
  virtual void Reserved43() = 0;
  virtual void Reserved44() = 0;
  virtual int IsAttachedAttribute(int attribute) = 0;                  // 45

 protected:
  HostInterface() = default;
  HostInterface(const HostInterface&) = default;
  HostInterface& operator=(const HostInterface&) = default;
  ~HostInterface() = default;
};

// The one exported entry point, under its plain name.
using GiveAddinInterfaceFunction = int (*)(HostInterface* host);
constexpr const char kEntryPointName[] = "GiveAddinInterface";

}  // namespace qor
