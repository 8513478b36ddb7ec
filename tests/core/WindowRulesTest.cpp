#include <gtest/gtest.h>

#include <string>

#include "core/WindowRules.h"

namespace {

constexpr std::uint32_t kOverlappedWindow = 0x00CF0000U;  // caption, frame, sysmenu, min/max boxes
constexpr std::uint32_t kVisible = 0x10000000U;
constexpr std::uint32_t kCaption = 0x00C00000U;
constexpr std::uint32_t kExAppWindow = 0x00040000U;
constexpr std::uint32_t kExWindowEdge = 0x00000100U;

}  // namespace

TEST(IsTaskWindowStyle, ToolWindowsAndTheModalFrameStyleNeverQualify) {
  EXPECT_FALSE(ql::IsTaskWindowStyle(kOverlappedWindow | kVisible, ql::kExStyleToolWindow));
  EXPECT_FALSE(ql::IsTaskWindowStyle(kOverlappedWindow, ql::kExStyleToolWindow | kExAppWindow));
  // A tool window is refused even as a popup that would otherwise qualify.
  EXPECT_FALSE(ql::IsTaskWindowStyle(ql::kStylePopup | ql::kStyleSysMenu | ql::kStyleMinimizeBox,
                                     ql::kExStyleToolWindow));
  EXPECT_FALSE(ql::IsTaskWindowStyle(kOverlappedWindow, 0x10109U));
  // Only that exact extended style: one bit more or less is an ordinary window.
  EXPECT_TRUE(ql::IsTaskWindowStyle(kOverlappedWindow, 0x10109U | kExAppWindow));
  EXPECT_TRUE(ql::IsTaskWindowStyle(kOverlappedWindow, 0x10108U));
}

TEST(IsTaskWindowStyle, PopupsNeedMinimizeBoxAndSystemMenuAndMustBeEnabled) {
  const std::uint32_t full = ql::kStylePopup | kCaption | ql::kStyleSysMenu | ql::kStyleMinimizeBox;
  EXPECT_TRUE(ql::IsTaskWindowStyle(full, 0));
  EXPECT_TRUE(ql::IsTaskWindowStyle(full | kVisible, kExWindowEdge));
  EXPECT_FALSE(ql::IsTaskWindowStyle(full & ~ql::kStyleMinimizeBox, 0));
  EXPECT_FALSE(ql::IsTaskWindowStyle(full & ~ql::kStyleSysMenu, 0));
  EXPECT_FALSE(ql::IsTaskWindowStyle(full | ql::kStyleDisabled, 0));
  // A splash screen: a bare popup.
  EXPECT_FALSE(ql::IsTaskWindowStyle(ql::kStylePopup | kVisible, 0));
}

TEST(IsTaskWindowStyle, NonPopupWindowsQualifyWhateverTheirOtherStyles) {
  EXPECT_TRUE(ql::IsTaskWindowStyle(0, 0));
  EXPECT_TRUE(ql::IsTaskWindowStyle(kOverlappedWindow | kVisible, 0));
  // Without a system menu or minimize box, and even disabled, an overlapped window still counts.
  EXPECT_TRUE(ql::IsTaskWindowStyle(kCaption | ql::kStyleDisabled, kExWindowEdge));
}

TEST(TaskSignature, ReportsAChangeOnlyWhenTheSumDiffers) {
  ql::TaskSignature sig;
  auto run = [&sig](std::initializer_list<std::uint32_t> handles) {
    sig.Begin();
    for (std::uint32_t h : handles) sig.Add(h);
    return sig.Finish();
  };
  // The first run compares with 0.
  EXPECT_TRUE(run({0x10020U, 0x30044U}));
  EXPECT_EQ(sig.previous(), 0x40064U);
  // The same desktop again: unchanged.
  EXPECT_FALSE(run({0x10020U, 0x30044U}));
  // Order does not matter.
  EXPECT_FALSE(run({0x30044U, 0x10020U}));
  // One window closed and another opened with the very same handle: unchanged.
  EXPECT_FALSE(run({0x10020U, 0x30044U}));
  // One window more.
  EXPECT_TRUE(run({0x10020U, 0x30044U, 0x5006AU}));
  EXPECT_FALSE(run({0x10020U, 0x30044U, 0x5006AU}));
  // Back to the earlier set: a change again, since only the previous sum is remembered.
  EXPECT_TRUE(run({0x10020U, 0x30044U}));
}

