// Measures, from outside the program, how long the command palette takes to appear: it presses
// the palette's shortcut through XTest and times, from the key press, the palette window's
// MapNotify and its settled paint (the last XDamage report before the window stays still for a
// while). It then closes the palette with Escape and repeats. Run it against a running Plimbo
// on a display without a window manager (top-level windows are then children of the root);
// tools/palette-latency.sh sets that up.
//
//   palette_latency [shows]      (default 10)
//
// Prints each showing and then the first one and the range and median of the later ones.

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// No damage for this long after the last report counts as settled.
constexpr auto settleQuiet = std::chrono::milliseconds(150);
constexpr auto mapTimeout = std::chrono::seconds(3);
const char* const paletteTitle = "Plimbo Command Palette";

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

struct Showing {
    double mapped = 0;
    double settled = 0;
    int damages = 0;
};

class Probe {
public:
    explicit Probe(Display* display)
        : m_display(display)
        , m_root(DefaultRootWindow(display)) {
        int error = 0;
        if (!XDamageQueryExtension(m_display, &m_damageEvent, &error)) {
            std::fputs("the X server has no DAMAGE extension\n", stderr);
            std::exit(2);
        }
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(m_display, &error, &error, &major, &minor)) {
            std::fputs("the X server has no XTEST extension\n", stderr);
            std::exit(2);
        }
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        // Every top-level window is watched from the start, the palette too when it is made
        // before its first showing.
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, m_root, &rootReturn, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count; ++i) {
                watch(children[i]);
            }
            XFree(children);
        }
        XSync(m_display, False);
    }

    std::optional<Showing> showOnce() {
        drain();
        const Clock::time_point pressed = Clock::now();
        pressShortcut();
        std::optional<Clock::time_point> mapped;
        Clock::time_point lastDamage = pressed;
        int damages = 0;
        for (;;) {
            const Clock::time_point now = Clock::now();
            if (!mapped && now - pressed > mapTimeout) {
                return std::nullopt;
            }
            if (mapped && now - std::max(lastDamage, *mapped) > settleQuiet) {
                break;
            }
            XEvent event;
            if (!nextEvent(event, std::chrono::milliseconds(5))) {
                continue;
            }
            const Clock::time_point at = Clock::now();
            if (event.type == CreateNotify) {
                watch(event.xcreatewindow.window);
            } else if (event.type == MapNotify && !mapped && isPalette(event.xmap.window)) {
                mapped = at;
                m_palette = event.xmap.window;
            } else if (event.type == m_damageEvent + XDamageNotify) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                if (m_palette && damage.drawable == *m_palette && mapped) {
                    lastDamage = at;
                    ++damages;
                }
            }
        }
        Showing showing;
        showing.mapped = milliseconds(*mapped - pressed);
        showing.settled = milliseconds(std::max(lastDamage, *mapped) - pressed);
        showing.damages = damages;
        return showing;
    }

    bool closePalette() {
        tap({XK_Escape});
        const Clock::time_point start = Clock::now();
        while (Clock::now() - start < mapTimeout) {
            XEvent event;
            if (nextEvent(event, std::chrono::milliseconds(10)) && event.type == UnmapNotify &&
                m_palette && event.xunmap.window == *m_palette) {
                return true;
            }
        }
        return false;
    }

    // Lets the program go idle again between showings.
    void rest(std::chrono::milliseconds length) {
        const Clock::time_point start = Clock::now();
        while (Clock::now() - start < length) {
            XEvent event;
            if (nextEvent(event, std::chrono::milliseconds(10)) && event.type == CreateNotify) {
                watch(event.xcreatewindow.window);
            }
        }
    }

private:
    void watch(Window window) {
        if (m_damages.count(window) == 0) {
            // Every drawing is reported, so the last one can be told.
            m_damages[window] = XDamageCreate(m_display, window, XDamageReportRawRectangles);
        }
    }

    // By WM_NAME, which Qt writes as UTF-8 (so XFetchName, which wants Latin-1, sees none).
    bool isPalette(Window window) {
        XTextProperty name{};
        bool found = false;
        if (XGetWMName(m_display, window, &name) && name.value) {
            found = name.format == 8 && std::string(reinterpret_cast<const char*>(name.value),
                                                    name.nitems) == paletteTitle;
            XFree(name.value);
        }
        return found;
    }

    void pressShortcut() { tap({XK_Super_L, XK_Alt_L, XK_space}); }

    // Presses the keys in order and lets them go in reverse.
    void tap(const std::vector<KeySym>& keys) {
        for (KeySym key : keys) {
            XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), True, CurrentTime);
        }
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
            XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, *key), False, CurrentTime);
        }
        XFlush(m_display);
    }

    bool nextEvent(XEvent& event, std::chrono::milliseconds wait) {
        if (XPending(m_display) == 0) {
            pollfd descriptor{ConnectionNumber(m_display), POLLIN, 0};
            if (poll(&descriptor, 1, static_cast<int>(wait.count())) <= 0 ||
                XPending(m_display) == 0) {
                return false;
            }
        }
        XNextEvent(m_display, &event);
        return true;
    }

    void drain() {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == CreateNotify) {
                watch(event.xcreatewindow.window);
            }
        }
    }

    Display* m_display;
    Window m_root;
    int m_damageEvent = 0;
    std::map<Window, Damage> m_damages;
    std::optional<Window> m_palette;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printRange(const char* label, const std::vector<double>& values) {
    std::printf("%s: %.1f-%.1f ms, median %.1f ms\n", label,
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()), median(values));
}

} // namespace

int main(int argc, char** argv) {
    const int shows = argc > 1 ? std::atoi(argv[1]) : 10;
    if (shows < 2) {
        std::fputs("usage: palette_latency [shows, at least 2]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("cannot open the display\n", stderr);
        return 2;
    }
    Probe probe(display);
    std::vector<Showing> showings;
    for (int i = 0; i < shows; ++i) {
        const std::optional<Showing> showing = probe.showOnce();
        if (!showing) {
            std::fprintf(stderr, "showing %d: the palette did not appear\n", i + 1);
            return 1;
        }
        std::printf("showing %2d: mapped %6.1f ms, settled paint %6.1f ms (%d damage reports)\n",
                    i + 1, showing->mapped, showing->settled, showing->damages);
        showings.push_back(*showing);
        if (!probe.closePalette()) {
            std::fprintf(stderr, "showing %d: Escape did not close the palette\n", i + 1);
            return 1;
        }
        probe.rest(std::chrono::milliseconds(400));
    }
    std::printf("first: mapped %.1f ms, settled paint %.1f ms\n", showings.front().mapped,
                showings.front().settled);
    std::vector<double> mapped;
    std::vector<double> settled;
    for (size_t i = 1; i < showings.size(); ++i) {
        mapped.push_back(showings[i].mapped);
        settled.push_back(showings[i].settled);
    }
    printRange("later, mapped", mapped);
    printRange("later, settled paint", settled);
    XCloseDisplay(display);
    return 0;
}
