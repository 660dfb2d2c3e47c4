#pragma once

#include "../platform/DialogEx.h"
#include "resource.h"

// The About box: the icon, the program's name and version, and OK.
class CAboutDlg : public CDialogEx
{
  public:
    CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}
};
