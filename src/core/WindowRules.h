// The rules of the window and shell utilities that need no window system: which top-level window
// is a task window, the signature that tells the task bar when the set of task windows changed,
// the system version text, the colour mix and the shape of a shell file operation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ql {

// Style bits the task-window rule looks at (same values as the window system's).
inline constexpr std::uint32_t kStylePopup = 0x80000000U;
inline constexpr std::uint32_t kStyleDisabled = 0x08000000U;
inline constexpr std::uint32_t kStyleSysMenu = 0x00080000U;
inline constexpr std::uint32_t kStyleMinimizeBox = 0x00020000U;
inline constexpr std::uint32_t kExStyleToolWindow = 0x00000080U;
// WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME: never a task window.
inline constexpr std::uint32_t kExStyleNeverTask = 0x00010109U;

// A window that may get a task button, judged from its styles alone: not a tool window, not of
// the extended style 0x10109, and a popup only with a minimize box and a system menu and enabled.
bool IsTaskWindowStyle(std::uint32_t style, std::uint32_t exStyle);

// The signature of the task-window set: the wrapping 32-bit sum of the handles of one
// enumeration, compared with the sum of the previous one (0 before the first).
//   sig.Begin(); for each window sig.Add(handle); if (sig.Finish()) changed = true;
class TaskSignature {
 public:
  void Begin() { current_ = 0; }
  void Add(std::uint32_t handle) { current_ += handle; }
  // True when the sum differs from the previous one, which then becomes this sum.
  bool Finish();

  std::uint32_t current() const { return current_; }
  std::uint32_t previous() const { return previous_; }

 private:
  std::uint32_t current_ = 0;
  std::uint32_t previous_ = 0;
};

// Window handles travel between the enumerations and their users as decimal text of their
// 32-bit value.
std::string HandleText(std::uint32_t handle);
// Nothing for anything but a whole unsigned decimal number that fits in 32 bits.
std::optional<std::uint32_t> ParseHandleText(std::string_view text);

// Platform ids of the version information.
inline constexpr std::uint32_t kPlatformWin32s = 0;
inline constexpr std::uint32_t kPlatformWindows = 1;  // 95, 98
inline constexpr std::uint32_t kPlatformNt = 2;

// Three lines joined by "\r": the system name (plus the service pack unless it is empty or a
// single blank), "Version <major>.<minor>", "Build <build>" (all 32 bits).
std::string WindowsVersionText(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                               std::uint32_t build, std::string_view servicePack);

// Half of the sum of each of red, green and blue; colours are 0x00BBGGRR.
std::uint32_t MixColors(std::uint32_t a, std::uint32_t b);

// The shell's file list: every "|" becomes a null and the list ends with two nulls (explicit in
// the result, so data() is a valid double-null-terminated list).
std::string ShellFileList(std::string_view pipeSeparated);
// The destination as the shell operation takes it: the text followed by two nulls.
std::string ShellDestination(std::string_view destination);

enum class ShellOperation { Copy, Delete, Move };

struct ShellOperationFlags {
  bool allowUndo = false;       // a delete goes to the Recycle Bin
  bool silent = false;          // no progress display
  bool noConfirmation = false;  // no question asked
};

struct ShellOperationPlan {
  ShellOperation operation = ShellOperation::Copy;
  ShellOperationFlags flags;
};

// Destination text that makes a delete permanent instead of going to the Recycle Bin.
inline constexpr std::string_view kPermanentDelete = "vide";

// Operation code 1 copy, 2 delete, 3 move; nothing for any other code. A delete is always
// silent and unconfirmed, and undoable unless the destination is exactly "vide".
std::optional<ShellOperationPlan> PlanShellFileOp(int operation, std::string_view destination);

}  // namespace ql
