// The Qt window on the test rig's display, with the window's behaviour attached.
#include "app/linux/qt_main_window.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

#include "app/linux/qt_tray_icon.h"
#include "app/window_contract.h"

namespace melodane::on_linux {
namespace {

struct QtProbe {
  explicit QtProbe(testing::FormRig& rig) {
    form.emplace(window, FormServices{rig.port, rig.settings, rig.keys, rig.random, tray});
    window.Attach(*form);
    form->Form_Load();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  ~QtProbe() {
    window.close();
    QCoreApplication::processEvents();
  }
  int Dpi() const { return window.Dpi(); }
  std::pair<int, int> ClientSize() const { return {window.width(), window.height()}; }
  std::optional<testing::Box> Box(ControlId id) const {
    const QWidget* widget = window.Control(id);
    if (!widget) return std::nullopt;
    const QRect box = widget->geometry();
    return testing::Box{box.x(), box.y(), box.width(), box.height()};
  }
  bool Visible(ControlId id) const { return window.Control(id)->isVisible(); }
  bool TakesTypedText(ControlId id) const {
    return static_cast<QComboBox*>(window.Control(id))->isEditable();
  }
  // The application first: the window needs it. It lives as long as the process.
  static bool Application() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("melodane_tests"), nullptr};
    static const QApplication* app = new QApplication(argc, argv);
    return app;
  }
  bool application = Application();
  QtMainWindow window;
  QtTrayIcon tray{window.Icon(), [this](IconMouse event) { form->Form_MouseMove(event); }};
  std::optional<frmPubMain> form;
};

TEST(QtMainWindow, WithNoNotificationAreaAMinimizedWindowStaysReachable) {
  testing::FormRig rig;
  QtProbe probe(rig);
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "a notification area runs";
  probe.window.showMinimized();
  QCoreApplication::processEvents();  // what the window asked for itself meanwhile
  // The window manager answers in its own time.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return probe.window.isVisible() && probe.window.isMinimized(); }, 3000));
  EXPECT_FALSE(probe.tray.Shown());
}

}  // namespace
}  // namespace melodane::on_linux

namespace melodane::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowContract, on_linux::QtProbe);
}  // namespace melodane::testing
