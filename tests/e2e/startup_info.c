/* Prints the first startup-notification message sent to the root window, as a desktop's
 * launcher receives it: the pieces of _NET_STARTUP_INFO_BEGIN and _NET_STARTUP_INFO put
 * together up to their NUL byte. Prints "listening" once it listens; ends after the
 * message, or with status 1 after SECONDS.
 *   startup_info SECONDS */
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <xcb/xcb.h>

static xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return a;
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return 1;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t begin = atom(c, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(c, "_NET_STARTUP_INFO");
    puts("listening");
    fflush(stdout);

    char text[4096];
    size_t length = 0;
    const time_t deadline = time(NULL) + atoi(argv[1]);
    struct pollfd p = {xcb_get_file_descriptor(c), POLLIN, 0};
    while (time(NULL) < deadline) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c))
                break;
            poll(&p, 1, 100);
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const xcb_client_message_event_t* m = (const xcb_client_message_event_t*)e;
            if (m->format == 8 && (m->type == begin || m->type == more)) {
                if (m->type == begin)
                    length = 0;
                for (int i = 0; i < 20 && length < sizeof text - 1; ++i) {
                    if (m->data.data8[i] == 0) {
                        text[length] = 0;
                        puts(text);
                        free(e);
                        xcb_disconnect(c);
                        return 0;
                    }
                    text[length++] = (char)m->data.data8[i];
                }
            }
        }
        free(e);
    }
    xcb_disconnect(c);
    return 1;
}