TEST(TaskSignature, EmptyDesktopFirstAndWrappingSums) {
  ql::TaskSignature sig;
  sig.Begin();
  EXPECT_FALSE(sig.Finish()) << "no window at all sums to 0, like the start value";

  sig.Begin();
  sig.Add(0xFFFFFFF0U);
  sig.Add(0x20U);
  EXPECT_EQ(sig.current(), 0x10U);
  EXPECT_TRUE(sig.Finish());
  // A different set with the same wrapped sum is indistinguishable.
  sig.Begin();
  sig.Add(0x10U);
  EXPECT_FALSE(sig.Finish());
}

TEST(HandleText, DecimalOfTheFull32BitValue) {
  EXPECT_EQ(ql::HandleText(0x000A0B2CU), "658220");
  EXPECT_EQ(ql::HandleText(0U), "0");
  EXPECT_EQ(ql::HandleText(0xFFFFFFFFU), "4294967295");
  EXPECT_EQ(ql::ParseHandleText("658220"), 0x000A0B2CU);
  EXPECT_EQ(ql::ParseHandleText("4294967295"), 0xFFFFFFFFU);
  EXPECT_FALSE(ql::ParseHandleText("4294967296"));
  EXPECT_FALSE(ql::ParseHandleText(""));
  EXPECT_FALSE(ql::ParseHandleText("-1"));
  EXPECT_FALSE(ql::ParseHandleText("12 "));
  EXPECT_FALSE(ql::ParseHandleText("0x10"));
}

TEST(WindowsVersionText, NamesEachPlatform) {
  // Windows 98: 4.10, build 1998, with major and minor in the high word of the build number.
  EXPECT_EQ(ql::WindowsVersionText(1, 4, 10, 0x040A07CEU, " "), "Windows 98\rVersion 4.10\rBuild 67766222");
  EXPECT_EQ(ql::WindowsVersionText(1, 4, 0, 950, ""), "Windows 95\rVersion 4.0\rBuild 950");
  EXPECT_EQ(ql::WindowsVersionText(2, 4, 0, 1381, "Service Pack 6"),
            "Windows NT Service Pack 6\rVersion 4.0\rBuild 1381");
  EXPECT_EQ(ql::WindowsVersionText(0, 1, 30, 166, ""), "Win32S\rVersion 1.30\rBuild 166");
  EXPECT_EQ(ql::WindowsVersionText(2, 6, 1, 7601, "Service Pack 1"),
            "Windows NT Service Pack 1\rVersion 6.1\rBuild 7601");
}

TEST(WindowsVersionText, ServicePackBlankSkippedOtherwiseKeptAsIs) {
  EXPECT_EQ(ql::WindowsVersionText(2, 5, 0, 2195, ""), "Windows NT\rVersion 5.0\rBuild 2195");
  EXPECT_EQ(ql::WindowsVersionText(2, 5, 0, 2195, " "), "Windows NT\rVersion 5.0\rBuild 2195");
  // Windows 98 Second Edition reports " A ": kept with its blanks.
  EXPECT_EQ(ql::WindowsVersionText(1, 4, 10, 2222, " A "), "Windows 98  A \rVersion 4.10\rBuild 2222");
  EXPECT_EQ(ql::WindowsVersionText(2, 5, 0, 2195, "  "), "Windows NT   \rVersion 5.0\rBuild 2195");
}

