// Numbers of the engines' strings (engine/engine_resources.rc): progress captions, report
// entries and summaries, including the entries a walk over folders adds. Included by
// resource scripts too: macro definitions only.
#pragma once

#define IDS_PROGRESS_ENCRYPT 9
#define IDS_PROGRESS_DECRYPT 10
#define IDS_CANNOT_OPEN 12
#define IDS_CANNOT_CREATE 13
#define IDS_CANNOT_DELETE 14
#define IDS_CANNOT_READ 15
#define IDS_CANNOT_WRITE 16
#define IDS_CANNOT_LIST 18
#define IDS_CANNOT_COPY_PROPERTIES 20
#define IDS_SKIPPED_BY_USER 26
#define IDS_OUTPUT_EXISTS 28
#define IDS_CANCELLED 29
#define IDS_WRONG_KEY 31
#define IDS_SUMMARY_ENCRYPT 41
#define IDS_SUMMARY_DECRYPT 42
#define IDS_OWNER_NOT_SET 43
#define IDS_NOT_FOUND 50
#define IDS_SKIPPED_LINK 80
#define IDS_SKIPPED_HARD_LINKS 81
#define IDS_NOT_A_LEFTOVER 82
#define IDS_SKIPPED_STREAMS 83
#define IDS_CHANGED_MEANWHILE 84
#define IDS_SKIPPED_LINK_DECRYPT 85
#define IDS_NOT_OPENED 86
#define IDS_PATH_TOO_LONG_TO_OPEN 87
#define IDS_SEALED_REFUSED 88
