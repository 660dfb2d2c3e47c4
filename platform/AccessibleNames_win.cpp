#include "AccessibleNames.h"

namespace
{
// By their documented ids: MinGW's headers and libraries name them otherwise than the Windows SDK's.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
} // namespace

CAccessibleNames::~CAccessibleNames()
{
    WithdrawAll();
}

void CAccessibleNames::WithdrawAll()
{
    MSAAPROPID name = kName;
    for (const HWND control : m_named)
        m_services.Get()->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    m_named.clear();
}

bool CAccessibleNames::SetName(HWND control, const wchar_t* name)
{
    if (!m_services &&
        FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(m_services.Put()))))
        return false;
    if (FAILED(m_services.Get()->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                kName, name)))
        return false;
    m_named.push_back(control);
    return true;
}
