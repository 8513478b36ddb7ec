#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TaskFixture.h"
#include "core/IconAssociations.h"

namespace ql {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;
using Lines = std::vector<std::string>;

TEST(TitleScore, ShortWordsCountOnlyAtTheEnd) {
  EXPECT_EQ(TitleScore("Copy of my files", "files copied to my disk"), 1);  // "of", "my" count nothing
  EXPECT_EQ(TitleScore("Letter to me", "ME and me"), 2);                    // the last word counts, twice
  EXPECT_EQ(TitleScore("Inbox", "inbox - mail"), 1);
  EXPECT_EQ(TitleScore("two  blanks", "two blanks"), 2);  // the empty word between counts nothing
  EXPECT_EQ(TitleScore("", "anything"), 0);
  EXPECT_EQ(TitleScore("Report", "Reports"), 0);
}

TEST(IconeParTitre, TheBestScoreOfASharedClassWinsAndTheEarlierOnATie) {
  const Lines lines{"",
                    ";Downloads folder",
                    "CabinetWClass>c:\\a.ico",
                    "",
                    ";Downloads",
                    "CabinetWClass>c:\\b.ico",
                    "",
                    ";Music Downloads folder",
                    "",
                    "#32770>c:\\c.ico",
                    ";Setup",
                    "AfxFrameOrView42>c:\\d.ico"};
  EXPECT_EQ(IconeParTitre(lines, "downloads"), "c:\\a.ico");  // a tie of 1: the earlier entry
  EXPECT_EQ(IconeParTitre(lines, "Downloads folder"), "c:\\a.ico");
  EXPECT_EQ(IconeParTitre(lines, "Music Downloads folder"), "c:\\c.ico");  // empty lines skipped
  EXPECT_EQ(IconeParTitre(lines, "Setup"), "c:\\d.ico");                   // "afx" in any case
  EXPECT_EQ(IconeParTitre(lines, "nothing alike"), "");
}

TEST(IconeParTitre, ABetterEntryOfAnOrdinaryClassClearsTheResult) {
  const Lines lines{";Daily report", "CabinetWClass>c:\\a.ico", ";Daily report draft", "Notepad>c:\\n.ico",
                    ";Daily"};
  EXPECT_EQ(IconeParTitre(lines, "daily report"), "c:\\a.ico");
  EXPECT_EQ(IconeParTitre(lines, "daily report draft"), "");
  // A title line at the end of the file has no class line: it is ignored.
  EXPECT_EQ(IconeParTitre(Lines{";Daily"}, "daily"), "");
}

TEST(ClassIconOf, TheFirstClassLineOfAnOrdinaryClass) {
  const Lines lines{";Notepad>odd title", "Notepad>c:\\first.ico", "Notepad>c:\\second.ico",
                    "CabinetWClass>c:\\folder.ico"};
  EXPECT_EQ(ClassIconOf(lines, "Notepad"), "c:\\first.ico");
  EXPECT_EQ(ClassIconOf(lines, "notepad"), "");
  EXPECT_EQ(ClassIconOf(lines, "CabinetWClass"), "");
}

TEST(AssociationRewrite, OrdinaryClassesReplaceInPlaceSharedOnesAppend) {
  const Lines lines{"",      ";Untitled - Notepad",       "Notepad>c:\\old.ico", "stray line", "",
                    ";Docs", "CabinetWClass>c:\\docs.ico"};
  EXPECT_EQ(
      AssociationRewrite(lines, "Notepad", "Other - Notepad", "c:\\new.ico"),
      (Lines{"", ";Untitled - Notepad", "Notepad>c:\\new.ico", "", ";Docs", "CabinetWClass>c:\\docs.ico"}));
  EXPECT_EQ(AssociationRewrite(lines, "CabinetWClass", "Docs", "c:\\docs2.ico"),
            (Lines{"", ";Untitled - Notepad", "Notepad>c:\\old.ico", "", ";Docs",
                   "CabinetWClass>c:\\docs.ico", "", ";Docs", "CabinetWClass>c:\\docs2.ico"}));
  EXPECT_EQ(AssociationRewrite({}, "Editor", "My editor", "c:\\e.ico"),
            (Lines{"", ";My editor", "Editor>c:\\e.ico"}));
}

TEST(IconAssociationsFile, AssociatingWritesCrLfLinesAndReplacesTheFileInOneStep) {
  ScratchFolder folder;
  const IconAssociations icons(folder.path());
  EXPECT_TRUE(icons.Lines().empty());  // missing: nothing found, nothing created
  EXPECT_EQ(icons.ClassIcon("Notepad"), "");
  EXPECT_FALSE(std::filesystem::exists(icons.File()));

  ASSERT_TRUE(icons.AssocieIcone("Notepad", "Untitled - Notepad", "c:\\n.ico"));
  EXPECT_EQ(ReadFile(icons.File()), "\r\n;Untitled - Notepad\r\nNotepad>c:\\n.ico\r\n");
  // The rename replaces an existing QL.TMP, and the scratch file is gone afterwards.
  ASSERT_TRUE(icons.AssocieIcone("Notepad", "Untitled - Notepad", "c:\\m.ico"));
  EXPECT_EQ(ReadFile(icons.File()), "\r\n;Untitled - Notepad\r\nNotepad>c:\\m.ico\r\n");
  EXPECT_FALSE(std::filesystem::exists(icons.Scratch()));
  EXPECT_EQ(icons.ClassIcon("Notepad"), "c:\\m.ico");

  // Lines ended by a bare LF read the same.
  WriteFile(icons.File(), ";Setup wizard\n#32770>c:\\s.ico\n");
  EXPECT_EQ(icons.IconeParTitre("Setup"), "c:\\s.ico");
}

TEST(IconAssociationsFile, ALeftOverScratchFileIsRecoveredOnlyWhenQlTmpIsMissing) {
  ScratchFolder folder;
  const IconAssociations icons(folder.path());
  WriteFile(icons.Scratch(), "Notepad>c:\\kept.ico\r\n");
  icons.Recover();
  EXPECT_FALSE(std::filesystem::exists(icons.Scratch()));
  EXPECT_EQ(icons.ClassIcon("Notepad"), "c:\\kept.ico");

  WriteFile(icons.Scratch(), "Notepad>c:\\unfinished.ico\r\n");
  icons.Recover();
  EXPECT_FALSE(std::filesystem::exists(icons.Scratch()));
  EXPECT_EQ(icons.ClassIcon("Notepad"), "c:\\kept.ico");

  icons.Recover();  // nothing to do
  EXPECT_EQ(icons.ClassIcon("Notepad"), "c:\\kept.ico");
}

TEST(IconAssociationsFile, AnUnwritableFolderKeepsTheOldFile) {
  ScratchFolder folder;
  const IconAssociations icons(folder.path() / "missing folder");
  EXPECT_FALSE(icons.AssocieIcone("Notepad", "x", "c:\\n.ico"));
  EXPECT_FALSE(std::filesystem::exists(icons.File()));
}

}  // namespace
}  // namespace ql
