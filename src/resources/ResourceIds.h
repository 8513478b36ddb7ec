// Identifiers shared by quaylite.rc and the program (plain macros: the resource compiler reads
// this file too).
#pragma once

#define IDI_QUAYLITE 1
#define IDB_MENU_PROPERTIES 101
#define IDB_MENU_DELETE 102
#define IDB_MENU_SENDTO 103

// The clock's pictures are named resources ("D0".."D9", "PTS", "PTSOFF", "AM", "PM", "CLKBMP",
// clock/clock.rc): no number may be defined under those names.

// The main menu's pictures, MenuBMP's images 0 to 12 (generated from mainmenu/pictures.txt).
#define IDB_MAINMENU_FIRST 201
#define IDB_MAINMENU_COMPUTER 201
#define IDB_MAINMENU_NETWORK 202
#define IDB_MAINMENU_CONTROLS 203
#define IDB_MAINMENU_DESKTOP 204
#define IDB_MAINMENU_DOCUMENTS 205
#define IDB_MAINMENU_PRINTERS 206
#define IDB_MAINMENU_PROGRAMS 207
#define IDB_MAINMENU_FLOPPY 208
#define IDB_MAINMENU_SHUTDOWN 209
#define IDB_MAINMENU_RESTART 210
#define IDB_MAINMENU_LOGOUT 211
#define IDB_MAINMENU_CONFIGURATION 212
#define IDB_MAINMENU_QUIT 213
