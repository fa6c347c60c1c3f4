/* Holds a key on the root window, as another program's hotkey would, until killed.
 *   grab_key MODIFIER_MASK LETTER
 * Prints "grabbed" once the server has granted the grab. */
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <xcb/xcb.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    /* The letter's keysym is its own code; find the key that carries it. */
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, (uint8_t)count), NULL);
    if (!map)
        return 1;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    xcb_keycode_t key = 0;
    for (int i = 0; i < count * map->keysyms_per_keycode && !key; ++i)
        if (syms[i] == (xcb_keysym_t)argv[2][0])
            key = (xcb_keycode_t)(setup->min_keycode + i / map->keysyms_per_keycode);
    if (!key)
        return 1;
    xcb_generic_error_t* e =
        xcb_request_check(c, xcb_grab_key_checked(c, 1, root, (uint16_t)atoi(argv[1]), key,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (e)
        return 1;
    printf("grabbed\n");
    fflush(stdout);
    for (;;)
        pause();
}
