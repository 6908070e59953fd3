/* XKeyWatch: the X side of the native reference benchmark.
 *
 * Maps a small window under a given name, so that irxevent can find it, and reports every key
 * event that reaches the window as one UDP datagram "<keycode> down|up <ns>\n" to 127.0.0.1:PORT.
 * ns is CLOCK_MONOTONIC_RAW taken as soon as XNextEvent hands the event over, the same clock the
 * benchmark stamps its writes with.
 *
 *   xkeywatch --name NAME --udp PORT      prints "ready" once the window is mapped
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

static long long now_ns(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static int usage(const char *prog)
{
    fprintf(stderr, "usage: %s --name NAME --udp PORT\n", prog);
    return 2;
}

/* A connected socket, so every report is a plain send(). */
static int open_report_socket(int port)
{
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        perror("socket");
        return -1;
    }
    struct sockaddr_in to;
    memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons((unsigned short)port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, (struct sockaddr *)&to, sizeof to) < 0) {
        perror("connect");
        close(fd);
        return -1;
    }
    return fd;
}

static Window open_target_window(Display *dpy, const char *name)
{
    Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 200, 40, 0,
                                     BlackPixel(dpy, DefaultScreen(dpy)),
                                     WhitePixel(dpy, DefaultScreen(dpy)));
    XStoreName(dpy, win, name);
    XClassHint hint = { (char *)"xkeywatch", (char *)"XKeyWatch" };
    XSetClassHint(dpy, win, &hint);
    /* XSendEvent delivers a synthetic key event only to clients whose mask on the window
     * matches the mask the sender names, so both key masks are selected. */
    XSelectInput(dpy, win, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapWindow(dpy, win);
    XEvent ev;
    do
        XNextEvent(dpy, &ev);
    while (ev.type != MapNotify || ev.xmap.window != win);
    return win;
}

int main(int argc, char **argv)
{
    const char *name = NULL;
    int port = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--name") == 0)
            name = argv[i + 1];
        else if (strcmp(argv[i], "--udp") == 0)
            port = atoi(argv[i + 1]);
        else
            return usage(argv[0]);
    }
    if (!name || port <= 0 || port > 65535 || argc % 2 == 0)
        return usage(argv[0]);

    int fd = open_report_socket(port);
    if (fd < 0)
        return 1;
    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "cannot open display %s\n", XDisplayName(NULL));
        return 1;
    }
    open_target_window(dpy, name);
    printf("ready\n");
    fflush(stdout);

    for (;;) {
        XEvent ev;
        XNextEvent(dpy, &ev); /* blocks on the X connection; Xlib exits if the server goes */
        long long stamp = now_ns();
        if (ev.type != KeyPress && ev.type != KeyRelease)
            continue;
        char line[64];
        int len = snprintf(line, sizeof line, "%u %s %lld\n", ev.xkey.keycode,
                           ev.type == KeyPress ? "down" : "up", stamp);
        if (send(fd, line, (size_t)len, 0) < 0)
            perror("send");
    }
}
