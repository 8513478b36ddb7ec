// The .qlx configuration file: everything needed to carry the dock to another machine (every
// option but the lock's password, every task bar setting, the buttons with their groups, icons
// and textures) as text lines ended by CR LF, in entries of two lines: "[key]", then the value.
//
//   [Quaylite]          format marker and version: "1"; always the first entry
//   [HideDesktop] ...   the options, named as in the store; booleans "1" or "0"; numbers in
//                       decimal; colours "R,G,B" (each 0 to 255); texts as they are
//   [Buttons]           the number of buttons, then for N = 1 to that number:
//   [ButtonN.Name] [ButtonN.Command] [ButtonN.Icon] [ButtonN.IconIndex] [ButtonN.Texture]
//   [ButtonN.Group]     0 on the main bar, else the N of its group (a main-bar button before it)
//   [End]               the number of entries before it; always the last entry
//
// Reading checks the whole file before anything changes: a file that is empty, too large, binary,
// cut short, out of form, not a .qlx, with a key twice or with broken buttons is refused as a
// whole. Keys it does not know are skipped; an option whose value does not read keeps the current
// setting; a file without "[Buttons]" keeps the current buttons. "MotDePasse" is never written,
// and never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Bouton.h"
#include "core/Config.h"

namespace ql {

inline constexpr std::size_t kQlxMaxBytes = 1U << 20;  // larger files are refused unread
inline constexpr std::size_t kQlxMaxLine = 8192;       // longer lines make the file malformed
inline constexpr std::int32_t kQlxMaxButtons = 4096;
inline constexpr std::string_view kQlxExtension = ".qlx";

// The whole file for these settings and buttons.
std::string WriteQlx(const TConfig& cfg, const ButtonList& list);

// One boolean entry: "[key]" CR LF, then "1" or "0" CR LF.
std::string WriteBoolIni(std::string_view key, bool value);

enum class QlxError : std::uint8_t {
  None,
  Missing,  // the file could not be opened or read (the Win32 side reports it)
  Empty,
  TooLarge,
  Binary,      // NUL or control bytes, or text that is not UTF-8
  Truncated,   // the last line unended, a key without its value line, or no "[End]"
  Malformed,   // a line out of form, too long, or "[End]" counting otherwise
  NotQlx,      // no "[Quaylite]" "1" at the head
  Duplicate,   // a key given twice
  BadButtons,  // a button without a command, or a group that is not an earlier main-bar button
};

// What the message box says, after "The configuration was not imported: ".
std::string_view QlxErrorText(QlxError error);

struct QlxButton {
  ButtonData data;
  std::int32_t group = 0;  // 0: main bar; else the 1-based place in the file of its group
};

struct QlxImport {
  TConfig cfg;                                    // the current settings with the file's applied
  std::optional<std::vector<QlxButton>> buttons;  // nothing: the file keeps the current buttons
};

struct QlxRead {
  QlxError error = QlxError::None;
  QlxImport import;  // meaningful only without an error
};

// Reads and checks a whole file against the current settings; changes nothing.
QlxRead ReadQlx(std::string_view bytes, const TConfig& current);

// Puts a checked import into the live records (cannot fail). The password stays as it is; the
// list's records are replaced when the file has buttons.
void ApplyQlx(const QlxImport& import, TConfig& live, ButtonList& list);

// ReadQlx, then ApplyQlx when the file passed: the live records change wholly or not at all.
QlxError ImportQlx(std::string_view bytes, TConfig& live, ButtonList& list);

// The export's file name: ".qlx" appended when the last part of the name has no extension.
std::string WithQlxExtension(std::string_view fileName);

}  // namespace ql
