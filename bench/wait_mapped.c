/* Starts a program and reports, in milliseconds, how long it took until a top-level
 * window with the given name was mapped on the X server. Run without a window
 * manager, so that client windows are direct children of the root window.
 *   wait_mapped NAME PROGRAM [ARG...]   prints the milliseconds, or fails after 30 s */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int has_name(Display* d, Window w, const char* want)
{
    Atom net_wm_name = XInternAtom(d, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = NULL;
    int match = 0;
    if (XGetWindowProperty(d, w, net_wm_name, 0, 1024, False, utf8, &type, &format, &n, &after, &data) ==
            Success &&
        data) {
        match = strcmp((const char*)data, want) == 0;
        XFree(data);
    }
    return match;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s NAME PROGRAM [ARG...]\n", argv[0]);
        return 2;
    }
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "wait_mapped: no X display\n");
        return 2;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const double start = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double found = -1;
    const int fd = ConnectionNumber(d);
    while (found < 0 && now_ms() - start < 30000) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && has_name(d, e.xmap.window, argv[1])) {
                found = now_ms() - start;
                break;
            }
        }
        if (found >= 0)
            break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        struct timeval tv = {0, 20000};
        select(fd + 1, &fds, NULL, NULL, &tv);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(d);
    if (found < 0) {
        fprintf(stderr, "wait_mapped: no window named '%s' within 30 s\n", argv[1]);
        return 1;
    }
    printf("%.1f\n", found);
    return 0;
}
