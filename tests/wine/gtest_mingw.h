// Forced into GoogleTest's build for MinGW's win32 thread model, whose library has no std::mutex:
// GoogleTest's Notification (used only to test its own threads) becomes one that does nothing.
#pragma once
namespace testing {
namespace internal {
class Notification {
 public:
  void Notify() {}
  void WaitForNotification() {}
};
}  // namespace internal
}  // namespace testing
