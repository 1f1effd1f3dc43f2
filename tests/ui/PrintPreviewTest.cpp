// The print preview: the page Print hands the printer, shown whole or pixel for pixel at actual
// size, a snapshot that later typing does not change, its title, its tool bar's buttons, its keys,
// and Print's message for a bad form.
#include "WindowDriver.h"

#include "MessagePump.h"
#include "PrintedPages.h"
#include "ScreenPicture.h"
#include "report/TestReport.h"
#include "ui/controls/StandardControls.h"
#include "ui/print_preview/PrintPreview.h"
#include "ui/win32/Dpi.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

// A report image's pixels.
ScreenPicture PixelsOf(const ReportImage& image) {
    return ScreenPicture(image.Handle(), {image.Width(), image.Height()});
}

// The share of the pixels in the rectangle that are neither near black nor near white.
double GreyShare(const PixelSource& at, const RECT& area) {
    long long greys = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = at(x, y);
            greys += GetRValue(c) > 40 && GetRValue(c) < 215;
        }
    }
    return double(greys) / (double(area.right - area.left) * (area.bottom - area.top));
}

class PrintPreviewTest : public SampleWindowTest {
  protected:
    void SetUp() override {
        SampleWindowTest::SetUp();
        ASSERT_TRUE(CopyFileA(WMX_REPORT_FORM, Path("protokol.bmp").c_str(), FALSE));
        ClickRow(3);
    }

    // Opens the preview from the tool button; the window, or null when none opened.
    HWND OpenPreview() {
        Click(Form->SpeedButton7, 5, 5);
        return Form->Preview && Form->Preview->IsOpen() ? Form->Preview->Handle : nullptr;
    }

    // The page as Print composes it from the window as it is now.
    ReportPage ComposedNow() { return ComposeReportPage(Form->ShownReport()); }

    // Prints from the main window, the print dialog answered OK: the page the printer got.
    void PrintFromMainWindow(std::optional<ScreenPicture>& printed) {
        PrintedPages pages;
        Dialogs.Expect(PressButton(IDOK));
        PostMessageA(Form->Handle, WM_COMMAND, idFilePrintItem, 0);
        ProcessMessages();
        ASSERT_EQ(Dialogs.Pending(), 0u) << "the print dialog was shown";
        ASSERT_NO_FATAL_FAILURE(pages.Take(printed));
    }

    // Scrolls the preview at actual size to one end of each bar (SB_TOP or SB_BOTTOM).
    void ScrollTo(int horizontal, int vertical) {
        SendMessageA(Form->Preview->Handle, WM_HSCROLL, horizontal, 0);
        SendMessageA(Form->Preview->Handle, WM_VSCROLL, vertical, 0);
        ProcessMessages();
    }

    // How many pixels of the page shown below the tool bar differ from the expected page at the
    // same place, at actual size; the first one is described in `first`.
    int PixelsDiffering(const ScreenPicture& expected, std::string& first) {
        const RECT page = Form->Preview->PageRect();
        EXPECT_EQ(page.right - page.left, expected.Width()) << "one image pixel to a screen pixel";
        EXPECT_EQ(page.bottom - page.top, expected.Height());
        const ScreenPicture shown(Form->Preview->Handle);
        const int top = std::max(Form->Preview->PageArea().top, page.top);
        int differing = 0;
        for (int y = top; y < std::min(shown.Height(), int(page.bottom)); ++y) {
            for (int x = std::max(0, int(page.left)); x < std::min(shown.Width(), int(page.right));
                 ++x) {
                const COLORREF want = expected.At(x - page.left, y - page.top);
                if (shown.At(x, y) == want)
                    continue;
                if (differing++ == 0) {
                    std::ostringstream text;
                    text << "page pixel (" << x - page.left << ", " << y - page.top << ") shows "
                         << std::hex << shown.At(x, y) << " for " << want;
                    first = text.str();
                }
            }
        }
        return differing;
    }

    // The whole page compared at the four ends of the scroll bars, which between them show all
    // of it on the test's screen.
    void ExpectPreviewShows(const ScreenPicture& expected) {
        for (int horizontal : {SB_TOP, SB_BOTTOM}) {
            for (int vertical : {SB_TOP, SB_BOTTOM}) {
                ScrollTo(horizontal, vertical);
                std::string first;
                EXPECT_EQ(PixelsDiffering(expected, first), 0)
                    << first << " (scrolled to " << horizontal << ", " << vertical << ")";
            }
        }
    }

