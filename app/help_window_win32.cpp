// The help window: a frame with Back, Forward and Contents buttons, the
// topic list and the text view, which draws the laid-out topic itself. A
// renderer of our own rather than a rich edit control: the text is laid
// out by portable, tested code, draws the same on Windows and under Wine
// (whose rich edit renders RTF links and lists differently), and is
// Unicode from the book to ExtTextOutW whatever the code page.
#include "app/help_window.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "app/help_book.h"
#include "app/help_layout.h"
#include "win32/win32_handles.h"
#include "resources/resource_ids.h"

namespace {

constexpr wchar_t FrameClassName[] = L"QIVHelpClass";
constexpr wchar_t ViewClassName[] = L"QIVHelpView";

// Sizes in pixels at 96 dpi; the window scales them to its monitor.
constexpr int BaseDpi = 96;
constexpr int DefaultWidth = 780;
constexpr int DefaultHeight = 560;
constexpr int MinimumWidth = 360;
constexpr int MinimumHeight = 240;
constexpr int ListWidth = 270;
constexpr int BarHeight = 32;
constexpr int ButtonWidth = 96;
constexpr int Gap = 6;
constexpr int TextMargin = 14;
constexpr int BulletIndent = 18;
constexpr int GapToMainWindow = 8;
constexpr int WheelLines = 3;
constexpr int ListIndentBlanks = 4;
constexpr COLORREF LinkColour = RGB(0, 64, 192);

int Scale(int pixels, int dpi) { return MulDiv(pixels, dpi, BaseDpi); }

// GetDpiForWindow exists from Windows 10 1607 on: looked up at run time.
int DpiOf(HWND window) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (fn != nullptr && window != nullptr) {
        const UINT dpi = fn(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    WindowDc dc(nullptr);
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

std::wstring Wide(const char* text, size_t bytes) {
    std::wstring out;
    if (bytes == 0) return out;
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(bytes), nullptr, 0);
    out.resize(static_cast<size_t>(std::max(n, 0)));
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(bytes), &out[0], n);
    return out;
}
std::wstring Wide(const char* text) { return Wide(text, std::char_traits<char>::length(text)); }

// The fonts of the text, made for one dpi from the system's message font.
class FontSet {
public:
    FontSet() = default;
    ~FontSet() { Free(); }
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    void Make(int dpi) {
        Free();
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        LOGFONTW base = {};
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) base = metrics.lfMessageFont;
        if (base.lfHeight == 0) base.lfHeight = -12;
        WindowDc screen(nullptr);
        const int systemDpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
        // The body a little larger than dialog text: help is read at length.
        const int body = MulDiv(std::abs(static_cast<int>(base.lfHeight)) * 10 / 9, dpi, systemDpi > 0 ? systemDpi : BaseDpi);
        auto make = [&](int height, int weight, bool underline) {
            LOGFONTW f = base;
            f.lfHeight = -height;
            f.lfWeight = weight;
            f.lfUnderline = underline ? TRUE : FALSE;
            f.lfQuality = CLEARTYPE_QUALITY;
            return CreateFontIndirectW(&f);
        };
        fonts_[static_cast<int>(HelpFont::Body)] = make(body, FW_NORMAL, false);
        fonts_[static_cast<int>(HelpFont::Bold)] = make(body, FW_BOLD, false);
        fonts_[static_cast<int>(HelpFont::Link)] = make(body, FW_NORMAL, true);
        fonts_[static_cast<int>(HelpFont::Title)] = make(body * 8 / 5, FW_BOLD, false);
        fonts_[static_cast<int>(HelpFont::Heading)] = make(body * 6 / 5, FW_BOLD, false);
    }
    HFONT Get(HelpFont f) const { return fonts_[static_cast<int>(f)]; }

private:
    void Free() {
        for (HFONT& f : fonts_) {
            if (f != nullptr) DeleteObject(f);
            f = nullptr;
        }
    }
    HFONT fonts_[static_cast<int>(HelpFont::Count)] = {};
};

