// close-window WINDOW: asks an X11 window (its id, in decimal) to close the way
// a window manager's close button does, with a WM_DELETE_WINDOW message. The
// quit test uses it where no window manager runs.
#include <cstdio>
#include <cstdlib>

#include <X11/Xlib.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: close-window WINDOW\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "close-window: can't open the display\n");
        return 1;
    }
    const Window window = (Window)strtoul(argv[1], nullptr, 0);
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    message.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &message);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