    static bool HasScrollBars(HWND window) {
        return (GetWindowLongA(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
    }
};

TEST_F(PrintPreviewTest, ToolButtonAndMenuItemOpenOneOwnedWindowOfTheSelectedRow) {
    CurrentRecord = 7; // as a running poll leaves it
    const HWND preview = OpenPreview();
    ASSERT_TRUE(preview);
    EXPECT_EQ(GetWindow(preview, GW_OWNER), Form->Handle) << "owned by the main window";
    EXPECT_FALSE(GetWindowLongA(preview, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(CurrentRecord, 3) << "the selected row, as Print takes it";
    EXPECT_FALSE(Form->Preview->AtActualSize()) << "opens fitted";

    // Opened again while open: the same window, in front, fitted again.
    Keystroke(VK_ADD);
    ASSERT_TRUE(Form->Preview->AtActualSize());
    SetForegroundWindow(Form->Handle);
    ProcessMessages();
    PostMessageA(Form->Handle, WM_COMMAND, idFilePrintPreviewItem, 0);
    ProcessMessages();
    EXPECT_EQ(Form->Preview->Handle, preview);
    EXPECT_EQ(GetForegroundWindow(), preview);
    EXPECT_FALSE(Form->Preview->AtActualSize());

    SendMessageA(Form->Handle, WM_MENUSELECT, MAKEWPARAM(idFilePrintPreviewItem, MF_HILITE),
                 reinterpret_cast<LPARAM>(Form->FileMenu));
    EXPECT_EQ(Form->StatusText(3), "Show the report as it will be printed");
}

// The title names what the preview shows: the registration number as typed (without the blanks
// around it) and the record of the selected row; opened again, it names the new page.
TEST_F(PrintPreviewTest, TitleNamesTheRegistrationNumberAndTheRecord) {
    const struct {
        const char* Typed; // in place of the record's own number; nullptr keeps it
        int Row;
        const wchar_t* Title;
    } cases[] = {
        {"KR 1G5T2", 4, L"Print Preview - KR 1G5T2, record 4"},
        {nullptr, 3, L"Print Preview - REG 3, record 3"},
        {"  wx 12345 ", 9, L"Print Preview - wx 12345, record 9"},
        {"", 1, L"Print Preview - record 1"},
        {"   ", 2, L"Print Preview - record 2"},
    };
    for (const auto& c : cases) {
        ClickRow(c.Row);
        if (c.Typed) {
            Focus(Form->Edit6);
            SetWindowTextA(Form->Edit6, "");
            Type(Form->Edit6, c.Typed);
        }
        const HWND preview = OpenPreview();
        ASSERT_TRUE(preview) << c.Title;
        wchar_t title[128] = L"";
        GetWindowTextW(preview, title, static_cast<int>(std::size(title)));
        EXPECT_STREQ(title, c.Title);
    }
}

// The tool bar's buttons with the mouse alone, clicked as a person clicks: the size shown is the
// button held down, the keys still act in the preview after a click, Print reaches the print
// dialog and Close closes.
TEST_F(PrintPreviewTest, ToolBarButtonsSwitchTheSizePrintAndClose) {
    const HWND preview = OpenPreview();
    ASSERT_TRUE(preview);
    const TPrintPreview& shown = *Form->Preview;
    const auto click = [](HWND button) {
        MovePointerTo(button);
        MouseClick();
    };
    // A button held down has its left edge in the shadow colour, one up in the highlight.
    const auto heldDown = [](HWND button) {
        const ScreenPicture picture(button);
        return picture.At(0, picture.Height() / 2) == GetSysColor(COLOR_BTNSHADOW);
    };
    const struct {
        const char* Name;
        std::function<void()> Do;
        bool ActualSize;
    } steps[] = {
        {"opened", [] {}, false},
        {"Actual size", [&] { click(shown.ActualSizeButton); }, true},
        {"Actual size again", [&] { click(shown.ActualSizeButton); }, true},
        {"Whole page", [&] { click(shown.WholePageButton); }, false},
        {"+ after a click", [] { Keystroke(VK_ADD); }, true},
        {"Whole page after a key", [&] { click(shown.WholePageButton); }, false},
    };
    for (const auto& step : steps) {
        step.Do();
        EXPECT_EQ(shown.AtActualSize(), step.ActualSize) << step.Name;
        EXPECT_EQ(HasScrollBars(preview), step.ActualSize) << step.Name;
        EXPECT_EQ(heldDown(shown.ActualSizeButton), step.ActualSize) << step.Name;
        EXPECT_EQ(heldDown(shown.WholePageButton), !step.ActualSize) << step.Name;
        EXPECT_EQ(GetFocus(), preview) << step.Name << ": the keys act in the preview";
    }

    Dialogs.Expect(PressButton(IDCANCEL));
    click(shown.PrintButton);
    EXPECT_EQ(Dialogs.Pending(), 0u) << "Print showed the print dialog";
    EXPECT_TRUE(IsWindow(preview)) << "cancelled, the preview stays";

    click(shown.CloseButton);
    EXPECT_FALSE(IsWindow(preview));
    EXPECT_FALSE(Form->Preview->IsOpen());
}

TEST_F(PrintPreviewTest, PageAtActualSizeEqualsThePrintedPagePixelForPixel) {
    // A field being typed in is shown as displayed, as Print prints it.
    Focus(Form->Edit6);
    Type(Form->Edit6, "X");
    std::optional<ScreenPicture> printed;
    ASSERT_NO_FATAL_FAILURE(PrintFromMainWindow(printed));
    ASSERT_TRUE(OpenPreview());
    Keystroke(VK_ADD);
    ASSERT_TRUE(Form->Preview->AtActualSize());
    ExpectPreviewShows(*printed);
}

TEST_F(PrintPreviewTest, TypingAfterItOpensDoesNotChangeThePage) {
    // What Print hands the printer as the preview opens.
    std::optional<ScreenPicture> opened, typed;
    ASSERT_NO_FATAL_FAILURE(PrintFromMainWindow(opened));
    ASSERT_TRUE(OpenPreview());
    Keystroke(VK_ADD);
    Type(Form->Edit6, " TYPED LATER");
    Type(Form->Edit10, " TYPED LATER");
    InvalidateRect(Form->Preview->Handle, nullptr, FALSE);
    ExpectPreviewShows(*opened);
    // The typing would have shown: the page printed now is another.
    ASSERT_NO_FATAL_FAILURE(PrintFromMainWindow(typed));
    ASSERT_EQ(typed->Width(), opened->Width());
    ASSERT_EQ(typed->Height(), opened->Height());
    int differing = 0;
    for (int y = 0; y < typed->Height(); ++y)
        for (int x = 0; x < typed->Width(); ++x)
            differing += typed->At(x, y) != opened->At(x, y);
    EXPECT_GT(differing, 0);
}

TEST_F(PrintPreviewTest, FittedPageIsWholeCentredWithItsAspectKeptAndSmoothlyScaled) {
    const HWND preview = OpenPreview();
    ASSERT_TRUE(preview);
    const ScreenPicture page = PixelsOf(ComposedNow().Image);
    const double formGreys =
        GreyShare([&](int x, int y) { return page.At(x, y); }, {0, 0, page.Width(), page.Height()});
    const auto expectFitted = [&](const char* when) {
        RECT client, bar;
        GetClientRect(preview, &client);
        GetWindowRect(Form->Preview->ToolBar, &bar);
        MapWindowPoints(nullptr, preview, reinterpret_cast<POINT*>(&bar), 2);
        // The room below the tool bar, which runs across the top.
        const RECT area = Form->Preview->PageArea();
        EXPECT_EQ(bar.top, 0) << when;
        EXPECT_EQ(bar.right - bar.left, client.right) << when;
        EXPECT_EQ(area.top, bar.bottom) << when;
        EXPECT_EQ(area.bottom, client.bottom) << when;
        const RECT shown = Form->Preview->PageRect();
        const int width = shown.right - shown.left, height = shown.bottom - shown.top;
        EXPECT_FALSE(HasScrollBars(preview)) << when;
        EXPECT_GE(shown.left, 0) << when;
        EXPECT_GE(shown.top, area.top) << when;
        EXPECT_LE(shown.right, client.right) << when;
        EXPECT_LE(shown.bottom, client.bottom) << when;
        EXPECT_LE(std::abs(shown.left - (client.right - shown.right)), 1) << when << ": centred";
        EXPECT_LE(std::abs(shown.top - area.top - (client.bottom - shown.bottom)), 1) << when;
        EXPECT_LE(std::abs(width * page.Height() - height * page.Width()), page.Height())
            << when << ": " << width << " x " << height << ", the aspect kept";
        // One side meets the margin: as large as the room allows.
        EXPECT_TRUE(shown.left <= 20 || shown.top - area.top <= 20) << when;

        const ScreenPicture picture(preview);
        EXPECT_EQ(picture.At(0, area.top), GetSysColor(COLOR_APPWORKSPACE))
            << when << ": grey around";
        EXPECT_EQ(picture.At(client.right - 1, client.bottom - 1), GetSysColor(COLOR_APPWORKSPACE));
        // Scaled down smoothly, the form's black text and lines on white come out in many more
        // shades of grey than the form has; dropping pixels would keep its share.
        const double fitted = GreyShare([&](int x, int y) { return picture.At(x, y); }, shown);
        EXPECT_GT(fitted, 2 * formGreys) << when << ": halftone";
    };
    expectFitted("opened");

    RECT opened;
    GetWindowRect(preview, &opened);
    SetWindowPos(preview, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    ProcessMessages();
    expectFitted("resized wide");
    ::ShowWindow(preview, SW_MAXIMIZE);
    ProcessMessages();
    expectFitted("maximised");

    // Closed and opened again: its own size again, neither the last size nor maximised.
    SendMessageA(preview, WM_CLOSE, 0, 0);
    const HWND again = OpenPreview();
    ASSERT_TRUE(again);
    EXPECT_FALSE(IsZoomed(again));
    RECT reopened;
    GetWindowRect(again, &reopened);
    EXPECT_TRUE(EqualRect(&reopened, &opened));
}

TEST_F(PrintPreviewTest, PlusMinusAndCtrlWheelSwitchBetweenFittedAndActualSize) {
    const HWND preview = OpenPreview();
    ASSERT_TRUE(preview);
    const int formWidth = ComposedNow().Image.Width();
    MovePointerTo(preview);
    const auto ctrlWheel = [](int delta) {
        return [delta] {
            INPUT inputs[3]{};
            inputs[0].type = inputs[2].type = INPUT_KEYBOARD;
            inputs[0].ki.wVk = inputs[2].ki.wVk = VK_CONTROL;
            inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
            inputs[1].type = INPUT_MOUSE;
            inputs[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
            inputs[1].mi.mouseData = static_cast<DWORD>(delta);
            SendInput(3, inputs, sizeof(INPUT));
            ProcessMessages();
        };
    };
    const struct {
        const char* Name;
        std::function<void()> Press;
        bool ActualSize;
    } steps[] = {
        {"numeric +", [] { Keystroke(VK_ADD); }, true},
        {"numeric -", [] { Keystroke(VK_SUBTRACT); }, false},
        {"=+ key", [] { Keystroke(VK_OEM_PLUS); }, true},
        {"- key", [] { Keystroke(VK_OEM_MINUS); }, false},
        {"Ctrl and the wheel up", ctrlWheel(WHEEL_DELTA), true},
        {"Ctrl and the wheel down", ctrlWheel(-WHEEL_DELTA), false},
    };
    for (const auto& step : steps) {
        step.Press();
        EXPECT_EQ(Form->Preview->AtActualSize(), step.ActualSize) << step.Name;
        EXPECT_EQ(HasScrollBars(preview), step.ActualSize) << step.Name;
        const RECT page = Form->Preview->PageRect();
        EXPECT_EQ(page.right - page.left == formWidth, step.ActualSize) << step.Name;
    }

    // At actual size the keys scroll the page.
    Keystroke(VK_ADD);
    const auto position = [preview] { return GetScrollPos(preview, SB_VERT); };
    Keystroke(VK_HOME);
    EXPECT_EQ(position(), 0);
    Keystroke(VK_DOWN);
    const int line = position();
    EXPECT_GT(line, 0);
    Keystroke(VK_NEXT);
    EXPECT_GT(position(), line);
    Keystroke(VK_END);
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    GetScrollInfo(preview, SB_VERT, &bar);
    EXPECT_EQ(position(), bar.nMax - static_cast<int>(bar.nPage) + 1) << "the page's bottom";
    EXPECT_EQ(Form->Preview->PageRect().bottom + ScaledTo(16, ScreenDpi(preview)),
              ScreenPicture(preview).Height())
        << "the page's bottom above its margin";
}

TEST_F(PrintPreviewTest, EscapeAltF4AndClosingTheMainWindowCloseIt) {
    const struct {
        const char* Name;
        std::function<void()> Close;
    } closers[] = {
        {"Escape", [] { Keystroke(VK_ESCAPE); }},
        {"Alt+F4", [] { Keystroke(VK_F4, VK_MENU); }},
        {"the main window closed",
         [this] {
             PostMessageA(Form->Handle, WM_CLOSE, 0, 0);
             RunMessageLoop();
         }},
    };
    for (const auto& closer : closers) {
        const HWND preview = OpenPreview();
        ASSERT_TRUE(preview) << closer.Name;
        ASSERT_EQ(GetForegroundWindow(), preview);
        closer.Close();
        EXPECT_FALSE(IsWindow(preview)) << closer.Name;
        EXPECT_FALSE(Form->Preview->IsOpen()) << closer.Name;
    }
}

TEST_F(PrintPreviewTest, CtrlPPrintsThePageShownOnce) {
    const HWND preview = OpenPreview();
    ASSERT_TRUE(preview);
    const int pdfs = PdfCount();
    Dialogs.Expect(PressButton(IDOK));
    Keystroke('P', VK_CONTROL);
    EXPECT_EQ(Dialogs.Pending(), 0u) << "Ctrl+P showed the print dialog";
    EXPECT_TRUE(PumpUntil([&] { return PdfCount() > pdfs; }, 20000)) << "nothing was printed";
    EXPECT_EQ(PdfCount(), pdfs + 1);
    // The queue names the file after the job's title, which Print gives it.
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("WMX_PDF_DIR", folder, MAX_PATH);
    WIN32_FIND_DATAA found;
    const HANDLE named =
        FindFirstFileA((std::string("Z:") + folder + "/Kavra_Tintra_REG_3*.pdf").c_str(), &found);
    ASSERT_NE(named, INVALID_HANDLE_VALUE) << "titled as Print titles it";
    FindClose(named);
    EXPECT_TRUE(IsWindow(preview)) << "the preview stays open";
}

TEST_F(PrintPreviewTest, MissingOrBadFormGivesPrintsMessageAndNoWindow) {
    const struct {
        const char* Name;
        const char* Content; // nullptr: no file
    } forms[] = {{"missing", nullptr}, {"not a bitmap", "BM not really a bitmap"}};
    for (const auto& form : forms) {
        DeleteFileA(Path("protokol.bmp").c_str());
        if (form.Content)
            std::ofstream(Path("protokol.bmp"), std::ios::binary) << form.Content;
        MessageBoxSeen printed, previewed;
        Dialogs.Expect(PressButton(IDOK));
        Dialogs.Expect(AnswerMessageBox(printed));
        PostMessageA(Form->Handle, WM_COMMAND, idFilePrintItem, 0);
        ProcessMessages();
        Dialogs.Expect(AnswerMessageBox(previewed));
        PostMessageA(Form->Handle, WM_COMMAND, idFilePrintPreviewItem, 0);
        ProcessMessages();
        EXPECT_FALSE(printed.Text.empty()) << form.Name;
        EXPECT_EQ(previewed.Text, printed.Text) << form.Name;
        EXPECT_EQ(previewed.Caption, printed.Caption) << form.Name;
        EXPECT_TRUE(previewed.HasIcon) << form.Name;
        EXPECT_FALSE(FindWindowA("TPrintPreview", nullptr)) << form.Name << ": no window";
    }
}

// A print dialog of either window takes the input of the other one too, until it closes.
TEST_F(PrintPreviewTest, EachWindowsPrintDialogBlocksTheOtherWindowToo) {
    const HWND preview = OpenPreview();
    ASSERT_TRUE(preview);
    const struct {
        const char* Dialog;
        std::function<void()> Open;
        HWND Other;
    } dialogs[] = {
        {"the preview's print dialog", [] { Keystroke('P', VK_CONTROL); }, Form->Handle},
        {"Print Setup",
         [this] {
             PostMessageA(Form->Handle, WM_COMMAND, idFilePrintSetupItem, 0);
             ProcessMessages();
         },
         preview},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.Dialog);
        bool otherEnabled = true;
        Dialogs.Expect([&](HWND dialog) {
            otherEnabled = IsWindowEnabled(d.Other);
            PressButton(IDCANCEL)(dialog);
        });
        d.Open();
        EXPECT_EQ(Dialogs.Pending(), 0u) << "the dialog came";
        EXPECT_FALSE(otherEnabled);
        EXPECT_TRUE(IsWindowEnabled(Form->Handle));
        EXPECT_TRUE(IsWindowEnabled(preview));
    }
}

} // namespace
