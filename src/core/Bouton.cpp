#include "core/Bouton.h"

#include <utility>

#include "core/ButtonStore.h"

namespace ql {

ModuleKind ModuleOf(std::string_view btnApp) {
  if (btnApp == kModuleClock) return ModuleKind::Clock;
  if (btnApp == kModuleRecycler) return ModuleKind::Recycler;
  if (btnApp == kModuleVirtualDesk) return ModuleKind::VirtualDesk;
  if (btnApp == kModuleSysInfo) return ModuleKind::SysInfo;
  return ModuleKind::None;
}

TBouton::~TBouton() {
  // Unwind both owned chains iteratively: a bar of thousands of records must not recurse.
  std::vector<std::unique_ptr<TBouton>> pending;
  if (Suivant) pending.push_back(std::move(Suivant));
  if (Branche) pending.push_back(std::move(Branche));
  while (!pending.empty()) {
    std::unique_ptr<TBouton> r = std::move(pending.back());
    pending.pop_back();
    if (r->Suivant) pending.push_back(std::move(r->Suivant));
    if (r->Branche) pending.push_back(std::move(r->Branche));
  }
}

ButtonList::ButtonList() { InitPtr(); }

ButtonList::~ButtonList() = default;

void ButtonList::InitPtr() {
  tete_ = std::make_unique<TBouton>();
  dernier_ = tete_.get();
  nbBoutons_ = 0;
  BoutonSource = nullptr;
  BoutonCible = nullptr;
}

TBouton* ButtonList::FindPtr(std::int32_t numero) const {
  for (TBouton* r = First(); r != nullptr; r = r->Suivant.get()) {
    if (r->Numero == numero) return r;
    for (TBouton* m = r->Branche.get(); m != nullptr; m = m->Branche.get()) {
      if (m->Numero == numero) return m;
    }
  }
  return nullptr;
}

bool ButtonList::FindPtrText(std::string_view text, TBouton*& out) const {
  for (TBouton* r = First(); r != nullptr; r = r->Suivant.get()) {
    if (r->BtnApp == text) {
      out = r;
      return true;
    }
    for (TBouton* m = r->Branche.get(); m != nullptr; m = m->Branche.get()) {
      if (m->BtnApp == text) {
        out = m;
        return true;
      }
    }
  }
  return false;
}

TBouton* ButtonList::GetBranchePtr(std::int32_t numero) const {
  for (TBouton* r = dernier_; r != nullptr && r != tete_.get(); r = r->Precedent) {
    if (r->Numero == numero) {
      return r->HasMembers() ? r : nullptr;
    }
  }
  return nullptr;
}

void ButtonList::DisposeBranchePtr(std::int32_t numero) {
  TBouton* group = GetBranchePtr(numero);
  if (group == nullptr) return;
  // From the last member back to the first, as the records were allocated forwards.
  std::vector<TBouton*> members = Members(*group);
  for (auto it = members.rbegin(); it != members.rend(); ++it) {
    DisposeBouton(*it, false);
  }
}

void ButtonList::DisposeBouton(TBouton* record, bool withBranch) {
  if (record == nullptr || record == tete_.get()) return;
  TBouton* prev = record->Precedent;
  // A member hangs on the Branche link of the record before it; its own Branche is the next
  // member, not a branch of its own.
  const bool member = prev != nullptr && prev->Branche.get() == record;
  if (withBranch && !member) {
    // The record's own members, last first. Taken from the record itself rather than looked up
    // by number, which may be stale between an append and the next RenumBtn.
    std::vector<TBouton*> members = Members(*record);
    for (auto it = members.rbegin(); it != members.rend(); ++it) DisposeBouton(*it, false);
  }
  // The shared pointers must not outlive what they name: the record and, for a main-bar record
  // that still has members, those members, which go with it.
  auto forget = [this](const TBouton* gone) {
    if (BoutonSource == gone) BoutonSource = nullptr;
    if (BoutonCible == gone) BoutonCible = nullptr;
  };
  forget(record);
  if (!member) {
    for (const TBouton* m = record->Branche.get(); m != nullptr; m = m->Branche.get()) forget(m);
  }
  if (prev == nullptr) return;  // not linked: nothing owns it here
  if (member) {
    // The previous member (or the group) takes over the rest of the chain.
    std::unique_ptr<TBouton> owned = std::move(prev->Branche);
    prev->Branche = std::move(owned->Branche);
    if (prev->Branche) prev->Branche->Precedent = prev;
  } else {
    std::unique_ptr<TBouton> owned = std::move(prev->Suivant);
    prev->Suivant = std::move(owned->Suivant);
    if (prev->Suivant) {
      prev->Suivant->Precedent = prev;
    } else {
      dernier_ = prev;
    }
  }
}

void ButtonList::DisposeAllPtr() {
  // From the last main-bar record back to the first: members, then the record.
  while (dernier_ != tete_.get()) {
    DisposeBouton(dernier_, true);
  }
  InitPtr();
}

void ButtonList::RenumBtn(StoreKey* key) {
  std::int32_t m = 0;
  for (TBouton* r = dernier_; r != nullptr && r != tete_.get(); r = r->Precedent) ++m;
  std::int32_t k = m + 1;
  std::int32_t i = 1;
  for (TBouton* r = First(); r != nullptr; r = r->Suivant.get()) {
    r->Numero = i;
    r->NumBranche = 0;
    if (key != nullptr) WriteButtonEntry(*key, *r);
    for (TBouton* mem = r->Branche.get(); mem != nullptr; mem = mem->Branche.get()) {
      mem->Numero = k;
      mem->NumBranche = i;
      if (key != nullptr) WriteButtonEntry(*key, *mem);
      ++k;
    }
    ++i;
  }
  nbBoutons_ = k - 1;
}

namespace {
std::unique_ptr<TBouton> MakeRecord(ButtonData&& data) {
  auto rec = std::make_unique<TBouton>();
  rec->NomApp = std::move(data.NomApp);
  rec->BtnApp = std::move(data.BtnApp);
  rec->IconPath = std::move(data.IconPath);
  rec->Texture = std::move(data.Texture);
  rec->IconIndex = data.IconIndex;
  return rec;
}
}  // namespace

TBouton& ButtonList::Append(ButtonData data) {
  auto rec = MakeRecord(std::move(data));
  rec->Precedent = dernier_;
  dernier_->Suivant = std::move(rec);
  dernier_ = dernier_->Suivant.get();
  return *dernier_;
}

TBouton& ButtonList::AppendMember(TBouton& group, ButtonData data) {
  TBouton* last = &group;
  while (last->Branche) last = last->Branche.get();
  auto rec = MakeRecord(std::move(data));
  rec->NumBranche = group.Numero;
  rec->Precedent = last;
  last->Branche = std::move(rec);
  return *last->Branche;
}

std::vector<TBouton*> ButtonList::MainBar() const {
  std::vector<TBouton*> out;
  for (TBouton* r = First(); r != nullptr; r = r->Suivant.get()) out.push_back(r);
  return out;
}

std::vector<TBouton*> ButtonList::Members(const TBouton& group) {
  std::vector<TBouton*> out;
  for (TBouton* m = group.Branche.get(); m != nullptr; m = m->Branche.get()) out.push_back(m);
  return out;
}

}  // namespace ql
