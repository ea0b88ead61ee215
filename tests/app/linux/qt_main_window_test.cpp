// The Qt window on the test rig's display, with the window's behaviour attached, and
// what ends the Qt program.
#include "app/linux/qt_main_window.h"

#include <fcntl.h>
#include <private/qguiapplication_p.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <csignal>

#include "app/linux/qt_tray_icon.h"
#include "app/linux/stop_requests.h"
#include "app/window_contract.h"

namespace melodane::on_linux {
namespace {

// The application first: windows need it. It lives as long as the process.
bool QtApplication() {
  static int argc = 1;
  static char* argv[] = {const_cast<char*>("melodane_tests"), nullptr};
  static const QApplication* app = new QApplication(argc, argv);
  return app;
}

struct QtProbe {
  explicit QtProbe(testing::FormRig& rig) {
    form.emplace(window, rig.Services(tray));
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
  bool application = QtApplication();  // first: the window needs it
  QtMainWindow window;
  QtTrayIcon tray{window.Icon(), [this](IconMouse event) { form->Form_MouseMove(event); }};
  std::optional<frmPubMain> form;
};

TEST(StopRequestsTest, SignalsAndTheSessionsEndStopTheProgramButACheckpointDoesNot) {
  ASSERT_TRUE(QtApplication());
  int stops = 0;
  StopRequests requests([&stops] { ++stops; });
  for (int end : {requests.ReadEnd(), requests.WriteEnd()}) {
    EXPECT_TRUE(fcntl(end, F_GETFL) & O_NONBLOCK) << "a handler never waits";
    EXPECT_TRUE(fcntl(end, F_GETFD) & FD_CLOEXEC) << "no program it starts inherits it";
  }
  QGuiApplicationPrivate::instance()->commitData();  // the session is saved, and goes on
  QCoreApplication::processEvents();
  EXPECT_EQ(stops, 0);
  std::raise(SIGHUP);  // as SIGTERM and SIGINT
  EXPECT_TRUE(QTest::qWaitFor([&] { return stops == 1; }, 3000));
  // The session manager's last word reaches the application as a request to quit.
  QTimer::singleShot(0, [] {
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
  });
  QCoreApplication::exec();
  EXPECT_EQ(stops, 2);
}

}  // namespace
}  // namespace melodane::on_linux

namespace melodane::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowContract, on_linux::QtProbe);
}  // namespace melodane::testing
