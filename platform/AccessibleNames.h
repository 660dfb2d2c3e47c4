#pragma once

#include "Com.h"

#include <oleacc.h>

#include <vector>

// Names that a screen reader announces for controls whose own text does not name them, given with Windows'
// Dynamic Annotation: neither the dialog's template nor what it draws changes. The names are withdrawn by
// WithdrawAll, which the owner calls while the controls still exist, or else when the object goes. Where the
// system has no annotation service, the controls keep the names they had.
class CAccessibleNames
{
  public:
    CAccessibleNames() = default;
    CAccessibleNames(const CAccessibleNames&) = delete;
    CAccessibleNames& operator=(const CAccessibleNames&) = delete;
    ~CAccessibleNames();

    // Whether the control has the name now.
    bool SetName(HWND control, const wchar_t* name);
    void WithdrawAll();

  private:
    UniqueComPtr<IAccPropServices> m_services;
    std::vector<HWND> m_named;
};
