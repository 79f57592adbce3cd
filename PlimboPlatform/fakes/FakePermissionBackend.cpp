#include "FakePermissionBackend.h"

namespace plimbo {

bool FakePermissionBackend::requestScreenCaptureAccess() {
    ++requests;
    access = accessAfterRequest;
    return access == ScreenCaptureAccess::granted;
}

bool FakePermissionBackend::openSettingsPage(SettingsPage page) {
    if (!pages.contains(page)) {
        return false;
    }
    openedPages << page;
    return true;
}

} // namespace plimbo
