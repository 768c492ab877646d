#pragma once
#include <windows.h>

#include "dashboard/dashboard_page_info.h"

// ZTGetPropertyPageEx: the plug-in's one page (index 0) for the dashboard, which owns the
// descriptor and, through its property sheet, the page. E_POINTER without somewhere to put
// the descriptor; HRESULT_FROM_WIN32(ERROR_NOT_FOUND) for any other index, leaving *outInfo
// as it was. A failure leaves no page behind.
HRESULT GetDashboardPage(DashboardPageInfo** outInfo, UINT index);
