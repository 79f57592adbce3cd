#pragma once

#include "SurfaceOpeners.h"

namespace plimbo {

class DesktopActions;
class GlobalSurfaceFocusCoordinator;
class KeepAwakeService;
class MiniCamera;
class PresentedError;
class SystemMonitorService;

// What the notch shows and what its controls reach, handed over by the window factory: the
// file shelf and the desktop actions, the live system figures, keep-awake, the camera preview,
// the error message with the focus its alert hands back, and the other surfaces it opens.
struct NotchFeatures {
    DesktopActions& desktop;
    SystemMonitorService& systemMonitor;
    KeepAwakeService& keepAwake;
    // Null when this installation has no camera preview.
    MiniCamera* camera;
    PresentedError& error;
    GlobalSurfaceFocusCoordinator& focus;
    SurfaceOpeners open;
};

} // namespace plimbo
