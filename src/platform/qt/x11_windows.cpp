#include "platform/qt/x11_windows.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>

namespace kx::platform {

struct X11TopLevelWindows::Connection {
    xcb_connection_t* display = nullptr;
    xcb_ewmh_connection_t ewmh{};
    int screen = 0;
    bool ready = false;

    Connection()
    {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name)
            return;
        display = xcb_connect(name, &screen);
        if (xcb_connection_has_error(display))
            return;
        xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(display, &ewmh);
        ready = xcb_ewmh_init_atoms_replies(&ewmh, cookies, nullptr) != 0;
    }

    ~Connection()
    {
        if (ready)
            xcb_ewmh_connection_wipe(&ewmh);
        if (display)
            xcb_disconnect(display);
    }

    xcb_window_t root() const { return ewmh.screens[screen]->root; }

    std::vector<xcb_window_t> topLevelWindows() const
    {
        std::vector<xcb_window_t> found;
        xcb_ewmh_get_windows_reply_t clients;
        if (xcb_ewmh_get_client_list_reply(const_cast<xcb_ewmh_connection_t*>(&ewmh),
                                           xcb_ewmh_get_client_list(const_cast<xcb_ewmh_connection_t*>(&ewmh), screen),
                                           &clients, nullptr)) {
            found.assign(clients.windows, clients.windows + clients.windows_len);
            xcb_ewmh_get_windows_reply_wipe(&clients);
            return found;
        }
        // No window manager: the program windows are the root window's own children.
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(display, xcb_query_tree(display, root()), nullptr);
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree);
            found.assign(children, children + xcb_query_tree_children_length(tree));
            std::free(tree);
        }
        return found;
    }

    std::string title(xcb_window_t window) const
    {
        auto* self = const_cast<xcb_ewmh_connection_t*>(&ewmh);
        xcb_ewmh_get_utf8_strings_reply_t name;
        if (xcb_ewmh_get_wm_name_reply(self, xcb_ewmh_get_wm_name(self, window), &name, nullptr)) {
            std::string text(name.strings, name.strings_len);
            xcb_ewmh_get_utf8_strings_reply_wipe(&name);
            return text;
        }
        xcb_get_property_reply_t* legacy = xcb_get_property_reply(
            display, xcb_get_property(display, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 1024), nullptr);
        std::string text;
        if (legacy) {
            text.assign(static_cast<const char*>(xcb_get_property_value(legacy)),
                        static_cast<std::size_t>(xcb_get_property_value_length(legacy)));
            std::free(legacy);
        }
        return text;
    }
};

X11TopLevelWindows::X11TopLevelWindows() : connection_(std::make_unique<Connection>()) {}
X11TopLevelWindows::~X11TopLevelWindows() = default;

std::vector<std::pair<WindowId, std::string>> X11TopLevelWindows::titledWindows()
{
    std::vector<std::pair<WindowId, std::string>> windows;
    if (!connection_->ready)
        return windows;
    for (xcb_window_t window : connection_->topLevelWindows())
        windows.emplace_back(window, connection_->title(window));
    return windows;
}

WindowId X11TopLevelWindows::findByTitle(const std::string& title)
{
    for (const auto& [window, windowTitle] : titledWindows())
        if (windowTitle == title)
            return window;
    return 0;
}

bool X11TopLevelWindows::isMinimised(WindowId window)
{
    if (!connection_->ready || window == 0)
        return false;
    xcb_ewmh_connection_t* ewmh = &connection_->ewmh;
    xcb_ewmh_get_atoms_reply_t states;
    if (!xcb_ewmh_get_wm_state_reply(ewmh, xcb_ewmh_get_wm_state(ewmh, window), &states, nullptr))
        return false;
    bool hidden = false;
    for (std::uint32_t i = 0; i < states.atoms_len; ++i)
        hidden = hidden || states.atoms[i] == ewmh->_NET_WM_STATE_HIDDEN;
    xcb_ewmh_get_atoms_reply_wipe(&states);
    return hidden;
}

void X11TopLevelWindows::restore(WindowId window)
{
    if (!connection_->ready || window == 0)
        return;
    // Mapping an iconic window de-iconifies it (ICCCM); the state change covers EWMH managers.
    xcb_ewmh_request_change_wm_state(&connection_->ewmh, connection_->screen, window, XCB_EWMH_WM_STATE_REMOVE,
                                     connection_->ewmh._NET_WM_STATE_HIDDEN, XCB_NONE,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    xcb_map_window(connection_->display, window);
    xcb_flush(connection_->display);
}

void X11TopLevelWindows::bringToForeground(WindowId window)
{
    if (!connection_->ready || window == 0)
        return;
    xcb_ewmh_request_change_active_window(&connection_->ewmh, connection_->screen, window,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL, XCB_CURRENT_TIME, XCB_NONE);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_->display, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection_->display);
}

bool X11TopLevelWindows::activateByTitle(const std::string& title)
{
    WindowId chosen = findByTitle(title);
    for (const auto& [window, windowTitle] : titledWindows())
        if (chosen == 0 && windowTitle.starts_with(title))
            chosen = window;
    if (chosen == 0)
        return false;
    bringToForeground(chosen);
    return true;
}

}  // namespace kx::platform
