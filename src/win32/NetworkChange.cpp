#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include "NetworkChange.h"

namespace {

// Runs on a thread of the system's: only a message goes to the window.
VOID WINAPI Changed(PVOID context, PMIB_IPINTERFACE_ROW, MIB_NOTIFICATION_TYPE) {
    const auto* self = static_cast<const NetworkChange*>(context);
    self->Post();
}

}  // namespace

NetworkChange::NetworkChange(HWND window, UINT message) : window_(window), message_(message) {
    // Without the notice the schedule's slots still bring the data back.
    if (NotifyIpInterfaceChange(AF_UNSPEC, &Changed, this, FALSE, &handle_) != NO_ERROR) handle_ = nullptr;
}

NetworkChange::~NetworkChange() {
    // Returns once no callback runs any more.
    if (handle_) CancelMibChangeNotify2(handle_);
}

void NetworkChange::Post() const { PostMessageW(window_, message_, 0, 0); }
