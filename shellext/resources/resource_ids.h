// Numbers of the resources of ZTShell that the code addresses, with those of the text layer it
// carries. Included by the resource script as well, so it holds nothing but macro definitions.
#pragma once

#include "text/text_ids.h"
#include "win/picture_ids.h"

// Menu texts and the help texts the shell shows for them.
#define IDS_ENCRYPT_MENU 104
#define IDS_DECRYPT_MENU 105
#define IDS_ENCRYPT_HELP 106
#define IDS_DECRYPT_HELP 107
// Said instead of starting the main program when the selection does not fit one command line.
#define IDS_SELECTION_TOO_LARGE 108

// Menu marks: an open padlock over a page (decrypt) and a closed one (encrypt), each also at
// 150 and 200 per cent.
#define IDB_DECRYPT 111
#define IDB_ENCRYPT 112
