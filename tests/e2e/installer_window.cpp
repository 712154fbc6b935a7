#include "installer_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "check.h"
#include "gdi_handles.h"
#include "window_probe.h"

namespace scrinst::e2e {

namespace {

struct Placement {
    const char* name;
    HWND InstallerWindow::*control;
    int left;
    int top;
    int width;
    int height;
};

// As designed, at 96 dots per inch with a font whose digit 0 is 13 pixels
// high; the test desktop gives exactly that, so nothing scales.
constexpr int kClientWidth = 306;
constexpr int kClientHeight = 327;
constexpr Placement kPlacements[] = {
    {"Panel1", &InstallerWindow::panel, 4, 5, 297, 157},
    {"Memo1", &InstallerWindow::memo, 4, 167, 297, 92},
    // Sized to its text: 33 wide in MS Sans Serif; see LabelWidth.
    {"Label1", &InstallerWindow::label, 4, 264, 0, 13},
    {"progressBar", &InstallerWindow::progress, 4, 280, 297, 16},
    {"btnInstall", &InstallerWindow::install, 154, 301, 68, 22},
    {"btnCancel", &InstallerWindow::cancel, 233, 301, 68, 22},
    {"imgInstall", &InstallerWindow::image, 0, 0, 297, 157},
};

std::string DescribeChildren(HWND parent)
{
    std::string out;
    for (HWND child : ChildrenOf(parent)) {
        out += out.empty() ? "" : ", ";
        out += "[" + ClassOf(child) + " " + Quoted(TextOf(child)) + " at " + Describe(RectInParent(child)) + "]";
    }
    return out.empty() ? "no children" : out;
}

bool HasStyle(HWND window, LONG_PTR style)
{
    return (StyleOf(window) & style) == style;
}

}  // namespace

std::string InstallerWindow::nameOf(HWND window) const
{
    if (window == nullptr) {
        return "nothing";
    }
    if (window == form) {
        return "the form";
    }
    for (const Placement& placement : kPlacements) {
        if (this->*placement.control == window) {
            return placement.name;
        }
    }
    return "[" + ClassOf(window) + " " + Quoted(TextOf(window)) + "]";
}

HWND WaitForForm(const AppProcess& app, DWORD timeoutMs)
{
    HWND form = nullptr;
    WaitFor([&] {
        form = app.findTopLevel(kFormClass, true);
        return form != nullptr || app.hasExited();
    }, timeoutMs);
    return form;
}

InstallerWindow IdentifyControls(HWND form)
{
    InstallerWindow window;
    window.form = form;
    std::vector<HWND> buttons;
    for (HWND child : ChildrenOf(form)) {
        const std::string kind = ClassOf(child);
        if (kind == "Button") {
            buttons.push_back(child);
        } else if (kind == "Edit") {
            window.memo = child;
        } else if (kind == PROGRESS_CLASSA) {
            window.progress = child;
        } else if (!ChildrenOf(child).empty()) {
            // The panel is the one control that holds another: the picture.
            window.panel = child;
            window.image = ChildrenOf(child).front();
        } else if (kind == "Static") {
            window.label = child;
        }
    }
    // Left to right: Install, then Cancel.
    std::sort(buttons.begin(), buttons.end(),
              [](HWND a, HWND b) { return RectInParent(a).left < RectInParent(b).left; });
    if (buttons.size() == 2) {
        window.install = buttons[0];
        window.cancel = buttons[1];
    }
    const bool complete = window.panel != nullptr && window.image != nullptr && window.memo != nullptr &&
                          window.label != nullptr && window.progress != nullptr && window.install != nullptr;
    Require(complete, "the window's controls are not the expected ones: " + DescribeChildren(form));
    return window;
}

// "Status:" in the window's font, as this system draws it: 33 pixels with
// the real MS Sans Serif, a little more or less where another face stands in.
int LabelWidth()
{
    ScreenDc screen;
    GdiObject font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    SelectedObject selected(screen.get(), font.get());
    SIZE size{};
    GetTextExtentPoint32A(screen.get(), "Status:", 7, &size);
    return size.cx;
}

void CheckLayout(const InstallerWindow& window)
{
    const SIZE client = ClientSize(window.form);
    ExpectEqual("client area width", kClientWidth, client.cx);
    ExpectEqual("client area height", kClientHeight, client.cy);
    for (const Placement& placement : kPlacements) {
        const RECT actual = RectInParent(window.*placement.control);
        const int width = placement.width != 0 ? placement.width : LabelWidth();
        const RECT expected{placement.left, placement.top, placement.left + width, placement.top + placement.height};
        Expect(EqualRect(&actual, &expected) != 0, std::string(placement.name) + " position and size: expected " +
                                                       Describe(expected) + ", got " + Describe(actual));
    }
    Expect(GetAncestor(window.image, GA_PARENT) == window.panel, "imgInstall does not lie on Panel1");

    // Centred on the desktop made of all monitors, halves rounded down.
    const RECT frame = ScreenRectOf(window.form);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int desktopWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int desktopHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ExpectEqual("window left edge (centred)", (desktopWidth - width) / 2, frame.left);
    ExpectEqual("window top edge (centred)", (desktopHeight - height) / 2, frame.top);
}

void CheckOpenState(const AppProcess& app, const InstallerWindow& window, const std::string& caption)
{
    ExpectEqual("window caption", caption, TextOf(window.form));

    ExpectEqual("Memo1 class", "Edit", ClassOf(window.memo));
    ExpectEqual("Label1 class", "Static", ClassOf(window.label));
    ExpectEqual("progressBar class", PROGRESS_CLASSA, ClassOf(window.progress));
    ExpectEqual("btnInstall class", "Button", ClassOf(window.install));
    ExpectEqual("btnCancel class", "Button", ClassOf(window.cancel));
    ExpectEqual("btnInstall caption", "&Install", TextOf(window.install));
    ExpectEqual("btnCancel caption", "&Cancel", TextOf(window.cancel));
    ExpectEqual("Label1 caption", "Status:", TextOf(window.label));

    // Fixed single border, system menu and minimise box, no maximise box.
    Expect(HasStyle(window.form, WS_CAPTION), "the window has no title bar");
    Expect(HasStyle(window.form, WS_SYSMENU), "the window has no system menu");
    Expect(HasStyle(window.form, WS_MINIMIZEBOX), "the window has no minimise box");
    Expect(!HasStyle(window.form, WS_MAXIMIZEBOX), "the window offers maximising");
    Expect(!HasStyle(window.form, WS_THICKFRAME), "the window can be resized");

    // Read-only, wrapping, with a vertical scroll bar only.
    Expect(HasStyle(window.memo, ES_MULTILINE), "Memo1 is not multi-line");
    Expect(HasStyle(window.memo, ES_READONLY), "Memo1 is not read-only");
    Expect(HasStyle(window.memo, WS_VSCROLL), "Memo1 has no vertical scroll bar");
    Expect(!HasStyle(window.memo, WS_HSCROLL), "Memo1 has a horizontal scroll bar");
    Expect(!HasStyle(window.memo, ES_AUTOHSCROLL), "Memo1 scrolls sideways instead of wrapping");

    // Only the buttons and the text box are reached by Tab.
    Expect(HasStyle(window.install, WS_TABSTOP), "btnInstall is not a tab stop");
    Expect(HasStyle(window.cancel, WS_TABSTOP), "btnCancel is not a tab stop");
    Expect(HasStyle(window.memo, WS_TABSTOP), "Memo1 is not a tab stop");
    Expect(!HasStyle(window.panel, WS_TABSTOP), "Panel1 is a tab stop");
    Expect(!HasStyle(window.progress, WS_TABSTOP), "progressBar is a tab stop");
    // Neither button is a default button.
    Expect((StyleOf(window.install) & 0x0F) == BS_PUSHBUTTON, "btnInstall is not a plain push button");
    Expect((StyleOf(window.cancel) & 0x0F) == BS_PUSHBUTTON, "btnCancel is not a plain push button");

    for (HWND control : {window.form, window.panel, window.memo, window.progress, window.install, window.cancel}) {
        Expect(IsWindowEnabled(control) != 0, window.nameOf(control) + " is disabled");
    }

    const ProgressState progress = ProgressOf(window.progress);
    ExpectEqual("progress minimum", 0, progress.low);
    ExpectEqual("progress maximum", 100, progress.high);
    ExpectEqual("progress position", 0, progress.position);

    WaitFor([&] { return FocusOf(app.threadId()) == window.install; }, 2000);
    const HWND focus = FocusOf(app.threadId());
    Expect(focus == window.install, "the focus on opening is on " + window.nameOf(focus) + ", not on btnInstall");
}

void CheckMemoText(const InstallerWindow& window, const std::string& expectedText)
{
    ExpectEqual("Memo1 text", expectedText, TextOf(window.memo));

    // A line longer than the box is wide wraps onto more display lines.
    std::size_t logicalLines = 1;
    std::size_t longest = 0;
    std::size_t current = 0;
    for (std::size_t i = 0; i < expectedText.size(); ++i) {
        if (expectedText[i] == '\n') {
            ++logicalLines;
            current = 0;
        } else if (expectedText[i] != '\r') {
            longest = std::max(longest, ++current);
        }
    }
    if (longest > 80) {
        DWORD_PTR displayLines = 0;
        SendMessageTimeoutA(window.memo, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &displayLines);
        Expect(displayLines > logicalLines, "a long line in Memo1 does not wrap: " + std::to_string(displayLines) +
                                                " display lines for " + std::to_string(logicalLines) + " lines");
    }

    // The box's background is the button face: look where no text reaches.
    const RECT client = ScreenClientRectOf(window.memo);
    const Image pixels = CaptureScreen(client);
    const COLORREF corner = pixels.at(pixels.width() - 4, pixels.height() - 4);
    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    Expect(corner == buttonFace, "Memo1's background is " + ColourName(corner) + ", not the button face " +
                                     ColourName(buttonFace));
}

namespace {

struct PictureCounts {
    int total = 0;
    int whitish = 0;
    int red = 0;
    int buttonFace = 0;
};

PictureCounts Count(const Image& image)
{
    PictureCounts counts;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const COLORREF pixel = image.at(x, y);
            ++counts.total;
            counts.whitish += GetRValue(pixel) > 200 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200;
            counts.red += GetRValue(pixel) > 150 && GetGValue(pixel) < 100 && GetBValue(pixel) < 100;
            counts.buttonFace += pixel == face;
        }
    }
    return counts;
}

