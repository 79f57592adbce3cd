// Presses keys and clicks through kwin's own input path (org_kde_kwin_fake_input), as a
// keyboard would: the compositor, not the focused client, decides where they go.
//   fake-input key CODE...   press the evdev key codes in order, release them in reverse
//   fake-input click X Y     move the pointer to X,Y (compositor coordinates) and click left
#include "fake-input-client-protocol.h"

#include <wayland-client.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0) {
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface,
                                version < 4 ? version : 4);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

static void settle(struct wl_display* display) {
    wl_display_roundtrip(display);
    usleep(30000);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s key CODE... | click X Y\n", argv[0]);
        return 2;
    }
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!fake) {
        fprintf(stderr, "the compositor offers no org_kde_kwin_fake_input\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake, "plimbo-check", "key presses for a test");
    settle(display);
    if (strcmp(argv[1], "key") == 0) {
        if (wl_proxy_get_version((struct wl_proxy*)fake) < 4) {
            fprintf(stderr, "fake input too old for keys\n");
            return 1;
        }
        for (int i = 2; i < argc; ++i) {
            org_kde_kwin_fake_input_keyboard_key(fake, (uint32_t)atoi(argv[i]), 1);
            settle(display);
        }
        for (int i = argc - 1; i >= 2; --i) {
            org_kde_kwin_fake_input_keyboard_key(fake, (uint32_t)atoi(argv[i]), 0);
            settle(display);
        }
    } else if (strcmp(argv[1], "click") == 0 && argc == 4) {
        org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(atoi(argv[2])),
                                                        wl_fixed_from_int(atoi(argv[3])));
        settle(display);
        const uint32_t left = 0x110;
        org_kde_kwin_fake_input_button(fake, left, 1);
        settle(display);
        org_kde_kwin_fake_input_button(fake, left, 0);
        settle(display);
    } else {
        fprintf(stderr, "unknown command %s\n", argv[1]);
        return 2;
    }
    wl_display_disconnect(display);
    return 0;
}
