#pragma once

#include <windows.h>

#include <shellapi.h>

#include <span>

// A dialog's message map: a table of entries, looked up in order, each binding one window message (or one
// notification from one control) to a member handler. Written as
//   static constexpr MessageMapEntry<CMyDlg> kMap[] = {OnWmPaint<&CMyDlg::OnPaint>(),
//                                                      OnBnClicked<&CMyDlg::OnSave>(IDC_SAVE), ...};
template <class Dialog> struct MessageMapEntry
{
    UINT message;
    UINT notification; // for WM_COMMAND entries
    int controlId;     // for WM_COMMAND entries
    LRESULT (*invoke)(Dialog&, WPARAM, LPARAM);
};

namespace message_map_detail
{
template <class> struct ClassOf;
template <class Class, class Member> struct ClassOf<Member Class::*>
{
    using type = Class;
};
template <auto Handler> using DialogOf = typename ClassOf<decltype(Handler)>::type;

template <UINT Message, auto Handler> constexpr MessageMapEntry<DialogOf<Handler>> WithoutArguments()
{
    return {Message, 0, 0,
            [](DialogOf<Handler>& dialog, WPARAM, LPARAM) -> LRESULT
            {
                (dialog.*Handler)();
                return 0;
            }};
}

template <auto Handler> constexpr MessageMapEntry<DialogOf<Handler>> Command(UINT notification, int id)
{
    return {WM_COMMAND, notification, id,
            [](DialogOf<Handler>& dialog, WPARAM, LPARAM) -> LRESULT
            {
                (dialog.*Handler)();
                return 0;
            }};
}
} // namespace message_map_detail

template <auto Handler> constexpr auto OnBnClicked(int id)
{
    return message_map_detail::Command<Handler>(BN_CLICKED, id);
}

template <auto Handler> constexpr auto OnEnChange(int id)
{
    return message_map_detail::Command<Handler>(EN_CHANGE, id);
}

template <auto Handler> constexpr auto OnWmSysCommand()
{
    using Dialog = message_map_detail::DialogOf<Handler>;
    return MessageMapEntry<Dialog>{WM_SYSCOMMAND, 0, 0,
                                   [](Dialog& dialog, WPARAM w, LPARAM l) -> LRESULT
                                   {
                                       (dialog.*Handler)(static_cast<UINT>(w), l);
                                       return 0;
                                   }};
}

template <auto Handler> constexpr auto OnWmPaint()
{
    return message_map_detail::WithoutArguments<WM_PAINT, Handler>();
}

template <auto Handler> constexpr auto OnWmDestroy()
{
    return message_map_detail::WithoutArguments<WM_DESTROY, Handler>();
}

// A message of the dialog's own, with no arguments.
template <UINT Message, auto Handler> constexpr auto OnPrivateMessage()
{
    return message_map_detail::WithoutArguments<Message, Handler>();
}

template <auto Handler> constexpr auto OnWmSize()
{
    return message_map_detail::WithoutArguments<WM_SIZE, Handler>();
}

template <auto Handler> constexpr auto OnWmQueryEndSession()
{
    using Dialog = message_map_detail::DialogOf<Handler>;
    return MessageMapEntry<Dialog>{WM_QUERYENDSESSION, 0, 0, [](Dialog& dialog, WPARAM, LPARAM) -> LRESULT {
                                       return (dialog.*Handler)();
                                   }};
}

template <auto Handler> constexpr auto OnWmGetMinMaxInfo()
{
    using Dialog = message_map_detail::DialogOf<Handler>;
    return MessageMapEntry<Dialog>{WM_GETMINMAXINFO, 0, 0,
                                   [](Dialog& dialog, WPARAM, LPARAM l) -> LRESULT
                                   {
                                       (dialog.*Handler)(reinterpret_cast<MINMAXINFO*>(l));
                                       return 0;
                                   }};
}

template <auto Handler> constexpr auto OnWmDpiChanged()
{
    using Dialog = message_map_detail::DialogOf<Handler>;
    return MessageMapEntry<Dialog>{WM_DPICHANGED, 0, 0,
                                   [](Dialog& dialog, WPARAM, LPARAM l) -> LRESULT
                                   {
                                       (dialog.*Handler)(reinterpret_cast<const RECT*>(l));
                                       return 0;
                                   }};
}

template <auto Handler> constexpr auto OnWmQueryDragIcon()
{
    using Dialog = message_map_detail::DialogOf<Handler>;
    return MessageMapEntry<Dialog>{WM_QUERYDRAGICON, 0, 0, [](Dialog& dialog, WPARAM, LPARAM) -> LRESULT {
                                       return reinterpret_cast<LRESULT>((dialog.*Handler)());
                                   }};
}

template <auto Handler> constexpr auto OnWmDropFiles()
{
    using Dialog = message_map_detail::DialogOf<Handler>;
    return MessageMapEntry<Dialog>{WM_DROPFILES, 0, 0,
                                   [](Dialog& dialog, WPARAM w, LPARAM) -> LRESULT
                                   {
                                       (dialog.*Handler)(reinterpret_cast<HDROP>(w));
                                       return 0;
                                   }};
}

// Runs the first entry that matches the message; false when none does.
template <class Dialog>
bool DispatchMessageMap(Dialog& dialog, std::span<const MessageMapEntry<Dialog>> map, UINT message, WPARAM w,
                        LPARAM l, LRESULT& result)
{
    for (const MessageMapEntry<Dialog>& entry : map)
    {
        if (entry.message != message)
            continue;
        if (message == WM_COMMAND &&
            (HIWORD(w) != entry.notification || static_cast<int>(LOWORD(w)) != entry.controlId))
            continue;
        result = entry.invoke(dialog, w, l);
        return true;
    }
    return false;
}
