#include "app/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "app/main_form.h"
#include "app/win32/shell_notify_icon.h"
#include "resources/resource_ids.h"

namespace melodane::win32 {

namespace {

constexpr int kFirstMenuId = 200;
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT_PTR kTimBgId = 2;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
// Items shown when a list drops down.
constexpr int kDroppedItems = 8;

std::optional<ControlId> ControlIdFrom(int dialog_id) {
  const int index = dialog_id - MainWindow::DialogId(ControlId{});
  if (index < 0 || index >= static_cast<int>(kControlCount)) return std::nullopt;
  return static_cast<ControlId>(index);
}

bool IsF1Alone() {
  return GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

COLORREF ToColorRef(Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

UINT WindowDpi(HWND hwnd) {
  const UINT dpi = GetDpiForWindow(hwnd);
  return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

HFONT MakeFont(std::string_view face, double points, bool bold, UINT dpi) {
  LOGFONTW font{};
  // Rounded down: a font a pixel too tall no longer fits the designed label widths.
  font.lfHeight = -static_cast<LONG>(std::floor(points * dpi / 72.0));
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring name = Widen(face);
  wcsncpy(font.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

// Draws a 32-bit bitmap with premultiplied alpha, scaled to `target`.
void DrawImage(HDC dc, HBITMAP image, const RECT& target) {
  BITMAP info{};
  if (!image || !GetObjectW(image, sizeof info, &info)) return;
  const ScopedDc source(CreateCompatibleDC(dc));
  if (!source) return;
  const SelectedObject selected(source.get(), image);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
             source.get(), 0, 0, info.bmWidth, info.bmHeight, blend);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), vol_(Layout(ControlId::Vol).min, Layout(ControlId::Vol).max) {}

MainWindow::~MainWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> window(new MainWindow(instance));
  if (!window->CreateWindowAndControls()) return nullptr;
  return window;
}

bool MainWindow::CreateWindowAndControls() {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);

  icon_big_.Reset(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_MELODANE), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  icon_small_.Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_MELODANE),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0)));
  logo_cursor_ = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_LOGO));
  logo_.Reset(static_cast<HBITMAP>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDB_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  help_.Reset(static_cast<HBITMAP>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDB_HELP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  face_brush_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  progress_brush_.Reset(CreateSolidBrush(ToColorRef(*Layout(ControlId::cmbProgress).back_color)));
  line_pen_.Reset(CreatePen(PS_SOLID, 1, ToColorRef(*Layout(ControlId::Line1).fore_color)));

  WNDCLASSEXW window_class{sizeof window_class};
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = &MainWindow::WindowProc;
  window_class.hInstance = instance_;
  window_class.hIcon = icon_big_.get();
  window_class.hIconSm = icon_small_.get();
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }

  const std::wstring caption = Widen(kFormLayout.caption);
  hwnd_ =
      CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_.get()));
  dpi_ = WindowDpi(hwnd_);
  CreateFonts();

  // The designed client area, until start-up fits the window to its controls.
  RECT frame{0, 0, Px(kFormLayout.client_width), Px(kFormLayout.client_height)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, instance_, nullptr);

  for (const ControlLayout* control : ControlsInCreationOrder()) {
    const std::wstring text = Widen(control->text);
    DWORD style =
        WS_CHILD | (control->visible ? WS_VISIBLE : 0) | (control->tab_stop ? WS_TABSTOP : 0);
    const wchar_t* window_class_name = L"STATIC";
    switch (control->kind) {
      case ControlKind::kLabel:
        style |= SS_LEFTNOWORDWRAP;
        break;
      case ControlKind::kComboList:
        window_class_name = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        break;
      case ControlKind::kHScrollBar:
        window_class_name = L"SCROLLBAR";
        style |= SBS_HORZ;
        break;
      case ControlKind::kCheckBox:
        window_class_name = L"BUTTON";
        style |= BS_AUTOCHECKBOX;
        break;
      case ControlKind::kPicture:
      case ControlKind::kCommandButton:
        window_class_name = L"BUTTON";
        style |= BS_OWNERDRAW;
        break;
      default:
        break;
    }
    HWND child = CreateWindowExW(
        0, window_class_name, text.c_str(), style, 0, 0, 1, 1, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogId(control->id))), instance_, nullptr);
    if (!child) return false;
    controls_[static_cast<std::size_t>(control->id)] = child;

    if (!control->tool_tip.empty() && tooltip_) {
      std::wstring tip = Widen(control->tool_tip);
      TOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = hwnd_;
      tool.uId = reinterpret_cast<UINT_PTR>(child);
      tool.lpszText = tip.data();
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  devices_.Attach(Control(ControlId::ComDevies));
  sounds_.Attach(Control(ControlId::ComSounds));
  tones_.Attach(Control(ControlId::diao));
  vol_.Attach(Control(ControlId::Vol));
  auto_run_.Attach(Control(ControlId::chkAutoRun));
  tray_.Attach(Control(ControlId::chkTray));
  PlaceControls();

  // The Help menu is never shown as a menu bar; it pops up from the Help picture.
  help_menu_.Reset(CreatePopupMenu());
  for (const MenuItemLayout& item : HelpMenuItems()) {
    const UINT id = kFirstMenuId + static_cast<UINT>(item.id);
    if (item.separator()) {
      AppendMenuW(help_menu_.get(), MF_SEPARATOR, id, nullptr);
    } else {
      std::wstring caption_text = Widen(item.caption);
      if (!item.shortcut.empty()) caption_text += L"\t" + Widen(item.shortcut);
      AppendMenuW(help_menu_.get(), MF_STRING, id, caption_text.c_str());
    }
  }

  SetTimer(hwnd_, kTimer1Id, static_cast<UINT>(Layout(ControlId::Timer1).interval_ms), nullptr);
  SetTimer(hwnd_, kTimBgId, static_cast<UINT>(Layout(ControlId::timBg).interval_ms), nullptr);
  return true;
}

