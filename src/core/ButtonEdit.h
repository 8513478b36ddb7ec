// The model side of the two button dialogs: the destinations of "Send button to...", the move it
// makes, and the rules by which the properties dialog and its opener read and write a record.
// The dialogs and the dock's context menu call these; nothing here knows about windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/BarEdit.h"
#include "core/Bouton.h"

namespace ql {

// ---- Send to ---------------------------------------------------------------------------------

inline constexpr std::string_view kMainDockLine = "Main Dock";
inline constexpr std::string_view kImpossibleLine = "- IMPOSSIBLE -";

// The destination list: "Main Dock", then one line per main-bar record in bar order, leaving out
// the record numbered like `source`. A virtual screens module reads "- IMPOSSIBLE -"; any other
// record its NomApp, or its BtnApp when the name is empty.
std::vector<std::string> SendToLines(const ButtonList& list, const TBouton* source);

// What choosing one line of that list means.
struct SendToPick {
  bool selected = false;      // false: no such line, nothing changes
  TBouton* target = nullptr;  // the chosen main-bar record; nullptr: the main bar ("Main Dock")
  bool okEnabled = true;      // a virtual screens module cannot take members
  std::string caption;        // caption of the destination preview
};
// Line 0 is the main bar; line i the i-th main-bar record other than the source.
SendToPick SendToChoice(const ButtonList& list, const TBouton* source, int line);

// Caption of the destination preview for a virtual screens module: its BtnApp up to and including
// the first blank ("Virtual "); empty when there is no blank.
std::string VirtualDeskCaption(std::string_view btnApp);

// Moves `source` into the branch of `target` (after its last member; a plain button becomes a
// group) or, with no target, to the end of the main bar. The new record copies BtnApp, NomApp,
// IconPath, IconIndex and Texture and carries Numero and NumBranche 999 until the next
// renumbering; the list's BoutonCible names it afterwards. The source record is then disposed
// without its branch. A group as source, or the source as its own target, changes nothing.
void SendTo(ButtonList& list, TBouton* source, TBouton* target);

// ---- Properties ------------------------------------------------------------------------------

// What the dialog lets the user edit for the tile it was opened on (TileKind of BarEdit.h).
struct PropertiesFields {
  bool Nom = true;
  bool Icone = true;
  bool Chemin = true;
  bool Autre = true;  // the icon file browser
};
// Icon buttons (plain or group): everything. Recycle bin: the icon only. The other modules: only
// the texture.
PropertiesFields EditableFields(TileKind kind);

// What the dialog holds when it closes with OK.
struct PropertiesResult {
  std::string Nom;     // name text
  std::string Icone;   // icon file text, as typed
  std::string Chemin;  // command text
  std::int32_t IconIndexEdite = 0;
  bool TextureChoisie = false;  // a texture file was picked during this opening
  std::string PictureFileName;  // the texture chooser's last file name
  bool SameTexture = true;      // "&Use default texture" checked
};

// The dialog's own OK: the index is stored unless the icon text, exactly as typed, contains
// ".ico" (so "X.ICO" has its index stored); a texture picked during this opening is stored.
void ApplyPropertiesOk(TBouton& record, const PropertiesResult& result);

// The opener after OK, first step: IconPath and NomApp from the texts (an empty name is stored),
// BtnApp only when the path text is not empty.
void ApplyEditedFields(TBouton& record, const PropertiesResult& result);

// The opener after OK, once the store is written: Texture := the chooser's file name, or empty
// when SameTexture is checked. True when Texture now differs from `textureAtOpening`, that is
// when the bar must be drawn again.
bool ApplyTextureChoice(TBouton& record, const PropertiesResult& result, std::string_view textureAtOpening);

// Whether the stepping buttons work for this icon text: not when its lower-cased text contains
// ".ico" (an icon file holds one icon).
bool IconSteppingEnabled(std::string_view iconeText);

// The index shown at opening: 999 (a dropped file's record) shows as 0.
std::int32_t InitialIconIndex(std::int32_t recordIndex);

// One step of the icon index.
struct IconStep {
  std::int32_t index = 0;   // the new IconIndexEdite
  bool moved = false;       // the preview takes the new index
  bool precEnabled = true;  // the "previous" button afterwards
};
// Previous: 999 first becomes 0; at 0 or less the button is disabled and the index stays.
IconStep StepPrevious(std::int32_t index);
// Following: no upper bound; enables the "previous" button.
IconStep StepNext(std::int32_t index);

// The icon file chooser opens in the folder part of the text (up to and including the last "\"
// or ":") with the file-name part preselected, showing first the filter that fits the
// lower-cased extension: 1 for ".ico", 2 for ".exe" and ".dll", 3 (all files) otherwise.
struct IconBrowseStart {
  std::string folder;
  std::string fileName;
  int filterIndex = 3;
};
IconBrowseStart IconBrowseFor(std::string_view iconeText);

}  // namespace ql
