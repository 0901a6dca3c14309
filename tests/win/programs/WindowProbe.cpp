// Lists a top-level window and every window inside it, so a test can see
// what a user sees: the texts, places, states and values of the controls.
//
//   WindowProbe TITLE
//
// TITLE is matched against the start of each visible top-level window's
// title (the first match is listed). Exit code 1 when no window matches.
// One line per window, fields separated by '|':
//   top|TITLE|screen L,T,R,B|client W,H|dpi D
//   CLASS|TEXT|screen L,T,R,B|enabled E|visible V|value X
// where X is the check state of a check box (0/1), the position of a track
// bar, the selected index and item count of a combo box ("2/4"), else "-".
// Texts are written as UTF-8 with CR and LF shown as \r and \n.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& Text)
{
    if (Text.empty())
        return {};
    const int N = WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string Out(static_cast<std::size_t>(N > 0 ? N : 0), '\0');
    if (N > 0)
        WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Out.data(), N, nullptr, nullptr);
    std::string Shown;
    for (char C : Out) {
        if (C == '\r')
            Shown += "\\r";
        else if (C == '\n')
            Shown += "\\n";
        else
            Shown += C;
    }
    return Shown;
}

std::wstring TextOf(HWND Wnd)
{
    const LRESULT Length = SendMessageW(Wnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring Text(static_cast<std::size_t>(Length > 0 ? Length : 0) + 1, L'\0');
    const LRESULT Got = SendMessageW(Wnd, WM_GETTEXT, Text.size(), reinterpret_cast<LPARAM>(Text.data()));
    Text.resize(static_cast<std::size_t>(Got > 0 ? Got : 0));
    return Text;
}

std::wstring ClassOf(HWND Wnd)
{
    wchar_t Name[128] = {};
    GetClassNameW(Wnd, Name, 128);
    return Name;
}

std::string RectText(HWND Wnd)
{
    RECT R{};
    GetWindowRect(Wnd, &R);
    return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
           std::to_string(R.bottom);
}

std::string ValueOf(HWND Wnd, const std::wstring& Class)
{
    if (_wcsicmp(Class.c_str(), L"Button") == 0) {
        const LONG Style = GetWindowLongW(Wnd, GWL_STYLE) & BS_TYPEMASK;
        if (Style == BS_CHECKBOX || Style == BS_AUTOCHECKBOX)
            return std::to_string(SendMessageW(Wnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return "-";
    }
    if (_wcsicmp(Class.c_str(), TRACKBAR_CLASSW) == 0)
        return std::to_string(SendMessageW(Wnd, TBM_GETPOS, 0, 0));
    if (_wcsicmp(Class.c_str(), L"ComboBox") == 0)
        return std::to_string(SendMessageW(Wnd, CB_GETCURSEL, 0, 0)) + "/" +
               std::to_string(SendMessageW(Wnd, CB_GETCOUNT, 0, 0));
    return "-";
}

BOOL CALLBACK ListChild(HWND Wnd, LPARAM)
{
    const std::wstring Class = ClassOf(Wnd);
    std::printf("%s|%s|screen %s|enabled %d|visible %d|value %s\n", Utf8(Class).c_str(), Utf8(TextOf(Wnd)).c_str(),
                RectText(Wnd).c_str(), IsWindowEnabled(Wnd) ? 1 : 0, IsWindowVisible(Wnd) ? 1 : 0,
                ValueOf(Wnd, Class).c_str());
    return TRUE;
}

struct TSearch {
    std::wstring Prefix;
    HWND Found = nullptr;
};

BOOL CALLBACK FindTop(HWND Wnd, LPARAM Param)
{
    auto& Search = *reinterpret_cast<TSearch*>(Param);
    if (!IsWindowVisible(Wnd))
        return TRUE;
    const std::wstring Title = TextOf(Wnd);
    if (Title.compare(0, Search.Prefix.size(), Search.Prefix) == 0) {
        Search.Found = Wnd;
        return FALSE;
    }
    return TRUE;
}

UINT DpiOf(HWND Wnd)
{
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    if (HMODULE User = GetModuleHandleW(L"user32.dll"))
        if (auto Get = reinterpret_cast<TGetDpiForWindow>(
                reinterpret_cast<void*>(GetProcAddress(User, "GetDpiForWindow"))))
            return Get(Wnd);
    HDC Dc = GetDC(nullptr);
    const int Dpi = GetDeviceCaps(Dc, LOGPIXELSY);
    ReleaseDC(nullptr, Dc);
    return static_cast<UINT>(Dpi);
}

} // namespace

int wmain(int Argc, wchar_t** Argv)
{
    if (Argc < 2) {
        std::fprintf(stderr, "usage: WindowProbe TITLE\n");
        return 2;
    }
    // Real pixels, as the probed program (which is DPI aware) sees them.
    using TSetAwareness = BOOL(WINAPI*)(HANDLE);
    if (HMODULE User = GetModuleHandleW(L"user32.dll"))
        if (auto Set = reinterpret_cast<TSetAwareness>(
                reinterpret_cast<void*>(GetProcAddress(User, "SetProcessDpiAwarenessContext"))))
            Set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));   // per monitor, version 2
    TSearch Search{Argv[1]};
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&Search));
    if (!Search.Found)
        return 1;
    RECT Client{};
    GetClientRect(Search.Found, &Client);
    std::printf("top|%s|screen %s|client %ld,%ld|dpi %u\n", Utf8(TextOf(Search.Found)).c_str(),
                RectText(Search.Found).c_str(), Client.right, Client.bottom, DpiOf(Search.Found));
    EnumChildWindows(Search.Found, ListChild, 0);
    std::fflush(stdout);
    return 0;
}
