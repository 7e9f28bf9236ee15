// Each operation of HostInterface and LogBuffer must sit at its place in the table of virtual
// functions, as the add-in's compiled calls expect. The test builds a table whose entry i records
// i, puts it under an object, and calls every operation through the interface types.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <utility>

#include "base/host_abi.h"

namespace {

int calledSlot = -1;

using Slot = uintptr_t (*)(void*, uintptr_t, uintptr_t, uintptr_t, uintptr_t);

template <int Index>
uintptr_t RecordSlot(void*, uintptr_t, uintptr_t, uintptr_t, uintptr_t) {
  calledSlot = Index;
  return 0;
}

template <int... Indexes>
constexpr std::array<Slot, sizeof...(Indexes)> MakeTable(std::integer_sequence<int, Indexes...>) {
  return {&RecordSlot<Indexes>...};
}

constexpr auto kTable = MakeTable(std::make_integer_sequence<int, 64>());

// What a compiled object looks like from outside: its table first, then its data.
struct FakeObject {
  const Slot* table = kTable.data();
  int32_t currentLine = 77;
};

// The object seen as one of the interfaces. The empty asm hides where the pointer came from, so
// that the compiler reads the table from memory as it does for any object the add-in is given.
template <class Interface>
Interface* AsInterface(FakeObject& object) {
  void* raw = &object;
  asm volatile("" : "+r"(raw) : : "memory");
  return static_cast<Interface*>(raw);
}

#define EXPECT_SLOT(call, index)            \
  do {                                      \
    calledSlot = -1;                        \
    (void)(call);                           \
    EXPECT_EQ(calledSlot, index) << #call;  \
  } while (0)

TEST(AbiLayout, HostInterfaceOperationsSitAtTheirPlaces) {
  FakeObject object;
  auto* host = AsInterface<qor::HostInterface>(object);
  qor::LinePosition first = 0, second = 0;
  qor::ViewRequest request{1, -1};
  char title[4];
  EXPECT_SLOT(host->GetMainWindow(), 23);
  EXPECT_SLOT(host->GetPaneParent(), 25);
  EXPECT_SLOT(host->GetLogBuffer(), 28);
  EXPECT_SLOT(host->GetLineAttributes(), 29);
  EXPECT_SLOT(host->RegisterPane(nullptr, "", nullptr, nullptr), 31);
  EXPECT_SLOT(host->UnregisterPane(nullptr), 32);
  EXPECT_SLOT(host->GetViewLines(&first, &second), 34);
  EXPECT_SLOT(host->ShowPosition(&request, 0), 36);
  EXPECT_SLOT(host->ShowLine(1), 37);
  EXPECT_SLOT(host->GetActivePane(), 40);
  EXPECT_SLOT(host->GetLogTitle(title, sizeof title), 42);
  EXPECT_SLOT(host->IsAttachedAttribute(10), 45);
}

TEST(AbiLayout, LogBufferOperationsSitAtTheirPlaces) {
  FakeObject object;
  auto* log = AsInterface<qor::LogBuffer>(object);
  EXPECT_SLOT(log->GetLine(), 0);
  EXPECT_SLOT(log->GetLineNumber(), 3);
  EXPECT_SLOT(log->MoveFirst(), 4);
  EXPECT_SLOT(log->MoveLast(), 6);
  EXPECT_SLOT(log->Move(1), 11);
  EXPECT_SLOT(log->GetHeadingLevel(), 12);
  EXPECT_SLOT(log->GetHeadingText(), 13);
  EXPECT_SLOT(log->MoveHome(), 14);
}

TEST(AbiLayout, CurrentLineFollowsTheTablePointer) {
  FakeObject object;
  auto* log = AsInterface<qor::LogBuffer>(object);
  EXPECT_EQ(reinterpret_cast<char*>(&log->CurrentLine) - reinterpret_cast<char*>(log),
            static_cast<std::ptrdiff_t>(sizeof(void*)));
  EXPECT_EQ(log->CurrentLine, 77);
}

}  // namespace
