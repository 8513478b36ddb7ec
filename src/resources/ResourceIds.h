// Identifiers shared by quaylite.rc and the program (plain macros: the resource compiler reads
// this file too).
#pragma once

#define IDI_QUAYLITE 1
#define IDB_MENU_PROPERTIES 101
#define IDB_MENU_DELETE 102
#define IDB_MENU_SENDTO 103
