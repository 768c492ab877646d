#pragma once
// In a string block of their own, far from the program's strings.
#define IDS_TEST_TWO_PLACEHOLDERS 3000
#define IDS_TEST_NO_PLACEHOLDER 3001
#define IDS_TEST_LONG 3002
