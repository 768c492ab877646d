#pragma once
#define IDM_HOST_MENU 100
#define IDM_HOST_OPEN 1
#define IDM_HOST_PROPERTIES 2