void MainWindow::CreateFonts() {
  font_.Reset(MakeFont(kFormLayout.font_face, kFormLayout.font_points, false, dpi_));
  const ControlLayout& progress = Layout(ControlId::cmbProgress);
  progress_font_.Reset(
      MakeFont(kFormLayout.font_face, progress.font_points, progress.font_bold, dpi_));
}

void MainWindow::PlaceControls() {
  for (const ControlLayout& control : Controls()) {
    HWND child = Control(control.id);
    if (!child) continue;
    const HFONT font = control.font_points > 0 ? progress_font_.get() : font_.get();
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    int height = Px(control.height);
    if (control.kind == ControlKind::kComboList) {
      // The closed field gets the designed height; the rest is the dropped-down list.
      SetWindowPos(child, nullptr, Px(control.left), Px(control.top), Px(control.width), height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      // The closed field is its item height plus a frame whose size differs between
      // systems: measure the frame once, then set the item height that fits.
      const auto field_height = [child] {
        RECT field{};
        GetWindowRect(child, &field);
        return static_cast<int>(field.bottom - field.top);
      };
      constexpr int kProbe = 10;
      SendMessageW(child, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kProbe);
      const int frame = field_height() - kProbe;
      if (height - frame > 0) {
        SendMessageW(child, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
      }
      const LRESULT row = SendMessageW(child, CB_GETITEMHEIGHT, 0, 0);
      height += static_cast<int>(row > 0 ? row : height) * kDroppedItems + 2;
    }
    SetWindowPos(child, nullptr, Px(control.left), Px(control.top), Px(control.width), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int MainWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // F1 is the Product Homepage item's shortcut, as a menu accelerator would take it.
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && IsF1Alone() && form_ && hwnd_ &&
        GetActiveWindow() == hwnd_) {
      form_->menph_Click();
      continue;
    }
    // Tab, the arrow keys and the access keys move between the controls as in a dialog.
    if (hwnd_ && IsDialogMessageW(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* window =
        static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hwnd, message, wparam, lparam);
  return window->Handle(message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_HSCROLL:
      OnHorizontalScroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_TIMER:
      if (form_ && wparam == kTimer1Id) form_->Timer1_Timer();
      if (form_ && wparam == kTimBgId) form_->timBg_Timer();
      return 0;
    case WM_SIZE:
      if (form_) form_->Form_Resize();
      return 0;
    case kNotifyCallbackMessage:
      // The notification icon's mouse message, its code in the low word; a genuine
      // pointer move over the window arrives the same way.
      if (form_) form_->Form_MouseMove(IconMouseAt(LOWORD(lparam)));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_SETCURSOR:
      if (hourglass_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      if (reinterpret_cast<HWND>(wparam) == Control(ControlId::picLogo) && logo_cursor_) {
        SetCursor(logo_cursor_);
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
      }
      return 0;
    case WM_SETFOCUS: {
      HWND target =
          focus_ && IsWindowVisible(focus_) ? focus_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_NEXTDLGCTL: {
      // Sent by the dialog keyboard handling: a label's access key focuses the label,
      // then asks for the next control.
      HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                   : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CLOSE:
      // Closing ends the program; it never just hides the window.
      if (form_) {
        form_->Form_Unload();
      } else {
        EndProgram();
      }
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wparam && form_) form_->Form_Unload();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kTimer1Id);
      KillTimer(hwnd_, kTimBgId);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void MainWindow::OnCommand(int id, int code) {
  if (!form_) return;
  const auto control = ControlIdFrom(id);
  if (!control) return;
  if (code == CBN_SELCHANGE) {
    if (*control == ControlId::ComDevies) form_->ComDevies_Click();
    if (*control == ControlId::ComSounds) form_->ComSounds_Click();
  } else if (code == BN_CLICKED) {
    if (*control == ControlId::picHelp) form_->picHelp_Click();
    if (*control == ControlId::picLogo) form_->picLogo_Click();
  }
}

void MainWindow::OnHorizontalScroll(HWND bar, int request) {
  if (bar != Control(ControlId::Vol)) return;
  const ControlLayout& layout = Layout(ControlId::Vol);
  SCROLLINFO info{sizeof info, SIF_POS | SIF_TRACKPOS};
  GetScrollInfo(bar, SB_CTL, &info);
  int value = info.nPos;
  switch (request) {
    case SB_LINELEFT:
      value -= layout.small_change;
      break;
    case SB_LINERIGHT:
      value += layout.small_change;
      break;
    case SB_PAGELEFT:
      value -= layout.large_change;
      break;
    case SB_PAGERIGHT:
      value += layout.large_change;
      break;
    case SB_LEFT:
      value = layout.min;
      break;
    case SB_RIGHT:
      value = layout.max;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = info.nTrackPos;
      break;
    default:
      return;
  }
  value = std::clamp(value, layout.min, layout.max);
  SetScrollPos(bar, SB_CTL, value, TRUE);
}

void MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  {
    const SelectedObject pen(dc, line_pen_.get());
    for (const ControlLayout& control : Controls()) {
      if (control.kind != ControlKind::kLine) continue;
      MoveToEx(dc, Px(control.left), Px(control.top), nullptr);
      LineTo(dc, Px(control.x2), Px(control.y2));
    }
  }
  EndPaint(hwnd_, &paint);
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
  const auto id = ControlIdFrom(GetDlgCtrlID(control));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  if (id && Layout(*id).fore_color) {
    SetTextColor(dc, ToColorRef(*Layout(*id).fore_color));
  }
  return reinterpret_cast<LRESULT>(face_brush_.get());
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const auto id = ControlIdFrom(static_cast<int>(item.CtlID));
  if (!id) return;
  RECT area = item.rcItem;
  if (*id == ControlId::cmbProgress) {
    FillRect(item.hDC, &area, progress_brush_.get());
    DrawEdge(item.hDC, &area, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const std::wstring text = Widen(Layout(*id).text);
    const SelectedObject font(item.hDC, progress_font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(item.hDC, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else {
    FillRect(item.hDC, &area, face_brush_.get());
    DrawImage(item.hDC, *id == ControlId::picLogo ? logo_.get() : help_.get(), area);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    DrawFocusRect(item.hDC, &area);
  }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  CreateFonts();
  PlaceControls();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Show() { ShowWindow(hwnd_, SW_SHOW); }

void MainWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

WindowState MainWindow::GetWindowState() const {
  if (IsIconic(hwnd_)) return WindowState::kMinimized;
  if (IsZoomed(hwnd_)) return WindowState::kMaximized;
  return WindowState::kNormal;
}

void MainWindow::SetWindowState(WindowState state) {
  switch (state) {
    case WindowState::kNormal:
      if (IsIconic(hwnd_) || IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
      break;
    case WindowState::kMinimized:
      ShowWindow(hwnd_, SW_MINIMIZE);
      break;
    case WindowState::kMaximized:
      ShowWindow(hwnd_, SW_MAXIMIZE);
      break;
  }
}

TwipsRect MainWindow::WindowBounds() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  return {Twips(rect.left), Twips(rect.top), Twips(rect.right - rect.left),
          Twips(rect.bottom - rect.top)};
}

TwipsSize MainWindow::ClientSize() const {
  RECT rect{};
  GetClientRect(hwnd_, &rect);
  return {Twips(rect.right), Twips(rect.bottom)};
}

void MainWindow::SetWindowBounds(const TwipsRect& bounds) {
  SetWindowPos(hwnd_, nullptr, Px(bounds.left), Px(bounds.top), Px(bounds.width), Px(bounds.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipsSize MainWindow::ScreenSize() const {
  return {Twips(GetSystemMetrics(SM_CXSCREEN)), Twips(GetSystemMetrics(SM_CYSCREEN))};
}

void MainWindow::EndProgram() {
  if (ended_) return;
  ended_ = true;
  PostQuitMessage(0);
  if (hwnd_) DestroyWindow(hwnd_);
}

// Nothing of the closing runs: no window message, no destructor, no Form_Unload.
void MainWindow::EndNow() { ExitProcess(0); }

std::optional<MenuId> MainWindow::PopupHelpMenu() {
  POINT at{};
  GetCursorPos(&at);
  // Without it the menu stays open when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  const int chosen = static_cast<int>(
      TrackPopupMenu(help_menu_.get(),
                     TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                     at.x, at.y, 0, hwnd_, nullptr));
  for (const MenuItemLayout& item : HelpMenuItems()) {
    if (!item.separator() && chosen == kFirstMenuId + static_cast<int>(item.id)) return item.id;
  }
  return std::nullopt;
}

void MainWindow::SetMousePointer(int code) {
  hourglass_ = code == kHourglassPointer;
  SetCursor(LoadCursorW(nullptr, hourglass_ ? IDC_WAIT : IDC_ARROW));
}

void MainWindow::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }

void MainWindow::ShowProgress(int left, int top) {
  HWND progress = Control(ControlId::cmbProgress);
  SetWindowPos(progress, HWND_TOP, Px(left), Px(top), 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // Painted now: the check that follows holds the message loop.
  UpdateWindow(progress);
}

void MainWindow::HideProgress() { ShowWindow(Control(ControlId::cmbProgress), SW_HIDE); }

void MainWindow::SetTimBgEnabled(bool enabled) {
  if (enabled) {
    SetTimer(hwnd_, kTimBgId, static_cast<UINT>(Layout(ControlId::timBg).interval_ms), nullptr);
  } else {
    KillTimer(hwnd_, kTimBgId);
  }
}

}  // namespace melodane::win32
