#include "core/IconAssociations.h"

#include <fstream>
#include <system_error>

#include "core/Text.h"

namespace ql {

namespace {

// Characters, not bytes, of a UTF-8 text.
std::size_t CharCount(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) ++n;
  }
  return n;
}

std::vector<std::string_view> SplitAtBlanks(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (true) {
    const std::size_t blank = text.find(' ', start);
    if (blank == std::string_view::npos) {
      words.push_back(text.substr(start));
      return words;
    }
    words.push_back(text.substr(start, blank - start));
    start = blank + 1;
  }
}

bool IsTitleLine(std::string_view line) { return !line.empty() && line.front() == ';'; }

// The part before ">" (the whole line without one) and the part after it (empty without one).
std::string_view ClassPart(std::string_view line) { return line.substr(0, line.find('>')); }
std::string_view PathPart(std::string_view line) {
  const std::size_t mark = line.find('>');
  return mark == std::string_view::npos ? std::string_view() : line.substr(mark + 1);
}

std::filesystem::path FromUtf8(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace

bool IsSharedClass(std::string_view className) {
  return className == kDialogClass || className == kFolderClass;
}

int TitleScore(std::string_view stored, std::string_view given) {
  const std::vector<std::string_view> storedWords = SplitAtBlanks(stored);
  const std::vector<std::string_view> givenWords = SplitAtBlanks(given);
  int score = 0;
  for (std::size_t i = 0; i < storedWords.size(); ++i) {
    const std::string_view word = storedWords[i];
    const bool last = i + 1 == storedWords.size();
    if (word.empty() || (!last && CharCount(word) <= 2)) continue;
    for (const std::string_view g : givenWords) {
      if (EqualsIgnoreCase(word, g)) ++score;
    }
  }
  return score;
}

std::string IconeParTitre(std::span<const std::string> lines, std::string_view title) {
  int best = 0;
  std::string result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsTitleLine(lines[i])) continue;
    const int score = TitleScore(std::string_view(lines[i]).substr(1), title);
    if (score <= 0 || score <= best) continue;
    std::size_t c = i + 1;
    while (c < lines.size() && lines[c].empty()) ++c;
    if (c == lines.size()) continue;
    const std::string_view classPart = ClassPart(lines[c]);
    if (IsSharedClass(classPart) ||
        (classPart.size() >= 3 && EqualsIgnoreCase(classPart.substr(0, 3), "afx"))) {
      result = std::string(PathPart(lines[c]));
      best = score;
    } else {
      result.clear();
      best = 0;
    }
  }
  return best > 0 ? result : std::string();
}

std::string ClassIconOf(std::span<const std::string> lines, std::string_view className) {
  if (IsSharedClass(className)) return {};
  for (const std::string& line : lines) {
    if (line.empty() || IsTitleLine(line) || line.find('>') == std::string::npos) continue;
    if (ClassPart(line) == className) return std::string(PathPart(line));
  }
  return {};
}

std::vector<std::string> AssociationRewrite(std::span<const std::string> lines, std::string_view className,
                                            std::string_view caption, std::string_view iconPath) {
  std::vector<std::string> out;
  out.reserve(lines.size() + 3);
  std::string classLine = std::string(className) + ">" + std::string(iconPath);
  bool done = false;
  for (const std::string& line : lines) {
    const bool classLineOf = !line.empty() && !IsTitleLine(line) && line.find('>') != std::string::npos &&
                             !IsSharedClass(className) && ClassPart(line) == className;
    if (classLineOf) {
      out.push_back(classLine);
      done = true;
    } else if (line.empty() || IsTitleLine(line) || line.find('>') != std::string::npos) {
      out.push_back(line);
    }  // anything else is dropped
  }
  if (!done) {
    out.emplace_back();
    std::string title(1, ';');
    title.append(caption);
    out.push_back(std::move(title));
    out.push_back(std::move(classLine));
  }
  return out;
}

IconAssociations::IconAssociations(std::filesystem::path folder)
    : file_(folder / FromUtf8(kIconFileName)), scratch_(folder / FromUtf8(kIconScratchName)) {}

void IconAssociations::Recover() const {
  std::error_code ec;
  if (!std::filesystem::exists(scratch_, ec)) return;
  if (std::filesystem::exists(file_, ec)) {
    std::filesystem::remove(scratch_, ec);
  } else {
    std::filesystem::rename(scratch_, file_, ec);
  }
}

std::vector<std::string> IconAssociations::Lines() const {
  std::vector<std::string> lines;
  std::ifstream in(file_, std::ios::binary);
  if (!in) return lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

bool IconAssociations::AssocieIcone(std::string_view className, std::string_view caption,
                                    std::string_view iconPath) const {
  const std::vector<std::string> lines = AssociationRewrite(Lines(), className, caption, iconPath);
  {
    std::ofstream out(scratch_, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& line : lines) out << line << "\r\n";
    out.flush();
    if (!out) return false;
  }
  std::error_code ec;
  std::filesystem::rename(scratch_, file_, ec);  // replaces QL.TMP in one step
  if (ec) {
    std::filesystem::remove(scratch_, ec);
    return false;
  }
  return true;
}

}  // namespace ql
