// Resource identifiers, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_FILE_LIST 1000
#define IDC_LOG 1001
#define IDC_SAVE 1002
#define IDC_CLEAR 1003
#define IDC_TOOL_PATH 1004
#define IDC_BROWSE 1005

// A system-menu command: a multiple of 16 below the system's own commands (0xF000 and up).
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
