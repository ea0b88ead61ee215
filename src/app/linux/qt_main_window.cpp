#include "app/linux/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "app/linux/picture_box.h"
#include "app/main_form.h"

// Resources linked from a static library are registered by hand, outside any namespace.
static void InitResources() { Q_INIT_RESOURCE(melodane); }

namespace melodane::on_linux {

namespace {

// The class a signal belongs to.
template <typename Class, typename... Arguments>
Class* ClassOf(void (Class::*)(Arguments...));

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// The window is laid out for Tahoma. Where the desktop has none, Wine's metric twin
// from Debian's fonts-wine serves.
void ProvideFormFont() {
  const QString family = Text(kFormLayout.font_face);
  if (QFontDatabase::families().contains(family)) return;
  for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
    const QString path = QStringLiteral("/usr/share/wine/fonts/") + QLatin1String(file);
    if (QFile::exists(path)) QFontDatabase::addApplicationFont(path);
  }
}

QFont FormFont(double points, bool bold) {
  QFont font(Text(kFormLayout.font_face));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace

QtMainWindow::QtMainWindow() {
  InitResources();
  ProvideFormFont();
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(Text(kFormLayout.caption));
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon_.addFile(QStringLiteral(":/images/melodane-%1.png").arg(size), QSize(size, size));
  }
  setWindowIcon(icon_);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    dpi_ = qRound(screen->logicalDotsPerInch());
  }
  setFont(FormFont(kFormLayout.font_points, false));
  resize(Px(kFormLayout.client_width), Px(kFormLayout.client_height));
  CreateControls();

