// The dock's model: one TBouton record per tile of the bar and of a branch, modules included,
// kept in linked chains. The main bar is the chain of Suivant links from the head record; each
// group's members hang on its Branche link and on one another's Branche links. Each record owns
// the records after it (Suivant and Branche); Precedent is a plain back link.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

class StoreKey;

// Module kind names: a main-bar record whose BtnApp is one of these shows a module tile.
inline constexpr std::string_view kModuleClock = "Clock Quaylite";
inline constexpr std::string_view kModuleRecycler = "Recycler";
inline constexpr std::string_view kModuleVirtualDesk = "Virtual Desktop";
inline constexpr std::string_view kModuleSysInfo = "SysInfo";

enum class ModuleKind : std::uint8_t { None, Clock, Recycler, VirtualDesk, SysInfo };
ModuleKind ModuleOf(std::string_view btnApp);  // exact comparison, case and spelling

struct TBouton {
  std::string NomApp;    // display name: hint, and label when labels are shown
  std::string BtnApp;    // command "target|parameters", or a module kind name
  std::string IconPath;  // icon file; the watched folder for the recycle bin
  std::string Texture;   // own background bitmap file; empty: the bar's texture
  std::int32_t IconIndex = 0;
  std::int32_t NumBranche = 0;  // Numero of the group holding a member; 0 on the main bar
  std::int32_t Numero = 0;      // 1-based, unique over the dock; the Tag of the tile control

  std::unique_ptr<TBouton> Suivant;  // next main-bar record (owned)
  TBouton* Precedent = nullptr;      // previous record, or the group for a first member
  std::unique_ptr<TBouton> Branche;  // first member (on a group) or next member (owned)

  TBouton() = default;
  TBouton(const TBouton&) = delete;
  TBouton& operator=(const TBouton&) = delete;
  ~TBouton();  // frees long chains without deep recursion

  bool HasMembers() const { return Branche != nullptr; }
  ModuleKind Module() const { return ModuleOf(BtnApp); }
};

// The contents of a record, without its links: what a caller gives to append a button.
struct ButtonData {
  std::string NomApp;
  std::string BtnApp;
  std::string IconPath;
  std::string Texture;
  std::int32_t IconIndex = 0;
};

class ButtonList {
 public:
  ButtonList();  // InitPtr
  ButtonList(const ButtonList&) = delete;
  ButtonList& operator=(const ButtonList&) = delete;
  ~ButtonList();

  // Empties the list: only the head record remains.
  void InitPtr();

  TBouton* TeteBoutons() const { return tete_.get(); }
  TBouton* DernierBouton() const { return dernier_; }
  TBouton* First() const { return tete_->Suivant.get(); }
  std::int32_t NbBoutons() const { return nbBoutons_; }
  bool Empty() const { return First() == nullptr; }

  // Main bar first, then the members of each record: first match by Numero.
  TBouton* FindPtr(std::int32_t numero) const;
  // Same walk, BtnApp compared exactly; `out` left alone when nothing matches.
  bool FindPtrText(std::string_view text, TBouton*& out) const;
  // The main-bar record with that Numero if it is a group, searched from the end.
  TBouton* GetBranchePtr(std::int32_t numero) const;

  // Frees the members of the group numbered `numero` (if it is one), from the last to the first.
  void DisposeBranchePtr(std::int32_t numero);
  // Unlinks and frees one record; with `withBranch`, its members first (last to first). A
  // main-bar record freed without the flag takes its members with it all the same. BoutonSource
  // and BoutonCible are cleared when they name a freed record.
  void DisposeBouton(TBouton* record, bool withBranch);
  // Frees every record (the branch window is emptied by the caller first).
  void DisposeAllPtr();

  // Numbers every record (main bar 1..M, then members group by group); with a key, also
  // writes each record's store entry there.
  void RenumBtn(StoreKey* key);

  // Appends a record at the end of the main bar (Numero left to the next RenumBtn).
  TBouton& Append(ButtonData data);
  // Appends a member at the end of a group's branch; NumBranche := the group's Numero.
  TBouton& AppendMember(TBouton& group, ButtonData data);

  // Records in bar order / a group's members in branch order.
  std::vector<TBouton*> MainBar() const;
  static std::vector<TBouton*> Members(const TBouton& group);

  // The two shared record pointers of the dialogs and the drag exchange.
  TBouton* BoutonSource = nullptr;
  TBouton* BoutonCible = nullptr;

 private:
  std::unique_ptr<TBouton> tete_;
  TBouton* dernier_ = nullptr;
  std::int32_t nbBoutons_ = 0;
};

}  // namespace ql
