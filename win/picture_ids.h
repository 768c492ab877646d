// How a bitmap's versions for higher DPIs are numbered: the number of the one drawn for 96 DPI
// plus these. Included by resource scripts too: macro definitions only.
#pragma once

#define IDB_150_PERCENT 100
#define IDB_200_PERCENT 200