class GdiMeasure : public HelpMeasure {
public:
    GdiMeasure(HDC dc, const FontSet& fonts) : dc_(dc), fonts_(fonts) {}
    int TextWidth(HelpFont font, const char* text, size_t bytes) const override {
        SelectScope select(dc_, fonts_.Get(font));
        const std::wstring w = Wide(text, bytes);
        SIZE size = {};
        GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size);
        return size.cx;
    }
    int LineHeight(HelpFont font) const override {
        SelectScope select(dc_, fonts_.Get(font));
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc_, &tm);
        return tm.tmHeight + tm.tmExternalLeading;
    }

private:
    HDC dc_;
    const FontSet& fonts_;
};

// The help window's state, found from its handle (GWLP_USERDATA, set at
// WM_NCCREATE) by both of its window procedures. User-interface thread.
struct HelpState {
    HWND frame = nullptr;
    HWND list = nullptr;
    HWND view = nullptr;
    HWND back = nullptr;
    HWND forward = nullptr;
    HWND contents = nullptr;
    HWND lastFocus = nullptr;  // the control that had the focus when the window lost the activation
    int language = -1;
    int function = 0;
    int dpi = BaseDpi;
    const HelpBook* book = nullptr;
    HelpHistory history;
    HelpLayout layout;
    int scroll = 0;
    FontSet fonts;
};

// The one help window (null before the first request and after the main
// window is gone), its state, and where it was last, kept for the run.
HWND HelpWindow = nullptr;
HelpState TheHelp;
RECT LastPlace = {};
bool HasLastPlace = false;

