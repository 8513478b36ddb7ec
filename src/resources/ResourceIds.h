// Identifiers shared by quaylite.rc and the program (plain macros: the resource compiler reads
// this file too).
#pragma once

#define IDI_QUAYLITE 1
#define IDB_MENU_PROPERTIES 101
#define IDB_MENU_DELETE 102
#define IDB_MENU_SENDTO 103

// The clock's pictures are named resources ("D0".."D9", "PTS", "PTSOFF", "AM", "PM", "CLKBMP",
// clock/clock.rc): no number may be defined under those names.
