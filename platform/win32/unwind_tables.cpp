// C++ exceptions of a 32-bit module that another module's libgcc_s_dw2-1.dll shares a process with.
//
// The i686 MinGW start-up code registers the module's DWARF unwind tables with the
// __register_frame_info of libgcc_s_dw2-1.dll whenever that DLL is already loaded (another
// MinGW-built add-in or hook in the host), not with the unwinder this module links statically.
// That unwinder then knows no tables, and every throw ends in std::terminate: each failure the
// add-in reports in a box would take the host down. So when the DLL is there at load time, the
// same tables are registered with the module's own unwinder as well, and removed at unload.
//
// The tables' start is not exported by the start-up code: it is the start of the PE section that
// holds them, found through the DLL's _Unwind_Find_FDE for a function of this module.
#if defined(__i386__) && !defined(__USING_SJLJ_EXCEPTIONS__) && !defined(__SEH__)

#include <cstdint>

#include "platform/win32/win32.h"

extern "C" {
void __register_frame_info(const void* begin, void* object);
void* __deregister_frame_info(const void* begin);
}

namespace platform::win32 {
namespace {

constexpr char kSharedUnwinder[] = "libgcc_s_dw2-1.dll";

// The section of this module that holds the address, from its PE headers; null when none does.
const void* SectionStartHolding(const void* address) {
  const auto base = reinterpret_cast<const std::uint8_t*>(ThisModule());
  if (!base) return nullptr;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  const auto offset = static_cast<std::uintptr_t>(reinterpret_cast<const std::uint8_t*>(address) - base);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    const DWORD size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
    if (offset >= section->VirtualAddress && offset < section->VirtualAddress + size) {
      return base + section->VirtualAddress;
    }
  }
  return nullptr;
}

// The start of this module's unwind tables as the shared unwinder has them registered; null when
// that DLL is not loaded or knows nothing of this module.
const void* TablesRegisteredElsewhere() {
  const HMODULE shared = GetModuleHandleA(kSharedUnwinder);
  if (!shared) return nullptr;
  struct Bases {
    void* text;
    void* data;
    void* function;
  } bases{};
  using FindFde = const void*(__cdecl*)(void* pc, Bases* bases);
  const auto find = reinterpret_cast<FindFde>(reinterpret_cast<void*>(GetProcAddress(shared, "_Unwind_Find_FDE")));
  if (!find) return nullptr;
  // An address inside a function of this module (one past its entry: the unwinder looks up the
  // instruction before a return address).
  auto* pc = reinterpret_cast<char*>(reinterpret_cast<void*>(&TablesRegisteredElsewhere)) + 1;
  const void* entry = find(pc, &bases);
  return entry ? SectionStartHolding(entry) : nullptr;
}

// Room for libgcc's struct object, which the unwinder fills and links into its list.
struct alignas(8) UnwinderObject {
  void* words[16];
};

class OwnUnwinderTables {
 public:
  OwnUnwinderTables() : begin_(TablesRegisteredElsewhere()) {
    if (begin_) __register_frame_info(begin_, &object_);
  }
  ~OwnUnwinderTables() {
    if (begin_) __deregister_frame_info(begin_);
  }
  OwnUnwinderTables(const OwnUnwinderTables&) = delete;
  OwnUnwinderTables& operator=(const OwnUnwinderTables&) = delete;

 private:
  const void* begin_;
  UnwinderObject object_{};
};

// Runs while the module loads, before any code of the add-in can throw.
const OwnUnwinderTables ownTables;

}  // namespace
}  // namespace platform::win32

#endif