COLORREF ParseColour(const std::string& hex)
{
    const unsigned long value = std::stoul(hex, nullptr, 16);
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

}  // namespace

void CheckPicture(const InstallerWindow& window, const std::string& expectation)
{
    const Image image = CaptureScreen(ScreenClientRectOf(window.panel));
    const PictureCounts counts = Count(image);
    const std::string shown = std::to_string(counts.whitish) + " whitish, " + std::to_string(counts.red) + " red, " +
                              std::to_string(counts.buttonFace) + " button-face pixels of " +
                              std::to_string(counts.total);
    if (expectation == "banner") {
        // White ground ruled in grey, with red lettering.
        Expect(counts.whitish * 2 > counts.total && counts.red > 100,
               "the picture area does not show the built-in banner: " + shown);
    } else if (expectation == "empty") {
        Expect(counts.buttonFace == counts.total, "the picture area is not empty (button face only): " + shown);
    } else if (expectation.rfind("split:", 0) == 0 && expectation.size() == 19) {
        const COLORREF left = ParseColour(expectation.substr(6, 6));
        const COLORREF right = ParseColour(expectation.substr(13, 6));
        const int y = image.height() / 2;
        // Well inside each half: stretching and JPEG blur only touch the seam.
        const COLORREF leftSeen = image.at(image.width() / 4, y);
        const COLORREF rightSeen = image.at(image.width() * 3 / 4, y);
        Expect(Near(leftSeen, left, 40),
               "the picture's left half shows " + ColourName(leftSeen) + ", expected " + ColourName(left));
        Expect(Near(rightSeen, right, 40),
               "the picture's right half shows " + ColourName(rightSeen) + ", expected " + ColourName(right));
        // Stretched to fill: the picture's colours reach every edge.
        const COLORREF topLeft = image.at(1, 1);
        const COLORREF bottomRight = image.at(image.width() - 2, image.height() - 2);
        Expect(Near(topLeft, left, 40) && Near(bottomRight, right, 40),
               "the picture does not fill the whole area: corners show " + ColourName(topLeft) + " and " +
                   ColourName(bottomRight));
    } else {
        Fail("unknown picture expectation " + Quoted(expectation));
    }
}