  // The Help menu is never shown as a menu bar; it pops up from the Help picture.
  help_menu_.setTitle(Text(kHelpMenuCaption));
  for (const MenuItemLayout& item : HelpMenuItems()) {
    if (item.separator()) {
      help_menu_.addSeparator();
    } else {
      QAction* action = help_menu_.addAction(Text(item.caption));
      action->setData(static_cast<int>(item.id));
      if (!item.shortcut.empty()) action->setShortcut(QKeySequence(Text(item.shortcut)));
    }
  }
  // The menu's key works while the window is active, with the menu closed.
  for (const MenuItemLayout& item : HelpMenuItems()) {
    if (item.separator() || item.shortcut.empty()) continue;
    auto* shortcut = new QShortcut(QKeySequence(Text(item.shortcut)), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, id = item.id] {
      if (form_ && !ended_) form_->RunMenuItem(id);
    });
  }

  timer1_.setInterval(Layout(ControlId::Timer1).interval_ms);
  tim_bg_.setInterval(Layout(ControlId::timBg).interval_ms);
  connect(&timer1_, &QTimer::timeout, this, [this] {
    if (form_) form_->Timer1_Timer();
  });
  connect(&tim_bg_, &QTimer::timeout, this, [this] {
    if (form_) form_->timBg_Timer();
  });
  timer1_.start();
  tim_bg_.start();
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::CreateControls() {
  QLabel* pending_label = nullptr;
  QWidget* previous_stop = nullptr;
  for (const ControlLayout* control : ControlsInCreationOrder()) {
    QWidget* widget = nullptr;
    switch (control->kind) {
      case ControlKind::kLabel: {
        auto* label = new QLabel(Text(control->text), this);
        if (control->text.find('&') != std::string_view::npos) pending_label = label;
        widget = label;
        break;
      }
      case ControlKind::kComboList: {
        auto* combo = new QComboBox(this);
        combo->setEditable(false);
        combo->setMaxVisibleItems(8);
        widget = combo;
        break;
      }
      case ControlKind::kHScrollBar: {
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setRange(control->min, control->max);
        bar->setSingleStep(control->small_change);
        bar->setPageStep(control->large_change);
        bar->setFocusPolicy(Qt::StrongFocus);
        // Qt's scroll bars swap the arrow keys by default; here Left lowers the volume.
        bar->setInvertedControls(false);
        widget = bar;
        break;
      }
      case ControlKind::kCheckBox:
        widget = new QCheckBox(Text(control->text), this);
        break;
      case ControlKind::kPicture: {
        const bool logo = control->id == ControlId::picLogo;
        auto* picture = new PictureBox(QPixmap(logo ? QStringLiteral(":/images/logo.png")
                                                    : QStringLiteral(":/images/help.png")),
                                       this);
        if (logo) {
          picture->setCursor(QCursor(QPixmap(QStringLiteral(":/images/logo-cursor.png")), 2, 1));
        }
        widget = picture;
        break;
      }
      case ControlKind::kCommandButton: {
        auto* button = new QPushButton(Text(control->text), this);
        button->setFont(FormFont(control->font_points, control->font_bold));
        button->setAutoFillBackground(true);
        button->setFlat(true);
        if (control->back_color) {
          const QColor back = ToColor(*control->back_color);
          // A style sheet's background shows only with a border of its own.
          button->setStyleSheet(
              QStringLiteral("QPushButton { background-color: %1; border: 2px outset %1; }")
                  .arg(back.name()));
        }
        widget = button;
        break;
      }
      default:
        continue;
    }
    widget->setObjectName(Text(control->name));
    int width = Px(control->width);
    // Text renders a little wider here than on Windows: a label may outgrow its box
    // rather than lose its last letter.
    if (control->kind == ControlKind::kLabel) width = std::max(width, widget->sizeHint().width());
    widget->setGeometry(Px(control->left), Px(control->top), width, Px(control->height));
    if (!control->tool_tip.empty()) widget->setToolTip(Text(control->tool_tip));
    if (control->fore_color) {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::WindowText, ToColor(*control->fore_color));
      widget->setPalette(palette);
    }
    if (!control->tab_stop && control->kind != ControlKind::kLabel) {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    if (control->tab_stop) {
      if (pending_label) {
        pending_label->setBuddy(widget);
        pending_label = nullptr;
      }
      if (previous_stop) setTabOrder(previous_stop, widget);
      previous_stop = widget;
    }
    widget->setVisible(control->visible);
    controls_[static_cast<std::size_t>(control->id)] = widget;
  }

  devices_.Attach(static_cast<QComboBox*>(Control(ControlId::ComDevies)));
  sounds_.Attach(static_cast<QComboBox*>(Control(ControlId::ComSounds)));
  tones_.Attach(static_cast<QComboBox*>(Control(ControlId::diao)));
  vol_.Attach(static_cast<QScrollBar*>(Control(ControlId::Vol)));
  auto_run_.Attach(static_cast<QCheckBox*>(Control(ControlId::chkAutoRun)));
  tray_.Attach(static_cast<QCheckBox*>(Control(ControlId::chkTray)));

  // The user's choices; a selection made by code raises nothing.
  const auto forward = [this](ControlId id, auto signal, void (frmPubMain::*handler)()) {
    using Sender = std::remove_pointer_t<decltype(ClassOf(signal))>;
    connect(static_cast<Sender*>(Control(id)), signal, this, [this, handler] {
      if (form_) (form_->*handler)();
    });
  };
  forward(ControlId::ComDevies, &QComboBox::activated, &frmPubMain::ComDevies_Click);
  forward(ControlId::ComSounds, &QComboBox::activated, &frmPubMain::ComSounds_Click);
  forward(ControlId::picHelp, &PictureBox::clicked, &frmPubMain::picHelp_Click);
  forward(ControlId::picLogo, &PictureBox::clicked, &frmPubMain::picLogo_Click);

  // The window is disabled while the progress button shows: its text stays readable.
  QWidget* progress = Control(ControlId::cmbProgress);
  QPalette palette = progress->palette();
  palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                   palette.color(QPalette::Active, QPalette::ButtonText));
  progress->setPalette(palette);
}

void QtMainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const ControlLayout& control : Controls()) {
    if (control.kind != ControlKind::kLine) continue;
    painter.setPen(QPen(ToColor(*control.fore_color), 1));
    painter.drawLine(Px(control.left), Px(control.top), Px(control.x2), Px(control.y2));
  }
}

void QtMainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && form_) form_->Form_Resize();
}

void QtMainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (form_) form_->Form_Resize();
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  // Closing ends the program; it never just hides the window.
  if (form_) {
    form_->Form_Unload();
  } else {
    EndProgram();
  }
  event->accept();
}

// The window takes the visibility asked last once the event at hand has been handled.
// Hiding and showing again within one event (a minimize with no notification area to
// take the icon) then leaves a minimized window as it is: an X window manager would
// take a withdrawn window mapped again at once for one to restore.
void QtMainWindow::Show() {
  wanted_visible_ = true;
  if (!std::exchange(visibility_pending_, true)) {
    QTimer::singleShot(0, this, [this] { ApplyVisibility(); });
  }
}

void QtMainWindow::Hide() {
  wanted_visible_ = false;
  if (!std::exchange(visibility_pending_, true)) {
    QTimer::singleShot(0, this, [this] { ApplyVisibility(); });
  }
}

void QtMainWindow::ApplyVisibility() {
  visibility_pending_ = false;
  if (ended_) return;
  if (!wanted_visible_) {
    hide();
  } else if (windowState() & Qt::WindowMinimized) {
    if (!isVisible()) showMinimized();
  } else {
    show();
    raise();
    activateWindow();
  }
}

WindowState QtMainWindow::GetWindowState() const {
  if (isMinimized()) return WindowState::kMinimized;
  if (isMaximized()) return WindowState::kMaximized;
  return WindowState::kNormal;
}

void QtMainWindow::SetWindowState(WindowState state) {
  Qt::WindowStates states = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == WindowState::kMinimized) states |= Qt::WindowMinimized;
  if (state == WindowState::kMaximized) states |= Qt::WindowMaximized;
  setWindowState(states);
}

TwipsRect QtMainWindow::WindowBounds() const {
  const QRect frame = frameGeometry();
  return {Twips(frame.x()), Twips(frame.y()), Twips(frame.width()), Twips(frame.height())};
}

TwipsSize QtMainWindow::ClientSize() const { return {Twips(width()), Twips(height())}; }

void QtMainWindow::SetWindowBounds(const TwipsRect& bounds) {
  // Qt places the frame and sizes the client area.
  const QRect frame = frameGeometry();
  const int extra_width = frame.width() - width();
  const int extra_height = frame.height() - height();
  move(Px(bounds.left), Px(bounds.top));
  setFixedSize(Px(bounds.width) - extra_width, Px(bounds.height) - extra_height);
}

TwipsSize QtMainWindow::ScreenSize() const {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {Twips(screen->size().width()), Twips(screen->size().height())};
}

void QtMainWindow::EndProgram() {
  if (ended_) return;
  ended_ = true;
  timer1_.stop();
  tim_bg_.stop();
  hide();
  QCoreApplication::exit(0);
}

// No closing step and no further handler: the process ends here. Settings are already
// on disk, and what the system holds for the process it frees.
void QtMainWindow::EndNow() { std::_Exit(0); }

std::optional<MenuId> QtMainWindow::PopupHelpMenu() {
  const QAction* chosen = help_menu_.exec(QCursor::pos());
  if (!chosen || ended_) return std::nullopt;
  return static_cast<MenuId>(chosen->data().toInt());
}

void QtMainWindow::SetMousePointer(int code) {
  if (code == kHourglassPointer) {
    if (!std::exchange(hourglass_, true)) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (std::exchange(hourglass_, false)) {
    QApplication::restoreOverrideCursor();
  }
}

void QtMainWindow::SetEnabled(bool enabled) { setEnabled(enabled); }

void QtMainWindow::ShowProgress(int left, int top) {
  QWidget* progress = Control(ControlId::cmbProgress);
  progress->move(Px(left), Px(top));
  progress->show();
  progress->raise();
  // The fetch that follows holds this thread: the button and the pointer are drawn now.
  QCoreApplication::processEvents();
}

void QtMainWindow::HideProgress() { Control(ControlId::cmbProgress)->hide(); }

void QtMainWindow::SetTimBgEnabled(bool enabled) {
  if (enabled && !ended_) {
    tim_bg_.start();
  } else {
    tim_bg_.stop();
  }
}

}  // namespace melodane::on_linux
