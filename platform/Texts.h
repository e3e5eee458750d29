#pragma once

// What the user reads when a desktop does not take the wallpaper. Each
// names the desktop. Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace platform::texts {

inline std::string Sjis(const char* utf8)
{
    return jconvert::Utf8ToCp932(utf8);
}

// A session none of the supported desktops runs; session is the name it
// gives itself (XDG_CURRENT_DESKTOP), empty when it gives none.
inline std::string UnknownDesktop(const std::string& session)
{
    return (session.empty()
                   ? Sjis("このセッションはデスクトップの名前 (XDG_CURRENT_DESKTOP) を示していないため")
                   : Sjis("デスクトップ「") + Sjis(session.c_str()) + Sjis("」には対応していないため"))
        + Sjis("、壁紙を設定できません。対応しているデスクトップ: GNOME、Cinnamon、MATE、KDE Plasma、Xfce、"
               "LXQt、LXDE、sway、feh で背景を描く X11。");
}
inline std::string NoCopy()
{
    return Sjis("デスクトップに渡す絵 (~/.cache/corkpane/kabegami-….png) を作れません。");
}
// The desktop's program is not installed.
inline std::string ToolMissing(const std::string& desktop, const std::string& program)
{
    return desktop + Sjis(" の壁紙を設定するプログラム ") + program + Sjis(" が見つかりません。");
}
// The program ran and refused, or answered with an error.
inline std::string ToolFailed(const std::string& desktop, const std::string& program)
{
    return desktop + Sjis(" の壁紙を設定できませんでした (") + program + Sjis(" が失敗しました)。");
}
// The desktop was told, but reading its setting back names another picture.
inline std::string NotShown(const std::string& desktop)
{
    return desktop + Sjis(" に壁紙を設定しましたが、読み返すと別の絵のままでした。");
}
inline std::string NotRunning(const std::string& desktop, const std::string& process)
{
    return desktop + Sjis(" のデスクトップ (") + process
        + Sjis(") が動いていないため、壁紙を設定できません。");
}
inline std::string KdeLocked()
{
    return Sjis("KDE Plasma のウィジェットが管理者によってロックされているため、壁紙を変えられません。");
}
inline std::string SwayCannotRead(const std::string& path)
{
    return Sjis("sway を動かしている利用者が絵のファイル \"") + path
        + Sjis("\" を読めないため、壁紙を設定できません。");
}
inline std::string SwaybgMissing()
{
    return Sjis("sway は壁紙を受け付けましたが、壁紙を表示する swaybg が動いていません "
                "(swaybg がインストールされていないかもしれません)。");
}

} // namespace platform::texts
