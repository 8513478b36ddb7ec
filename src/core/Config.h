// The dock's settings record, one field per stored option, with the values a first start uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ql {

// Where everything lives, below HKEY_CURRENT_USER.
inline constexpr std::string_view kVendorKey = "SoftWare\\Wendor";
inline constexpr std::string_view kDockKey = "SoftWare\\Wendor\\Quaylite";
inline constexpr std::string_view kLockKey = "RemoteAccess\\Windows";

inline constexpr std::uint32_t kDefaultColour = 0xC0C0C0;  // silver, red in the low byte
inline constexpr std::int32_t kMaxIconSize = 256;          // larger stored sizes read as the default

// The task bar's settings. Every field is zero, false or empty on a first start, except ShowTray.
struct TConfigTask {
  std::string TextSelecFile;  // bitmap of the foreground window's button; empty: none
  std::string TextureFile;    // bitmap of every other button; empty: none
  std::uint32_t ColorOn = 0;  // background, Down state (red in the low byte)
  std::uint32_t ColorOff = 0;
  std::uint32_t TColorOn = 0;  // label colour, Down state
  std::uint32_t TColorOff = 0;
  std::uint32_t RColor = 0;  // label rectangle (tile style)
  bool RectLbl = false;
  bool Border = false;
  bool Shadow = false;
  bool IconDock = false;  // look up custom icons for new buttons
  bool BigIcon = false;   // 64 x 64 tiles with 48-pixel icons
  bool ShowTray = true;   // embed and show the notification area
  std::string FontName;
  std::uint8_t FontSize = 0;
  std::uint32_t FontColor = 0;  // chosen in the configuration; the task bar does not use it
  bool FontBold = false;
  bool FontItalic = false;
  bool SmallStyle = false;  // label style: 130 x 20 buttons

  bool operator==(const TConfigTask&) const = default;
};

struct TConfig {
  std::int32_t Taille = 32;  // icon size: 16, 32, 48 or 64
  std::int32_t PosTop = 0;   // position along the edge (Top on a side edge, Left on the top)
  std::uint32_t Couleur = kDefaultColour;
  bool TaskBar = false;
  bool ShowDots = false;
  std::string Fond;  // bar texture bitmap file
  bool ModeClock = false;
  bool KovaM = false;
  bool cfdel = true;
  std::string HotKey;  // "Ctrl+" and one key character, or empty
  std::string ItMenSel;
  std::string ItMenNorm;
  bool OnTop = true;
  bool Confirm = false;
  bool ShowName = false;
  bool HideDesktop = false;
  bool Relief = true;
  bool RedimDesk = false;
  bool Provider = false;  // the lock is enabled
  bool StartLock = false;
  bool SingleClick = false;
  std::string Sens = "D";  // "D" right edge, "G" left edge, "H" top edge
  std::string MotDePasse;  // the lock password, plain text in memory
  std::string OpenW;
  std::string CloseW;
  std::string OpenWharf;
  std::string CloseWharf;
  bool PlaySnd = false;
  bool Poste = false;
  bool Net = false;
  bool Conf = false;
  bool Desk = false;
  bool Perso = false;
  bool Impr = false;
  bool Start = false;
  bool Format = false;
  // The task bar's settings, stored under the dock's key with the options above.
  TConfigTask Task;

  bool operator==(const TConfig&) const = default;
};

enum class Edge : std::uint8_t { Right, Left, Top };
// "G" is the left edge, "H" the top; anything else stands at the right edge.
Edge EdgeOf(std::string_view sens);

// The virtual-key character of a stored hot key text ("Ctrl+" and one character), given in the
// system's code page: its sixth character; nothing for a shorter text, so no hot key is
// registered.
std::optional<char> HotKeyCharacter(std::string_view hotKey);

}  // namespace ql
