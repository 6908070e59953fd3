// COM for the user-interface thread, entered on first use and left when the owner goes.
#pragma once

namespace kivra::win32 {

class ComApartment {
public:
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

    // Enters a single-threaded apartment once; a thread already in COM stays as it is.
    void ensure();

private:
    bool tried_ = false;
    bool entered_ = false;  // this owner must balance it with CoUninitialize
};

}  // namespace kivra::win32
