// The Windows message, notification and flag values this system uses, in one table for both
// platforms and the tests. Each is named as in the Windows headers with a k in front (the headers
// define the plain names as macros); the Windows build checks every value against those headers
// (platform/win32/tree_view.cpp), so a wrong number here cannot go unnoticed.
#pragma once

// Window messages.
#define QOR_WINDOWS_MESSAGES(X) \
  X(WM_SIZE, 0x0005)            \
  X(WM_NOTIFY, 0x004E)          \
  X(WM_COMMAND, 0x0111)         \
  X(WM_RBUTTONDOWN, 0x0204)

// Notification codes of WM_NOTIFY. The tree's ANSI codes (it sends these to a parent that asks for
// ANSI notifications) and their Unicode counterparts; each carries an NMTREEVIEW record.
#define QOR_WINDOWS_NOTIFICATIONS(X) \
  X(TVN_SELCHANGINGA, -401)          \
  X(TVN_SELCHANGEDA, -402)           \
  X(TVN_ITEMEXPANDINGA, -405)        \
  X(TVN_ITEMEXPANDEDA, -406)         \
  X(TVN_BEGINDRAGA, -407)            \
  X(TVN_BEGINRDRAGA, -408)           \
  X(TVN_DELETEITEMA, -409)           \
  X(TVN_SELCHANGINGW, -450)          \
  X(TVN_SELCHANGEDW, -451)           \
  X(TVN_ITEMEXPANDINGW, -454)        \
  X(TVN_ITEMEXPANDEDW, -455)         \
  X(TVN_BEGINDRAGW, -456)            \
  X(TVN_BEGINRDRAGW, -457)           \
  X(TVN_DELETEITEMW, -458)

// The tree's expand actions, selection causes, item states and the children-callback value.
#define QOR_WINDOWS_TREE_FLAGS(X) \
  X(TVE_COLLAPSE, 0x0001)         \
  X(TVE_EXPAND, 0x0002)           \
  X(TVE_TOGGLE, 0x0003)           \
  X(TVC_UNKNOWN, 0x0000)          \
  X(TVC_BYMOUSE, 0x0001)          \
  X(TVIS_SELECTED, 0x0002)        \
  X(TVIS_EXPANDED, 0x0020)        \
  X(TVIS_EXPANDEDONCE, 0x0040)

namespace platform {

#define QOR_DECLARE_UNSIGNED(name, value) inline constexpr unsigned k##name = value;
#define QOR_DECLARE_INT(name, value) inline constexpr int k##name = value;
QOR_WINDOWS_MESSAGES(QOR_DECLARE_UNSIGNED)
QOR_WINDOWS_NOTIFICATIONS(QOR_DECLARE_INT)
QOR_WINDOWS_TREE_FLAGS(QOR_DECLARE_UNSIGNED)
#undef QOR_DECLARE_UNSIGNED
#undef QOR_DECLARE_INT

inline constexpr int kI_CHILDRENCALLBACK = -1;

}  // namespace platform