HelpState* StateOf(HWND window) { return reinterpret_cast<HelpState*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

// --- the text view ------------------------------------------------------

int ViewHeight(const HelpState& s) {
    RECT r;
    GetClientRect(s.view, &r);
    return r.bottom - r.top;
}

void SetScroll(HelpState& s, int position) {
    const int page = ViewHeight(s);
    const int most = std::max(0, s.layout.height - page);
    s.scroll = std::clamp(position, 0, most);
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(s.layout.height - 1, 0);
    si.nPage = static_cast<UINT>(std::max(page, 0));
    si.nPos = s.scroll;
    SetScrollInfo(s.view, SB_VERT, &si, TRUE);
    InvalidateRect(s.view, nullptr, FALSE);
}

void LayOut(HelpState& s) {
    const int topic = s.history.Current();
    if (s.book == nullptr || topic < 0) return;
    RECT r;
    GetClientRect(s.view, &r);
    WindowDc dc(s.view);
    GdiMeasure measure(dc.Get(), s.fonts);
    s.layout = LayoutHelpTopic(*s.book, topic, r.right - r.left, Scale(TextMargin, s.dpi), Scale(BulletIndent, s.dpi),
                               measure);
    SetScroll(s, s.scroll);
}

int LineStep(const HelpState& s) { return Scale(BarHeight, s.dpi) * 2 / 3; }

void PaintView(HelpState& s) {
    PaintScope paint(s.view);
    RECT r;
    GetClientRect(s.view, &r);
    MemoryDc memory(paint.Dc());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(paint.Dc(), std::max<LONG>(r.right, 1), std::max<LONG>(r.bottom, 1)));
    SelectScope selectBitmap(memory.Get(), bitmap.Get());
    FillRect(memory.Get(), &r, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(memory.Get(), TRANSPARENT);
    for (const HelpRun& run : s.layout.runs) {
        const int y = run.y - s.scroll;
        if (y + run.height < 0 || y > r.bottom) continue;
        SelectScope font(memory.Get(), s.fonts.Get(run.font));
        SetTextColor(memory.Get(), run.target >= 0 ? LinkColour : GetSysColor(COLOR_WINDOWTEXT));
        const std::wstring text = Wide(run.text, run.bytes);
        ExtTextOutW(memory.Get(), run.x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    }
    BitBlt(paint.Dc(), 0, 0, r.right, r.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void ShowTopic(HelpState& s, int topic, bool visit);

void OnViewScroll(HelpState& s, WPARAM wParam) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(s.view, SB_VERT, &si);
    const int page = ViewHeight(s);
    switch (LOWORD(wParam)) {
        case SB_LINEUP: SetScroll(s, s.scroll - LineStep(s)); break;
        case SB_LINEDOWN: SetScroll(s, s.scroll + LineStep(s)); break;
        case SB_PAGEUP: SetScroll(s, s.scroll - page); break;
        case SB_PAGEDOWN: SetScroll(s, s.scroll + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetScroll(s, si.nTrackPos); break;
        case SB_TOP: SetScroll(s, 0); break;
        case SB_BOTTOM: SetScroll(s, s.layout.height); break;
        default: break;
    }
}

void OnViewKey(HelpState& s, WPARAM key) {
    const int page = ViewHeight(s);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
        case VK_UP: SetScroll(s, s.scroll - LineStep(s)); break;
        case VK_DOWN: SetScroll(s, s.scroll + LineStep(s)); break;
        case VK_PRIOR: SetScroll(s, s.scroll - page); break;
        case VK_NEXT: SetScroll(s, s.scroll + page); break;
        case VK_SPACE: SetScroll(s, s.scroll + (shift ? -page : page)); break;
        case VK_HOME: SetScroll(s, 0); break;
        case VK_END: SetScroll(s, s.layout.height); break;
        default: break;
    }
}

int LinkUnder(const HelpState& s, LPARAM lParam) {
    return HelpLinkAt(s.layout, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) + s.scroll);
}

bool OnViewSetCursor(HelpState& s) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(s.view, &p);
    if (HelpLinkAt(s.layout, p.x, p.y + s.scroll) < 0) return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

LRESULT CALLBACK ViewProc(HWND view, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    HelpState* s = StateOf(view);
    if (s == nullptr || s->view == nullptr) return DefWindowProcW(view, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT: PaintView(*s); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: LayOut(*s); return 0;
        case WM_VSCROLL: OnViewScroll(*s, wParam); return 0;
        case WM_MOUSEWHEEL:
            SetScroll(*s, s->scroll - GET_WHEEL_DELTA_WPARAM(wParam) * WheelLines * LineStep(*s) / WHEEL_DELTA);
            return 0;
        case WM_KEYDOWN: OnViewKey(*s, wParam); return 0;
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN: SetFocus(view); return 0;
        case WM_LBUTTONUP: {
            const int target = LinkUnder(*s, lParam);
            if (target >= 0) ShowTopic(*s, target, true);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && OnViewSetCursor(*s)) return TRUE;
            return DefWindowProcW(view, msg, wParam, lParam);
        default: return DefWindowProcW(view, msg, wParam, lParam);
    }
}

// --- the frame ----------------------------------------------------------

void ShowTopic(HelpState& s, int topic, bool visit) {
    if (s.book == nullptr || topic < 0 || topic >= s.book->topicCount) return;
    if (visit) s.history.Visit(topic);
    const std::wstring title = Wide(s.book->windowTitle) + L" - " + Wide(s.book->topics[topic].title);
    SetWindowTextW(s.frame, title.c_str());
    const LRESULT items = SendMessageW(s.list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < items; ++i) {
        if (SendMessageW(s.list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0) == topic) {
            SendMessageW(s.list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            break;
        }
    }
    EnableWindow(s.back, s.history.CanGoBack());
    EnableWindow(s.forward, s.history.CanGoForward());
    s.scroll = 0;
    LayOut(s);
}

void FillBook(HelpState& s, int language) {
    s.language = language;
    s.book = &HelpBookFor(language);
    s.history.Clear();
    SetWindowTextW(s.back, Wide(s.book->backText).c_str());
    SetWindowTextW(s.forward, Wide(s.book->forwardText).c_str());
    SetWindowTextW(s.contents, Wide(s.book->contentsText).c_str());
    SetWindowTextW(s.list, Wide(s.book->topicsText).c_str());
    SendMessageW(s.list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < s.book->contentsCount; ++i) {
        const HelpContentsEntry& e = s.book->contents[i];
        const std::wstring item =
            std::wstring(static_cast<size_t>(e.depth * ListIndentBlanks), L' ') + Wide(s.book->topics[e.topic].title);
        const LRESULT at = SendMessageW(s.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (at >= 0) SendMessageW(s.list, LB_SETITEMDATA, static_cast<WPARAM>(at), e.topic);
    }
}

void ApplyFonts(HelpState& s) {
    s.fonts.Make(s.dpi);
    for (HWND child : {s.list, s.back, s.forward, s.contents})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(s.fonts.Get(HelpFont::Body)), TRUE);
}

void PlaceChildren(HelpState& s) {
    RECT r;
    GetClientRect(s.frame, &r);
    const int gap = Scale(Gap, s.dpi);
    const int bar = Scale(BarHeight, s.dpi);
    const int button = Scale(ButtonWidth, s.dpi);
    const int listWidth = std::min(Scale(ListWidth, s.dpi), static_cast<int>(r.right) / 3);
    int x = gap;
    for (HWND b : {s.back, s.forward, s.contents}) {
        MoveWindow(b, x, gap, button, bar - gap, TRUE);
        x += button + gap;
    }
    const int top = bar + gap;
    const int height = std::max(static_cast<int>(r.bottom) - top - gap, 0);
    MoveWindow(s.list, gap, top, listWidth, height, TRUE);
    MoveWindow(s.view, listWidth + 2 * gap, top, std::max(static_cast<int>(r.right) - listWidth - 3 * gap, 0), height,
               TRUE);
}

void RememberPlace(HWND frame) {
    if (IsIconic(frame) || !IsWindowVisible(frame)) return;
    HasLastPlace = GetWindowRect(frame, &LastPlace) != FALSE;
}

LRESULT OnFrameCreate(HelpState& s, HWND frame) {
    s.frame = frame;
    s.dpi = DpiOf(frame);
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(frame, GWLP_HINSTANCE));
    auto child = [&](const wchar_t* cls, DWORD style, DWORD exStyle, int id) {
        return CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, frame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, &s);
    };
    s.back = child(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, IDC_HELP_BACK);
    s.forward = child(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, IDC_HELP_FORWARD);
    s.contents = child(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, IDC_HELP_CONTENTS);
    s.list = child(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                   IDC_HELP_TOPIC_LIST);
    s.view = child(ViewClassName, WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, IDC_HELP_VIEW);
    if (s.back == nullptr || s.forward == nullptr || s.contents == nullptr || s.list == nullptr || s.view == nullptr)
        return -1;
    ApplyFonts(s);
    s.lastFocus = s.view;
    return 0;
}

void OnFrameCommand(HelpState& s, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDC_HELP_BACK: ShowTopic(s, s.history.Back(), false); break;
        case IDC_HELP_FORWARD: ShowTopic(s, s.history.Forward(), false); break;
        case IDC_HELP_CONTENTS: ShowTopic(s, FindHelpTopic(*s.book, HelpContentsTopic, s.function), true); break;
        case IDC_HELP_TOPIC_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                const LRESULT at = SendMessageW(s.list, LB_GETCURSEL, 0, 0);
                if (at >= 0) ShowTopic(s, static_cast<int>(SendMessageW(s.list, LB_GETITEMDATA, at, 0)), true);
            }
            break;
        case IDCANCEL: ShowWindow(s.frame, SW_HIDE); break;
        default: break;
    }
}

