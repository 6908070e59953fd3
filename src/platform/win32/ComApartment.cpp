#include "platform/win32/ComApartment.h"

#include <objbase.h>
#include <windows.h>

namespace kivra::win32 {

ComApartment::~ComApartment() {
    if (entered_) CoUninitialize();
}

void ComApartment::ensure() {
    if (tried_) return;
    tried_ = true;
    // S_FALSE (already initialised the same way) still has to be balanced; RPC_E_CHANGED_MODE
    // means another part chose a different model first, which is usable as it is.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    entered_ = SUCCEEDED(result);
}

}  // namespace kivra::win32
