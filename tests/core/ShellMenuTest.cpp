#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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

TEST(ShellRoots, FoldersAndTitles) {
  struct Row {
    TCSIDL root;
    int csidl;
    int title;
  };
  const Row rows[] = {
      {TCSIDL::CSID_DRIVES, 17, 1},    {TCSIDL::CSID_CONTROLS, 3, 3}, {TCSIDL::CSID_PRINTERS, 4, 6},
      {TCSIDL::CSID_NETWORK, 18, 2},   {TCSIDL::CSID_DESKTOP, 0, 4},  {TCSIDL::CSID_PROGRAMS, 2, 7},
      {TCSIDL::CSID_PERSONAL, 5, 5},   {TCSIDL::CSID_FONTS, 20, 1},   {TCSIDL::CSID_RECENT, 8, 1},
      {TCSIDL::CSID_BITBUCKET, 10, 1}, {TCSIDL::CSID_NETHOOD, 19, 1}, {TCSIDL::CSID_TEMPLATES, 21, 1},
  };
  for (const Row& r : rows) {
    const ql::ShellRoot& info = ql::ShellRootOf(r.root);
    EXPECT_EQ(info.root, r.root);
    EXPECT_EQ(info.csidl, r.csidl) << static_cast<int>(r.root);
    EXPECT_EQ(info.titleIndex, r.title) << static_cast<int>(r.root);
  }
  // Every root without a caption of its own is titled "My Computer"; the seven with one keep it.
  EXPECT_EQ(ql::ShellMenuTitle(ql::ShellRootOf(TCSIDL::CSID_FONTS).titleIndex), "My Computer");
  EXPECT_EQ(ql::ShellMenuTitle(ql::ShellRootOf(TCSIDL::CSID_STARTUP).titleIndex), "My Computer");
  EXPECT_EQ(ql::ShellMenuTitle(ql::ShellRootOf(TCSIDL::CSID_PROGRAMS).titleIndex), "Start Menu");
  EXPECT_EQ(ql::ShellMenuTitle(ql::ShellRootOf(TCSIDL::CSID_PRINTERS).titleIndex), "Printers");
  EXPECT_EQ(ql::ShellMenuTitle(0), "My Computer");
  EXPECT_EQ(ql::ShellMenuTitle(99), "My Computer");
  // A stray value reads as the desktop.
  EXPECT_EQ(ql::ShellRootOf(static_cast<TCSIDL>(200)).root, TCSIDL::CSID_DESKTOP);

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
