// The button entries of the store: "BtnApp"+N, "NomApp"+N, "Icone"+N and, for a button with a
// texture of its own, "Texture"+N; N runs from 1 with no gap, main-bar records first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Bouton.h"
#include "core/Config.h"
#include "core/Store.h"

namespace ql {

// Writes one record's entry under its Numero (member form for a member). "BtnApp"+N goes last,
// so that a new entry becomes readable only once it is complete; a "Texture"+N left from
// another record is removed when this one has none. (RenumBtn's writing form; not crash-safe
// on its own.)
void WriteButtonEntry(StoreKey& key, const TBouton& record);

// "target,BtnApp12-" -> ("target", 12); nothing when the value has no member suffix. A group
// number too large to be read gives group 0, which no entry has: the member is dropped.
struct MemberRef {
  std::string btnApp;
  std::int32_t group = 0;
};
std::optional<MemberRef> ParseMemberSuffix(std::string_view value);

// "path,index" split at the last comma; a missing or malformed index reads as 0.
struct IconRef {
  std::string path;
  std::int32_t index = 0;
};
IconRef ParseIcone(std::string_view value);

// Rebuilds the list (already empty) from the entries of the dock key.
void LitBaseRegistre(KeyValueStore& store, ButtonList& list);

// Rewrites the dock key from the options and the list, renumbering the records. The key ends
// holding exactly what is written (options, entries 1..NbBoutons, a button's own texture as
// "Texture"+N; stale entries and "exit" go), values that already hold the right data are left
// alone, and the key itself is never deleted. Through the key's journal (StoreJournal.h), a kill
// at any moment leaves a store from which, after RecoverStore, exactly the old options and bar
// or exactly the new ones read back.
void EcritBaseRegistre(KeyValueStore& store, const TConfig& cfg, std::int32_t posTop, ButtonList& list);

// The first step of a start, before LitConfig: finishes or drops a rewrite of the dock key
// that a kill interrupted. Writes nothing when none was interrupted.
void RecoverStore(KeyValueStore& store);

}  // namespace ql
