// The host's LogBuffer: the add-in's cursor over the log. The add-in sets CurrentLine itself and
// calls the operations below, all relative to it.
#pragma once
#include "base/host_abi.h"
#include "host/log_store.h"

namespace host {

class LogCursor final : public qor::LogBuffer {
 public:
  explicit LogCursor(LogStore& log);

  const char* GetLine() override;
  void Reserved1() override {}
  void Reserved2() override {}
  int32_t GetLineNumber() override;
  void MoveFirst() override;
  void Reserved5() override {}
  void MoveLast() override;
  void Reserved7() override {}
  void Reserved8() override {}
  void Reserved9() override {}
  void Reserved10() override {}
  void Move(int32_t count) override;
  int GetHeadingLevel() override;
  const char* GetHeadingText() override;
  void MoveHome() override;

  // From now on GetHeadingText answers null, as a faulty host might: the add-in must report the
  // failure and go on.
  void AnswerNullHeadingTexts() { nullHeadingTexts_ = true; }

 private:
  LogStore& log_;
  bool nullHeadingTexts_ = false;
};

// Attributes 2-9 open a heading at level attribute - 2, 10-17 an attached heading at level
// attribute - 10; any other attribute is no heading and reports 0.
bool IsHeadingLine(unsigned char attribute);  // attribute 2 or more: the host announces the line
int HeadingLevel(unsigned char attribute);
bool IsAttachedHeading(int attribute);

}  // namespace host
