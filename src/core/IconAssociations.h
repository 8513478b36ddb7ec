// The icon association file QL.TMP: icons the user dropped on task buttons, kept from one run to
// the next. Lines end with CR LF and are of two kinds: a title line (";" and a window title as it
// was when the icon was dropped) and a class line (the window class, ">", the icon file). Empty
// lines are ignored. Windows of ordinary classes are matched by class; the shared classes
// "#32770" (dialog boxes) and "CabinetWClass" (folder windows) by the best-matching title.
//
// The file is replaced in one step: the new content goes to the scratch file "qltask.tmp" beside
// it, which is then renamed over QL.TMP, so a crash leaves either the old file or the new one.
// Texts are UTF-8.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

inline constexpr std::string_view kDialogClass = "#32770";
inline constexpr std::string_view kFolderClass = "CabinetWClass";
inline constexpr char kIconFileName[] = "QL.TMP";
inline constexpr char kIconScratchName[] = "qltask.tmp";

// "#32770" and "CabinetWClass" hold unrelated windows: never matched or inherited by class.
bool IsSharedClass(std::string_view className);

// How well a stored title matches a window's title: the stored title's words (split at single
// blanks; words of one or two characters count for nothing, except the last word) each add the
// number of the given title's words equal to them, ignoring case.
int TitleScore(std::string_view stored, std::string_view given);

// The icon of the best-scoring title line whose class line (the first non-empty line after it)
// is of a shared class or of a class beginning with "afx"; empty when none scores. On equal
// scores the earlier entry wins; a better-scoring entry of another class clears the result.
std::string IconeParTitre(std::span<const std::string> lines, std::string_view title);

// The icon of the first class line of `className` (never for a shared class); empty when none.
std::string ClassIconOf(std::span<const std::string> lines, std::string_view className);

// The lines after associating `iconPath` with a window of `className` titled `caption`: a class
// line of that class (not a shared one) is replaced in place; otherwise an empty line, the title
// line and the class line are appended. Lines that are neither empty, titles nor class lines go.
std::vector<std::string> AssociationRewrite(std::span<const std::string> lines, std::string_view className,
                                            std::string_view caption, std::string_view iconPath);

class IconAssociations {
 public:
  // QL.TMP and its scratch file in `folder`.
  explicit IconAssociations(std::filesystem::path folder = {});

  const std::filesystem::path& File() const { return file_; }
  const std::filesystem::path& Scratch() const { return scratch_; }

  // A rewrite cut short before its rename left only the scratch file: it becomes QL.TMP.
  // A scratch file beside an existing QL.TMP is an unfinished rewrite and is dropped.
  void Recover() const;

  // The file's lines; none when it is missing or unreadable.
  std::vector<std::string> Lines() const;

  std::string ClassIcon(std::string_view className) const { return ClassIconOf(Lines(), className); }
  std::string IconeParTitre(std::string_view title) const { return ql::IconeParTitre(Lines(), title); }

  // AssocieIcone: the file rewritten with the new association. False when it could not be
  // written (the old file then stays as it was).
  bool AssocieIcone(std::string_view className, std::string_view caption, std::string_view iconPath) const;

 private:
  std::filesystem::path file_;
  std::filesystem::path scratch_;
};

}  // namespace ql
