#pragma once

#include "platform/UniqueHandle.h"

#include <wincrypt.h>
#include <windows.h>

inline void CloseCertificateStore(HCERTSTORE store)
{
    CertCloseStore(store, 0);
}

using UniqueCertStore = UniqueResource<HCERTSTORE, &CloseCertificateStore>;
