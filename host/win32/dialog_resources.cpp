#include "host/win32/dialog_resources.h"

#include <algorithm>
#include <cstring>

#include "host/win32/windows_api.h"

namespace korvik {
namespace {

class Reader {
 public:
  Reader(const void* data, size_t size) : at_(static_cast<const unsigned char*>(data)), end_(at_ + size), begin_(at_) {}

  bool Ok() const { return ok_; }

  template <typename T>
  T Read() {
    T value{};
    if (static_cast<size_t>(end_ - at_) < sizeof value) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }

  void AlignTo(size_t boundary) {
    const size_t offset = static_cast<size_t>(at_ - begin_);
    const size_t pad = (boundary - offset % boundary) % boundary;
    if (static_cast<size_t>(end_ - at_) < pad) {
      ok_ = false;
      return;
    }
    at_ += pad;
  }

  void Skip(size_t count) {
    if (static_cast<size_t>(end_ - at_) < count) {
      ok_ = false;
      return;
    }
    at_ += count;
  }

  std::wstring WideString() {
    std::wstring text;
    for (;;) {
      const auto unit = Read<uint16_t>();
      if (!ok_ || unit == 0) break;
      text += static_cast<wchar_t>(unit);
    }
    return text;
  }

 private:
  const unsigned char* at_;
  const unsigned char* end_;
  const unsigned char* begin_;
  bool ok_ = true;
};


// A name or an ordinal: 0xFFFF then the number, or a NUL-terminated string (empty: none).
std::string NameOrOrdinal(Reader& reader, bool* isOrdinal = nullptr, uint16_t* ordinal = nullptr) {
  const auto first = reader.Read<uint16_t>();
  if (isOrdinal) *isOrdinal = first == 0xFFFF;
  if (first == 0xFFFF) {
    const auto number = reader.Read<uint16_t>();
    if (ordinal) *ordinal = number;
    return "#" + std::to_string(number);
  }
  if (first == 0) return {};
  std::wstring rest = reader.WideString();
  return FromWide(static_cast<wchar_t>(first) + rest);
}

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The predefined classes by their atoms; a class given by name keeps it, in capitals as the
// predefined ones (class names do not depend on case).
std::string ClassOf(Reader& reader) {
  bool isOrdinal = false;
  uint16_t ordinal = 0;
  const std::string name = NameOrOrdinal(reader, &isOrdinal, &ordinal);
  if (!isOrdinal) return UpperCase(name);
  static const char* const kAtoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
  if (ordinal >= 0x80 && ordinal <= 0x85) return kAtoms[ordinal - 0x80];
  return name;
}

}  // namespace

std::optional<DialogResource> ParseDialogTemplate(const void* data, size_t size) {
  Reader reader(data, size);
  DialogResource dialog;
  const auto version = reader.Read<uint16_t>();
  const auto signature = reader.Read<uint16_t>();
  dialog.extended = version == 1 && signature == 0xFFFF;
  uint16_t count = 0;
  if (dialog.extended) {
    reader.Read<uint32_t>();  // help id
    dialog.exStyle = reader.Read<uint32_t>();
    dialog.style = reader.Read<uint32_t>();
  } else {
    Reader plain(data, size);
    dialog.style = plain.Read<uint32_t>();
    dialog.exStyle = plain.Read<uint32_t>();
    reader = plain;
  }
  count = reader.Read<uint16_t>();
  dialog.x = reader.Read<int16_t>();
  dialog.y = reader.Read<int16_t>();
  dialog.width = reader.Read<int16_t>();
  dialog.height = reader.Read<int16_t>();
  dialog.menu = NameOrOrdinal(reader);
  dialog.windowClass = NameOrOrdinal(reader);
  dialog.caption = FromWide(reader.WideString());
  if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
    dialog.pointSize = reader.Read<uint16_t>();
    if (dialog.extended) {
      reader.Read<uint16_t>();  // weight
      reader.Read<uint8_t>();   // italic
      reader.Read<uint8_t>();   // character set
    }
    dialog.font = FromWide(reader.WideString());
  }
  for (uint16_t i = 0; i < count && reader.Ok(); ++i) {
    reader.AlignTo(4);
    ControlResource control;
    uint32_t id = 0;
    if (dialog.extended) {
      reader.Read<uint32_t>();  // help id
      control.exStyle = reader.Read<uint32_t>();
      control.style = reader.Read<uint32_t>();
    } else {
      control.style = reader.Read<uint32_t>();
      control.exStyle = reader.Read<uint32_t>();
    }
    control.x = reader.Read<int16_t>();
    control.y = reader.Read<int16_t>();
    control.width = reader.Read<int16_t>();
    control.height = reader.Read<int16_t>();
    id = dialog.extended ? reader.Read<uint32_t>() : reader.Read<uint16_t>();
    control.id = (id == 0xFFFF || id == 0xFFFFFFFF) ? -1 : static_cast<int>(id);
    control.kind = ClassOf(reader);
    control.text = NameOrOrdinal(reader);
    const auto extra = reader.Read<uint16_t>();
    reader.Skip(extra);
    dialog.controls.push_back(std::move(control));
  }
  if (!reader.Ok()) return std::nullopt;
  return dialog;
}

namespace {

BOOL CALLBACK CollectDialog(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found) {
  if (!IS_INTRESOURCE(name)) return TRUE;
  HRSRC resource = FindResourceA(module, name, type);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return TRUE;
  if (std::optional<DialogResource> dialog = ParseDialogTemplate(data, SizeofResource(module, resource))) {
    dialog->id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
    reinterpret_cast<std::vector<DialogResource>*>(found)->push_back(std::move(*dialog));
  }
  return TRUE;
}

}  // namespace

std::vector<DialogResource> ReadDialogResources(HMODULE module) {
  std::vector<DialogResource> dialogs;
  EnumResourceNamesA(module, RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&dialogs));
  std::sort(dialogs.begin(), dialogs.end(),
            [](const DialogResource& a, const DialogResource& b) { return a.id < b.id; });
  return dialogs;
}

}  // namespace korvik
