// A small log for unit tests: lines at positions first..first+n-1, attributes by position, with
// the host's clamping moves. Installed into the add-in's state for the test's lifetime.
#pragma once
#include <string>
#include <vector>

#include "base/addin_state.h"
#include "base/host_abi.h"

namespace qor::testing {

class FakeLog : public LogBuffer {
 public:
  explicit FakeLog(std::vector<std::string> lines, LinePosition firstPosition = 1)
      : first_(firstPosition), lines_(std::move(lines)), attributes_(first_ + lines_.size() + 1, 0) {
    for (std::string& line : lines_) line.insert(line.begin(), '\x01');  // the stored line's first byte
    state.log = this;
    state.attributes = attributes_.data();
  }
  ~FakeLog() {
    state.log = nullptr;
    state.attributes = nullptr;
  }

  void SetAttribute(LinePosition position, unsigned char value) { attributes_[position] = value; }
  LinePosition LastPosition() const { return first_ + static_cast<LinePosition>(lines_.size()) - 1; }
  int calls = 0;  // LogBuffer calls made

  const char* GetLine() override {
    ++calls;
    const int32_t index = CurrentLine - first_;
    return index >= 0 && index < static_cast<int32_t>(lines_.size()) ? lines_[index].c_str() : "\x01";
  }
  int32_t GetLineNumber() override { return ++calls, CurrentLine - first_; }
  void MoveFirst() override { ++calls, CurrentLine = first_; }
  void MoveLast() override { ++calls, CurrentLine = LastPosition(); }
  void Move(int32_t count) override {
    ++calls;
    const int64_t target = int64_t{CurrentLine} + count;
    CurrentLine = static_cast<LinePosition>(target < first_ ? first_ : target > LastPosition() ? LastPosition() : target);
  }
  // Attributes 2..9 open level attribute-2; 10..17 are attached headings at level attribute-10.
  int GetHeadingLevel() override {
    ++calls;
    const int attribute = CurrentLine >= 0 ? attributes_[CurrentLine] : 0;
    return attribute >= 10 && attribute <= 17 ? attribute - 10 : attribute - 2;
  }
  const char* GetHeadingText() override { return GetLine() + 1; }
  void MoveHome() override { ++calls, CurrentLine = first_; }
  void Reserved1() override {}
  void Reserved2() override {}
  void Reserved5() override {}
  void Reserved7() override {}
  void Reserved8() override {}
  void Reserved9() override {}
  void Reserved10() override {}

 private:
  LinePosition first_;
  std::vector<std::string> lines_;
  std::vector<unsigned char> attributes_;
};

}  // namespace qor::testing