TEST(WindowsVersionText, BuildUsesAll32BitsAndNoLineFeeds) {
  const std::string text = ql::WindowsVersionText(1, 4, 90, 0xFFFFFFFFU, "");
  EXPECT_EQ(text, "Windows 98\rVersion 4.90\rBuild 4294967295");
  EXPECT_EQ(text.find('\n'), std::string::npos);
  // An unknown platform has no name but keeps the other two lines.
  EXPECT_EQ(ql::WindowsVersionText(3, 10, 0, 19045, ""), "\rVersion 10.0\rBuild 19045");
}

TEST(MixColors, HalvesTheSumOfEachComponent) {
  EXPECT_EQ(ql::MixColors(0x000000U, 0xFFFFFFU), 0x7F7F7FU);  // black and white: RGB(127,127,127)
  EXPECT_EQ(ql::MixColors(0xFFFFFFU, 0xFFFFFFU), 0xFFFFFFU);
  // Red in the low byte: RGB(200, 10, 0) with RGB(0, 30, 255).
  EXPECT_EQ(ql::MixColors(0x00000AC8U, 0x00FF1E00U), 0x007F1464U);
  // Components never carry into each other; odd sums round down.
  EXPECT_EQ(ql::MixColors(0x00FF00FFU, 0x00FE00FEU), 0x00FE00FEU);
  EXPECT_EQ(ql::MixColors(0x00010101U, 0x0U), 0x0U);
  // The byte above blue is not a component and is dropped.
  EXPECT_EQ(ql::MixColors(0xFF000000U, 0xFF102030U), 0x00081018U);
}

TEST(ShellFileList, PipesBecomeNullsAndTheListEndsWithTwo) {
  using namespace std::string_literals;
  EXPECT_EQ(ql::ShellFileList("C:\\a.txt|C:\\b c.txt"), "C:\\a.txt\0C:\\b c.txt\0\0"s);
  EXPECT_EQ(ql::ShellFileList("C:\\one"), "C:\\one\0\0"s);
  EXPECT_EQ(ql::ShellFileList(""), "\0\0"s);
  EXPECT_EQ(ql::ShellFileList("a||b"), "a\0\0b\0\0"s);  // the shell's list ends at the empty entry
  EXPECT_EQ(ql::ShellDestination("C:\\dest"), "C:\\dest\0\0"s);
  EXPECT_EQ(ql::ShellDestination(""), "\0\0"s);
}

TEST(PlanShellFileOp, OperationCodesAndDeleteFlags) {
  auto copy = ql::PlanShellFileOp(1, "C:\\dest");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->operation, ql::ShellOperation::Copy);
  EXPECT_FALSE(copy->flags.allowUndo || copy->flags.silent || copy->flags.noConfirmation);

  auto move = ql::PlanShellFileOp(3, "vide");
  ASSERT_TRUE(move);
  EXPECT_EQ(move->operation, ql::ShellOperation::Move);
  EXPECT_FALSE(move->flags.allowUndo || move->flags.silent || move->flags.noConfirmation);

  auto recycle = ql::PlanShellFileOp(2, "");
  ASSERT_TRUE(recycle);
  EXPECT_EQ(recycle->operation, ql::ShellOperation::Delete);
  EXPECT_TRUE(recycle->flags.allowUndo);
  EXPECT_TRUE(recycle->flags.silent);
  EXPECT_TRUE(recycle->flags.noConfirmation);

  auto permanent = ql::PlanShellFileOp(2, "vide");
  ASSERT_TRUE(permanent);
  EXPECT_FALSE(permanent->flags.allowUndo);
  EXPECT_TRUE(permanent->flags.silent);
  EXPECT_TRUE(permanent->flags.noConfirmation);

  // Only the exact word makes a delete permanent.
  EXPECT_TRUE(ql::PlanShellFileOp(2, "Vide")->flags.allowUndo);
  EXPECT_TRUE(ql::PlanShellFileOp(2, "vide ")->flags.allowUndo);

  EXPECT_FALSE(ql::PlanShellFileOp(0, ""));
  EXPECT_FALSE(ql::PlanShellFileOp(4, ""));
  EXPECT_FALSE(ql::PlanShellFileOp(-2, ""));
}
