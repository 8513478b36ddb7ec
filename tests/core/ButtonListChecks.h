// Shared checks of the button list for the core tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/Bouton.h"

namespace ql::test {

// The main bar as "cmd#Numero", members in brackets: "A#1 G#2[x#4 y#5] B#3".
inline std::string Describe(const ButtonList& list) {
  std::string out;
  for (const TBouton* r : list.MainBar()) {
    if (!out.empty()) out += ' ';
    out += r->BtnApp + "#" + std::to_string(r->Numero);
    if (r->HasMembers()) {
      out += '[';
      bool first = true;
      for (const TBouton* m : ButtonList::Members(*r)) {
        if (!first) out += ' ';
        first = false;
        out += m->BtnApp + "#" + std::to_string(m->Numero);
      }
      out += ']';
    }
  }
  return out;
}

// Every Precedent link must mirror the forward links, and DernierBouton must be the last record.
inline void ExpectLinksConsistent(const ButtonList& list) {
  const TBouton* prev = list.TeteBoutons();
  for (const TBouton* r = list.First(); r != nullptr; r = r->Suivant.get()) {
    EXPECT_EQ(r->Precedent, prev) << r->BtnApp;
    const TBouton* before = r;
    for (const TBouton* m = r->Branche.get(); m != nullptr; m = m->Branche.get()) {
      EXPECT_EQ(m->Precedent, before) << m->BtnApp;
      before = m;
    }
    prev = r;
  }
  EXPECT_EQ(list.DernierBouton(), prev);
  EXPECT_EQ(list.TeteBoutons()->Precedent, nullptr);
}

}  // namespace ql::test
