#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ShellMenu.h"

using ql::TCSIDL;

namespace {

std::vector<std::string> Sorted(const std::vector<std::string>& captions) {
  std::vector<std::string> out;
  for (std::size_t i : ql::CaptionOrder(captions)) out.push_back(captions[i]);
  return out;
}

}  // namespace

TEST(ShellRoots, TitlesOfTheSevenEntriesAndMyComputerForTheRest) {
  const std::pair<TCSIDL, const char*> own[] = {
      {TCSIDL::CSID_DRIVES, "My Computer"},     {TCSIDL::CSID_NETWORK, "Network Neighborhood"},
      {TCSIDL::CSID_CONTROLS, "Control Panel"}, {TCSIDL::CSID_DESKTOP, "Desktop Icons"},
      {TCSIDL::CSID_PERSONAL, "My Documents"},  {TCSIDL::CSID_PRINTERS, "Printers"},
      {TCSIDL::CSID_PROGRAMS, "Start Menu"},
  };
  for (int i = 0; i < ql::kShellRootCount; ++i) {
    const auto root = static_cast<TCSIDL>(i);
    const ql::ShellRoot& info = ql::ShellRootOf(root);
    EXPECT_EQ(info.root, root);
    std::string_view expected = "My Computer";
    for (const auto& [r, title] : own) {
      if (r == root) expected = title;
    }
    EXPECT_EQ(ql::ShellMenuTitle(info.titleIndex), expected) << i;
  }
  // The folders the dock's entries open (the shell's numbers), and a stray value as the desktop.
  EXPECT_EQ(ql::ShellRootOf(TCSIDL::CSID_PROGRAMS).csidl, 2);
  EXPECT_EQ(ql::ShellRootOf(TCSIDL::CSID_DESKTOP).csidl, ql::kDesktopItself);
  EXPECT_EQ(ql::ShellRootOf(static_cast<TCSIDL>(200)).root, TCSIDL::CSID_DESKTOP);
  EXPECT_EQ(ql::ShellMenuTitle(99), "My Computer");
  for (int title = 0; title <= 8; ++title) {
    EXPECT_EQ(ql::SortsByCaption(title), title == 3 || title == 5 || title == 7) << title;
  }
}

TEST(ShellMenuOrder, CaseInsensitiveAndStableForEqualCaptions) {
  EXPECT_EQ(Sorted({"beta", "Alpha", "alpha", "ALPHA", "Gamma", "b"}),
            (std::vector<std::string>{"Alpha", "alpha", "ALPHA", "b", "beta", "Gamma"}));
  // Plain character order of the lowered text: digits, '[' and '_' (between 'Z' and 'a') come
  // before every letter once letters are lowered.
  EXPECT_EQ(Sorted({"zeta", "_x", "[y", "10", "2", "Zed"}),
            (std::vector<std::string>{"10", "2", "[y", "_x", "Zed", "zeta"}));
  // Latin letters of the code page lower too; others compare as they are.
  EXPECT_EQ(ql::SortKey("ÉTÉ Œuvre ŠA"), "été œuvre ša");
  EXPECT_EQ(ql::SortKey("ΔΣ"), "ΔΣ");
  EXPECT_EQ(Sorted({"Été", "eau", "zoo"}), (std::vector<std::string>{"eau", "zoo", "Été"}));
  // Malformed UTF-8 passes through unchanged.
  EXPECT_EQ(ql::SortKey(std::string("A\xC3", 2)), std::string("a\xC3", 2));
  EXPECT_TRUE(ql::CaptionOrder({}).empty());
}

TEST(ShellMenuOrder, ManyEqualCaptionsKeepTheShellOrder) {
  std::vector<std::string> captions;
  for (int i = 0; i < 300; ++i) captions.push_back(i % 2 == 0 ? "Same" : "same");
  const std::vector<std::size_t> order = ql::CaptionOrder(captions);
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
}

TEST(ItemIdLists, SizeAndJoin) {
  const std::uint8_t parent[] = {4, 0, 'a', 'b', 3, 0, 'c', 0, 0};
  const std::uint8_t child[] = {5, 0, 'x', 'y', 'z', 0, 0};
  const std::uint8_t empty[] = {0, 0};
  EXPECT_EQ(ql::ItemIdListSize(nullptr), 0U);
  EXPECT_EQ(ql::ItemIdListSize(empty), 2U);
  EXPECT_EQ(ql::ItemIdListSize(parent), sizeof parent);
  EXPECT_EQ(ql::ItemIdListSize(child), sizeof child);

  ASSERT_EQ(ql::JoinedItemIdListSize(parent, child), sizeof parent - 2 + sizeof child);
  std::vector<std::uint8_t> joined(ql::JoinedItemIdListSize(parent, child), 0xEE);
  ql::JoinItemIdLists(parent, child, joined.data());
  EXPECT_EQ(joined, (std::vector<std::uint8_t>{4, 0, 'a', 'b', 3, 0, 'c', 5, 0, 'x', 'y', 'z', 0, 0}));

  // The desktop's empty list as parent gives the child alone; no child still ends the list.
  std::vector<std::uint8_t> alone(ql::JoinedItemIdListSize(empty, child), 0xEE);
  ql::JoinItemIdLists(empty, child, alone.data());
  EXPECT_EQ(alone, (std::vector<std::uint8_t>(child, child + sizeof child)));
  std::vector<std::uint8_t> parentOnly(ql::JoinedItemIdListSize(parent, nullptr), 0xEE);
  ql::JoinItemIdLists(parent, nullptr, parentOnly.data());
  EXPECT_EQ(parentOnly, (std::vector<std::uint8_t>(parent, parent + sizeof parent)));
  EXPECT_EQ(ql::JoinedItemIdListSize(nullptr, nullptr), 2U);
}