HWND FindMessageBox(const AppProcess& app)
{
    return app.findTopLevel(kMessageBoxClass, true);
}

HWND WaitForMessageBox(const AppProcess& app, DWORD timeoutMs)
{
    HWND box = nullptr;
    WaitFor([&] {
        box = FindMessageBox(app);
        return box != nullptr || app.hasExited();
    }, timeoutMs);
    return box;
}

std::string MessageBoxText(HWND box)
{
    // The message box keeps its text in a static control with this identifier.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text != nullptr ? TextOf(text) : "<no text control>";
}

void CheckErrorBox(const AppProcess& app, HWND box, const std::string& title, const ExpectedMessage& expected,
                   HWND form)
{
    ExpectEqual("error box caption", title, TextOf(box));
    const std::string text = MessageBoxText(box);
    if (expected.prefixOnly) {
        Expect(text.rfind(expected.text, 0) == 0,
               "error box text: expected to start with " + Quoted(expected.text) + ", got " + Quoted(text));
    } else {
        ExpectEqual("error box text", expected.text, text);
    }

    HWND owner = GetWindow(box, GW_OWNER);
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    Expect(owner != nullptr && ownerProcess == app.processId(), "the error box is not owned by a window of the program");
    Expect(owner == nullptr || ClassOf(owner) != kFormClass, "the error box is owned by the installer window");
    // The application's window carries the title (it names the taskbar
    // button).
    if (owner != nullptr) {
        ExpectEqual("caption of the error box's owner", title, TextOf(owner));
    }
    if (form != nullptr) {
        Expect(IsWindowEnabled(form) == 0, "the installer window stays enabled while the error box shows");
    }

    std::vector<HWND> buttons;
    HWND icon = nullptr;
    for (HWND child : ChildrenOf(box)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        if (ClassOf(child) == "Button") {
            buttons.push_back(child);
        } else if (ClassOf(child) == "Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON) {
            icon = child;
        }
    }
    Expect(buttons.size() == 1 && TextOf(buttons.front()) == "OK",
           "the error box does not have a single OK button: " + std::to_string(buttons.size()) + " buttons");
    Expect(icon != nullptr, "the error box shows no icon");
    if (icon != nullptr) {
        // The stop sign is the one red message-box icon.
        const PictureCounts counts = Count(CaptureScreen(ScreenClientRectOf(icon)));
        Expect(counts.red * 5 > counts.total, "the error box's icon is not the red stop sign: " +
                                                  std::to_string(counts.red) + " red pixels of " +
                                                  std::to_string(counts.total));
    }
}

void DismissMessageBox(HWND box)
{
    HWND ok = GetDlgItem(box, IDOK);
    if (ok != nullptr) {
        PressButton(ok);
    } else {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    Require(WaitFor([box] { return IsWindow(box) == 0 || IsWindowVisible(box) == 0; }, kReactTimeoutMs),
            "the error box does not go away when OK is pressed");
}

void PressButton(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace scrinst::e2e
