// The first frame of a program's window as the X server has it, seen from
// outside the program: starts the program, waits for its first top-level
// window to be mapped, then reads the window's pixels until they stop being
// the one colour the window had when it was mapped (more than one colour, or
// another one: an empty window's first frame is one colour too). Prints
// "first_frame_ms=<milliseconds from spawn>", also on descriptor 3 when it is
// open (as the benchmark's children report); exits 1 when no frame came
// within the time allowed.
//   first_frame_watcher [--timeout ms] program [arguments...]
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The window's colour while it shows one colour; -1 once it shows more.
long oneColour(xcb_connection_t* x, xcb_window_t window)
{
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
    if (!geometry)
        return -2;
    const uint16_t w = geometry->width, h = geometry->height;
    std::free(geometry);
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        x, xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, w, h, ~0u), nullptr);
    if (!image)
        return -2;
    const int length = xcb_get_image_data_length(image);
    const uint32_t* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
    bool varied = false;
    for (int i = 1; i < length / 4 && !varied; ++i)
        varied = (pixels[i] & 0xFFFFFF) != (pixels[0] & 0xFFFFFF);
    const long colour = length >= 4 ? long(pixels[0] & 0xFFFFFF) : -2;
    std::free(image);
    return varied ? -1 : colour;
}

}  // namespace

int main(int argc, char* argv[])
{
    int first = 1;
    double timeoutMs = 30000;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeoutMs = std::atof(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: first_frame_watcher [--timeout ms] program [arguments...]\n");
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "first_frame_watcher: cannot open the display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    // Every window mapped on the screen is reported to us.
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &events);
    xcb_flush(x);

    const Clock::time_point spawned = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "first_frame_watcher: cannot start %s\n", argv[first]);
        _exit(127);
    }
    xcb_window_t window = 0;
    while (!window && msSince(spawned) < timeoutMs) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            usleep(200);
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (!map->override_redirect)
                window = map->window;
        }
        std::free(event);
    }
    double frameMs = -1;
    long mapped = -2;  // the colour at the first reading after the map
    while (window && msSince(spawned) < timeoutMs) {
        const long now = oneColour(x, window);
        if (now != -2 && mapped == -2)
            mapped = now;
        if (now == -1 || (now >= 0 && mapped >= 0 && now != mapped)) {
            frameMs = msSince(spawned);
            break;
        }
        usleep(500);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    if (frameMs < 0) {
        std::fprintf(stderr, "first_frame_watcher: no frame within %.0f ms\n", timeoutMs);
        return 1;
    }
    char line[64];
    const int length = std::snprintf(line, sizeof line, "first_frame_ms=%.2f\n", frameMs);
    std::fputs(line, stdout);
    if (fcntl(3, F_GETFD) != -1 && write(3, line, size_t(length)) != length)
        return 1;
    return 0;
}
