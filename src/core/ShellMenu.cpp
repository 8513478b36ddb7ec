#include "core/ShellMenu.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

namespace ql {

namespace {

// CSIDL numbers of the shell.
constexpr std::array<ShellRoot, kShellRootCount> kRoots{{
    {TCSIDL::CSID_DRIVES, 17, 1},
    {TCSIDL::CSID_CONTROLS, 3, 3},
    {TCSIDL::CSID_PRINTERS, 4, 6},
    {TCSIDL::CSID_BITBUCKET, 10, 1},
    {TCSIDL::CSID_NETWORK, 18, 2},
    {TCSIDL::CSID_FONTS, 20, 1},
    {TCSIDL::CSID_DESKTOP, kDesktopItself, 4},
    {TCSIDL::CSID_DESKTOPDIRECTORY, 16, 1},
    {TCSIDL::CSID_PROGRAMS, 2, 7},
    {TCSIDL::CSID_RECENT, 8, 1},
    {TCSIDL::CSID_STARTMENU, 11, 1},
    {TCSIDL::CSID_STARTUP, 7, 1},
    {TCSIDL::CSID_SENDTO, 9, 1},
    {TCSIDL::CSID_TEMPLATES, 21, 1},
    {TCSIDL::CSID_PERSONAL, 5, 5},
    {TCSIDL::CSID_NETHOOD, 19, 1},
}};

// The main menu's captions 1 to 7, the titles of the shell menus.
constexpr std::array<std::string_view, 8> kTitles{
    "",         "My Computer", "Network Neighborhood", "Control Panel", "Desktop Icons", "My Documents",
    "Printers", "Start Menu",
};

char32_t LowerLetter(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  switch (c) {
    case 0x152:  // OE
    case 0x160:  // S caron
    case 0x17D:  // Z caron
      return c + 1;
    case 0x178:  // Y diaeresis
      return 0xFF;
    default:
      return c;
  }
}

// One UTF-8 sequence at `text[i]`: its code point and length; a malformed byte stands alone
// (length 1, no code point), so it is copied as it is.
struct Decoded {
  char32_t code = 0;
  std::size_t length = 1;
  bool valid = false;
};

Decoded DecodeAt(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  Decoded d;
  std::size_t n = 0;
  if (lead < 0x80) return {lead, 1, true};
  if ((lead & 0xE0) == 0xC0) {
    n = 2;
    d.code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3;
    d.code = lead & 0x0F;
  } else {
    return d;  // four-byte sequences have no letter to lower here
  }
  if (i + n > text.size()) return d;
  for (std::size_t k = 1; k < n; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return {};
    d.code = (d.code << 6) | (next & 0x3F);
  }
  d.length = n;
  d.valid = true;
  return d;
}

void Encode(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::size_t ReadCount(const std::uint8_t* at) {
  return static_cast<std::size_t>(at[0]) | (static_cast<std::size_t>(at[1]) << 8);
}

}  // namespace

const ShellRoot& ShellRootOf(TCSIDL root) {
  const auto i = static_cast<std::size_t>(root);
  return i < kRoots.size() ? kRoots[i] : kRoots[static_cast<std::size_t>(TCSIDL::CSID_DESKTOP)];
}

TCSIDL ShellRootOfFolder(int csidl) {
  for (const ShellRoot& r : kRoots) {
    if (r.csidl == csidl) return r.root;
  }
  return TCSIDL::CSID_DESKTOP;
}

std::string_view ShellMenuTitle(int titleIndex) {
  if (titleIndex < 1 || titleIndex >= static_cast<int>(kTitles.size())) return kTitles[1];
  return kTitles[static_cast<std::size_t>(titleIndex)];
}

bool SortsByCaption(int titleIndex) { return titleIndex == 3 || titleIndex == 5 || titleIndex == 7; }

std::string SortKey(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = DecodeAt(utf8, i);
    if (d.valid) {
      Encode(LowerLetter(d.code), out);
    } else {
      out.append(utf8.substr(i, d.length));
    }
    i += d.length;
  }
  return out;
}

std::vector<std::size_t> CaptionOrder(const std::vector<std::string>& captions) {
  std::vector<std::string> keys;
  keys.reserve(captions.size());
  for (const std::string& c : captions) keys.push_back(SortKey(c));
  std::vector<std::size_t> order(captions.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Neighbours are swapped only when strictly out of order, so equal keys keep their places: a
  // stable sort gives the same order. UTF-8 bytes compare in code point order.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::string_view(keys[a]).compare(keys[b]) < 0;
  });
  return order;
}

std::size_t ItemIdListSize(const std::uint8_t* list) {
  if (list == nullptr) return 0;
  std::size_t size = 0;
  for (std::size_t count = ReadCount(list); count != 0; count = ReadCount(list + size)) size += count;
  return size + 2;
}

std::size_t JoinedItemIdListSize(const std::uint8_t* parent, const std::uint8_t* child) {
  const std::size_t parentItems = parent != nullptr ? ItemIdListSize(parent) - 2 : 0;
  // Without a child the joined list still ends with its terminator.
  const std::size_t childSize = child != nullptr ? ItemIdListSize(child) : 2;
  return parentItems + childSize;
}

void JoinItemIdLists(const std::uint8_t* parent, const std::uint8_t* child, std::uint8_t* out) {
  const std::size_t parentItems = parent != nullptr ? ItemIdListSize(parent) - 2 : 0;
  if (parentItems != 0) std::memcpy(out, parent, parentItems);
  if (child != nullptr) {
    std::memcpy(out + parentItems, child, ItemIdListSize(child));
  } else {
    out[parentItems] = 0;
    out[parentItems + 1] = 0;
  }
}

}  // namespace ql