void OnFrameActivate(HelpState& s, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(s.frame, focus)) s.lastFocus = focus;
    } else if (s.lastFocus != nullptr) {
        SetFocus(s.lastFocus);
    }
}

void OnFrameDpiChanged(HelpState& s, WPARAM wParam, LPARAM lParam) {
    s.dpi = HIWORD(wParam);
    ApplyFonts(s);
    const RECT* r = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(s.frame, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut(s);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    HelpState* s = StateOf(frame);
    if (s == nullptr) return DefWindowProcW(frame, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: return OnFrameCreate(*s, frame);
        case WM_SIZE:
            PlaceChildren(*s);
            RememberPlace(frame);
            return 0;
        case WM_MOVE: RememberPlace(frame); return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {Scale(MinimumWidth, s->dpi), Scale(MinimumHeight, s->dpi)};
            return 0;
        }
        case WM_COMMAND: OnFrameCommand(*s, wParam); return 0;
        case WM_ACTIVATE: OnFrameActivate(*s, wParam); return 0;
        case WM_CLOSE: ShowWindow(frame, SW_HIDE); return 0;
        case WM_DPICHANGED: OnFrameDpiChanged(*s, wParam, lParam); return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(frame, GWLP_USERDATA, 0);
            s->frame = s->list = s->view = s->back = s->forward = s->contents = s->lastFocus = nullptr;
            s->book = nullptr;
            s->language = -1;
            s->history.Clear();
            s->layout = HelpLayout{};
            HelpWindow = nullptr;
            return DefWindowProcW(frame, msg, wParam, lParam);
        default: return DefWindowProcW(frame, msg, wParam, lParam);
    }
}

