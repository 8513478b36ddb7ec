// How a button's command and a dropped file's path are taken apart.
#pragma once

#include <string>
#include <string_view>

namespace ql {

struct SplitCommand {
  std::string target;      // text before the first "|", or the whole command
  std::string parameters;  // text after it; empty without "|"
  std::string directory;   // the target up to and including its last "\" or ":"
};
SplitCommand SplitBtnApp(std::string_view btnApp);

// The file name part of a path: after its last "\" or ":", extension kept.
std::string FileNamePart(std::string_view path);

// Dropped paths of this length or longer are skipped.
inline constexpr std::size_t kMaxDropPath = 255;

// The number the task bar reads as "no button launched".
inline constexpr int kNoLaunch = 72360;

}  // namespace ql
