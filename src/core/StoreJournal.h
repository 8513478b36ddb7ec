// Rewriting a whole key so that a kill at any moment loses nothing and mixes nothing: the
// changes are first copied into a journal below the key and marked complete, then made in the
// key, then the journal goes. The next start finishes a complete journal and drops an
// incomplete one (RecoverKey), so it reads the key either exactly as it was or exactly as it
// was meant to become.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Store.h"

namespace ql {

struct NamedValue {
  std::string name;
  StoreValue value;
};

// The journal of the key at `path`: the subkey "Rewrite" (value "Complete" = "1" once whole),
// with the values to write in its subkey "Write" and the names to remove in "Remove".
std::string JournalPath(std::string_view path);

// Makes the key at `path` (created if missing) hold exactly `target`, in its order: values that
// already hold the right data are left alone, every value not in `target` is removed, keys
// below it are kept. Nothing changes at all when the key already holds `target`; a single
// change is made directly (the registry makes one value change whole). A journal left by an
// interrupted rewrite is dealt with first. When the journal itself cannot be written the
// changes are still made, without that protection.
void RewriteKey(KeyValueStore& store, std::string_view path, const std::vector<NamedValue>& target);

// Finishes the rewrite a complete journal describes, or drops an incomplete one, and deletes
// the journal. Nothing to do (and nothing written) when there is none. Safe to interrupt and
// run again.
void RecoverKey(KeyValueStore& store, std::string_view path);

}  // namespace ql