bool RegisterClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW frame = {};
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = instance;
    frame.hIcon = LoadIconA(instance, "DSP");
    frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
    frame.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    frame.lpszClassName = FrameClassName;
    WNDCLASSW view = {};
    view.style = CS_HREDRAW | CS_VREDRAW;
    view.lpfnWndProc = ViewProc;
    view.hInstance = instance;
    view.hCursor = LoadCursor(nullptr, IDC_ARROW);
    view.lpszClassName = ViewClassName;
    registered = RegisterClassW(&frame) != 0 && RegisterClassW(&view) != 0;
    return registered;
}

// At first beside the main window, below it, or left of it: the first
// side with room for at least the smallest help window (shrunk to that
// room), so the panel stays in view; over it when no side has room.
RECT FirstPlace(HWND mainWindow) {
    const int dpi = DpiOf(mainWindow);
    RECT main;
    GetWindowRect(mainWindow, &main);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    const int gap = Scale(GapToMainWindow, dpi);
    const int width = Scale(DefaultWidth, dpi), height = Scale(DefaultHeight, dpi);
    const int minWidth = Scale(MinimumWidth, dpi), minHeight = Scale(MinimumHeight, dpi);
    const int top = std::max(main.top, work.top);
    const int left = std::max(main.left, work.left);
    const RECT sides[] = {
        {main.right + gap, top, std::min<LONG>(main.right + gap + width, work.right), std::min<LONG>(top + height, work.bottom)},
        {left, main.bottom + gap, std::min<LONG>(left + width, work.right), std::min<LONG>(main.bottom + gap + height, work.bottom)},
        {std::max<LONG>(main.left - gap - width, work.left), top, main.left - gap, std::min<LONG>(top + height, work.bottom)},
    };
    for (const RECT& r : sides)
        if (r.right - r.left >= minWidth && r.bottom - r.top >= minHeight) return r;
    const int w = std::min(width, static_cast<int>(work.right - work.left));
    const int h = std::min(height, static_cast<int>(work.bottom - work.top));
    return {work.right - w, work.top, work.right, work.top + h};
}

HWND CreateHelpWindow(HWND mainWindow) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow, GWLP_HINSTANCE));
    if (!RegisterClasses(instance)) return nullptr;
    const RECT r = HasLastPlace ? LastPlace : FirstPlace(mainWindow);
    return CreateWindowExW(0, FrameClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, mainWindow, nullptr, instance, &TheHelp);
}

}  // namespace

void ShowHelpTopic(HWND owner, int language, int function, int topic, bool activate) {
    HWND mainWindow = GetAncestor(owner, GA_ROOTOWNER);
    if (mainWindow == nullptr) mainWindow = owner;
    if (HelpWindow == nullptr) HelpWindow = CreateHelpWindow(mainWindow);
    HelpState* s = HelpWindow != nullptr ? StateOf(HelpWindow) : nullptr;
    if (s == nullptr) return;
    if (s->language != language || s->book == nullptr) FillBook(*s, language);
    s->function = function;
    ShowTopic(*s, FindHelpTopic(*s->book, topic, function), true);
    if (IsIconic(HelpWindow) || !IsWindowVisible(HelpWindow))
        ShowWindow(HelpWindow, activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    if (activate) {
        SetWindowPos(HelpWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetActiveWindow(HelpWindow);
    } else {
        // Just below the dialog that asked: above the main window, never
        // over the dialog the user is still typing into.
        SetWindowPos(HelpWindow, owner, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

bool IsHelpWindowOrChild(HWND window) {
    return HelpWindow != nullptr && window != nullptr && (window == HelpWindow || IsChild(HelpWindow, window));
}

bool TranslateHelpWindowMessage(MSG* msg) {
    if (!IsHelpWindowOrChild(msg->hwnd)) return false;
    HelpState* s = StateOf(HelpWindow);
    if (s == nullptr) return false;
    if (msg->message == WM_SYSKEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
        ShowTopic(*s, msg->wParam == VK_LEFT ? s->history.Back() : s->history.Forward(), false);
        return true;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_BACK && msg->hwnd == s->view) {
        ShowTopic(*s, s->history.Back(), false);
        return true;
    }
    // Tab between the controls, Esc closes (IDCANCEL).
    return IsDialogMessageA(HelpWindow, msg) != FALSE;
}
