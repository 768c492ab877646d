// Numbers of the strings that the text layer loads itself; every deliverable's resource
// script defines them. Included by resource scripts too: macro definitions only.
#pragma once

#define IDS_MESSAGE_CAPTION 2
#define IDS_IDISPATCH_ERROR 70
#define IDS_UNKNOWN_ERROR 71
#define IDS_ERROR_BAD_KEY 72
#define IDS_ERROR_BAD_DATA 73
#define IDS_ERROR_BAD_LENGTH 74
#define IDS_ERROR_BAD_SIGNATURE 75
#define IDS_PRODUCT_NAME 103
#define IDS_BRANDING_KEY 900
