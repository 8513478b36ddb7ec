#include "core/WindowRules.h"

#include <charconv>

namespace ql {

bool IsTaskWindowStyle(std::uint32_t style, std::uint32_t exStyle) {
  if ((exStyle & kExStyleToolWindow) != 0 || exStyle == kExStyleNeverTask) return false;
  if ((style & kStylePopup) != 0) {
    return (style & kStyleMinimizeBox) != 0 && (style & kStyleSysMenu) != 0 && (style & kStyleDisabled) == 0;
  }
  return true;
}

bool TaskSignature::Finish() {
  if (current_ == previous_) return false;
  previous_ = current_;
  return true;
}

std::string HandleText(std::uint32_t handle) { return std::to_string(handle); }

std::optional<std::uint32_t> ParseHandleText(std::string_view text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string WindowsVersionText(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                               std::uint32_t build, std::string_view servicePack) {
  std::string text;
  switch (platform) {
    case kPlatformWin32s:
      text = "Win32S";
      break;
    case kPlatformWindows:
      text = minor != 0 ? "Windows 98" : "Windows 95";
      break;
    case kPlatformNt:
      text = "Windows NT";
      break;
    default:
      break;  // an unknown platform has no name; the two other lines still tell the version
  }
  if (!servicePack.empty() && servicePack != " ") {
    text += ' ';
    text += servicePack;
  }
  text += "\rVersion ";
  text += std::to_string(major);
  text += '.';
  text += std::to_string(minor);
  text += "\rBuild ";
  text += std::to_string(build);
  return text;
}

std::uint32_t MixColors(std::uint32_t a, std::uint32_t b) {
  std::uint32_t mixed = 0;
  for (unsigned shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t sum = ((a >> shift) & 0xFFU) + ((b >> shift) & 0xFFU);
    mixed |= (sum * 50 / 100) << shift;
  }
  return mixed;
}

std::string ShellFileList(std::string_view pipeSeparated) {
  std::string list(pipeSeparated);
  for (char& c : list) {
    if (c == '|') c = '\0';
  }
  list.append(2, '\0');
  return list;
}

std::string ShellDestination(std::string_view destination) {
  std::string text(destination);
  text.append(2, '\0');
  return text;
}

std::optional<ShellOperationPlan> PlanShellFileOp(int operation, std::string_view destination) {
  ShellOperationPlan plan;
  switch (operation) {
    case 1:
      plan.operation = ShellOperation::Copy;
      break;
    case 2:
      plan.operation = ShellOperation::Delete;
      plan.flags.allowUndo = destination != kPermanentDelete;
      plan.flags.silent = true;
      plan.flags.noConfirmation = true;
      break;
    case 3:
      plan.operation = ShellOperation::Move;
      break;
    default:
      return std::nullopt;
  }
  return plan;
}

}  // namespace ql
