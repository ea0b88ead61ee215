// The Qt window on the test rig's display, with the window's behaviour attached.
#include "app/linux/qt_main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/linux/qt_tray_icon.h"
#include "app/main_form.h"
#include "fakes/memory_settings.h"
#include "fakes/recording_midi_out.h"
#include "fakes/scripted_input.h"

namespace melodane::on_linux {
namespace {

using ::testing::ElementsAre;

QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "melodane_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class QtMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test rig gives one)";
    QtApp();
    out.devices = {{"Synth A"}};
    window.emplace();
    tray.emplace(window->Icon(), [this](int code) { form->Form_MouseMove(code); });
    form.emplace(*window, FormServices{port, settings, keys, random, *tray});
    window->Attach(*form);
  }
  void TearDown() override {
    if (window) window->close();
    QCoreApplication::processEvents();
  }

  template <typename T>
  T* Widget(ControlId id) {
    return static_cast<T*>(window->Control(id));
  }
  // Start-up, then the event loop, which shows the window.
  void Load() {
    form->Form_Load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&*window));
  }

  testing::RecordingMidiOut out;
  mdlPubSelf port{out};
  testing::MemorySettings settings;
  testing::ScriptedKeys keys;
  testing::ScriptedRandom random;
  std::optional<QtMainWindow> window;
  std::optional<QtTrayIcon> tray;
  std::optional<frmPubMain> form;
};

TEST_F(QtMainWindowTest, EveryControlSitsAtItsTwipsConvertedAtTheScreensDpi) {
  const int dpi = window->Dpi();
  for (const ControlLayout& control : Controls()) {
    QWidget* widget = window->Control(control.id);
    ASSERT_EQ(widget != nullptr, IsWindowed(control.kind)) << control.name;
    if (!widget) continue;
    const QRect box = widget->geometry();
    EXPECT_EQ(box.x(), TwipsToPixels(control.left, dpi)) << control.name;
    EXPECT_EQ(box.y(), TwipsToPixels(control.top, dpi)) << control.name;
    EXPECT_EQ(box.height(), TwipsToPixels(control.height, dpi)) << control.name;
    if (control.kind == ControlKind::kLabel) {
      EXPECT_GE(box.width(), TwipsToPixels(control.width, dpi)) << control.name;
    } else {
      EXPECT_EQ(box.width(), TwipsToPixels(control.width, dpi)) << control.name;
    }
    EXPECT_EQ(widget->isVisibleTo(&*window), control.visible) << control.name;
  }
}

TEST_F(QtMainWindowTest, StartUpFitsAndPlacesTheWindowThenShowsIt) {
  Load();
  const int dpi = window->Dpi();
  EXPECT_EQ(window->width(), TwipsToPixels(6840, dpi));
  EXPECT_EQ(window->height(), TwipsToPixels(3796, dpi));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Widget<QComboBox>(ControlId::ComSounds)->count(), 128);
  EXPECT_EQ(Widget<QComboBox>(ControlId::ComSounds)->itemText(87), "Bass&Lead");
  EXPECT_EQ(Widget<QComboBox>(ControlId::diao)->count(), 12);
  EXPECT_EQ(Widget<QScrollBar>(ControlId::Vol)->value(), 100);
  for (ControlId list : {ControlId::ComDevies, ControlId::ComSounds, ControlId::diao}) {
    EXPECT_FALSE(Widget<QComboBox>(list)->isEditable());
  }
}

TEST_F(QtMainWindowTest, TheFocusFollowsTheDesignedOrder) {
  Load();
  std::vector<std::string> order;
  QWidget* start = window->Control(ControlId::ComDevies);
  QWidget* widget = start;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() &&
        widget->parentWidget() == &*window) {
      order.push_back(widget->objectName().toStdString());
    }
    widget = widget->nextInFocusChain();
  } while (widget != start && order.size() < 20);
  EXPECT_THAT(order, ElementsAre("ComDevies", "ComSounds", "Vol", "diao", "chkAutoRun", "chkTray",
                                 "picHelp", "picLogo"));
}

TEST_F(QtMainWindowTest, AccessKeysMoveTheFocusAndToggleTheOptions) {
  Load();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&*window));
  const std::pair<Qt::Key, ControlId> moves[] = {{Qt::Key_I, ControlId::ComSounds},
                                                 {Qt::Key_V, ControlId::Vol},
                                                 {Qt::Key_T, ControlId::diao},
                                                 {Qt::Key_D, ControlId::ComDevies}};
  for (const auto& [key, control] : moves) {
    QTest::keyClick(&*window, key, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->Control(control)) << key;
  }
  // The volume bar, once it has the focus, moves with the arrow keys.
  QTest::keyClick(&*window, Qt::Key_V, Qt::AltModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  EXPECT_EQ(window->Vol().Value(), 99);
  // A check box's access key clicks it after a short animation.
  QTest::keyClick(&*window, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->chkAutoRun().Checked(); }, 2000));
  QTest::keyClick(&*window, Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->chkTray().Checked(); }, 2000));
}

TEST_F(QtMainWindowTest, TheVolumeMovesByOneAndStopsAtItsEnds) {
  auto* bar = Widget<QScrollBar>(ControlId::Vol);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->singleStep(), 1);
  EXPECT_EQ(bar->pageStep(), 1);
  EXPECT_FALSE(window->Vol().SetValue(101));
  EXPECT_FALSE(window->Vol().SetValue(-1));
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(QtMainWindowTest, TheHelpMenuHasNineItemsAndNoMenuBarShows) {
  const auto actions = window->HelpMenu().actions();
  ASSERT_EQ(actions.size(), 9);
  EXPECT_EQ(actions[0]->text(), "Product Homepage");
  EXPECT_EQ(actions[0]->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_TRUE(actions[6]->isSeparator());
  EXPECT_EQ(actions[8]->text(), "Find Us on Twitter");
  EXPECT_FALSE(window->HelpMenu().isVisible());
}

TEST_F(QtMainWindowTest, TheKeyTimerRunsFromCreationEvery50Milliseconds) {
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return keys.ticks >= 5; }, 5000));
  EXPECT_GE(clock.elapsed(), 200) << "five ticks take four intervals at least";
}

TEST_F(QtMainWindowTest, WithNoNotificationAreaMinimizingKeepsTheWindowReachable) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "a notification area runs";
  Load();
  window->showMinimized();
  // The window manager answers in its own time.
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible() && window->isMinimized(); }, 3000));
  EXPECT_FALSE(tray->Shown());
}

TEST_F(QtMainWindowTest, ClosingTheWindowStoresTheSettingsAndEnds) {
  Load();
  window->close();
  EXPECT_EQ(settings.writes.size(), 6u);
  EXPECT_FALSE(window->isVisible());
  window->close();  // a second close changes nothing
  EXPECT_EQ(settings.writes.size(), 6u);
}

}  // namespace
}  // namespace melodane::on_linux
