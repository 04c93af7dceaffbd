// The main window and the About box under the form scaling component: where the main window's
// frame stands, the fit to the screen, the navigator minimum, and the window still usable when
// scaled up and maximized.
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "app/about_box.h"
#include "app/page_control.h"
#include "app_test_support.h"
#include "ui/data_controls.h"
#include "ui/scaling/form_controls.h"
#include "ui/scaling/gt_form.h"
#include "ui/scaling/screen_metrics.h"

namespace apptest {
namespace {

class FakeScreen : public ui::ScreenMetrics {
 public:
  QSize screenSize() const override { return size; }
  QSize size{1024, 768};
};

class WindowScalingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ui::setScreenMetrics(&screen);
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    ui::setScreenMetrics(nullptr);
  }
  void start() {
    createProgram();
    showWindow();
    QApplication::processEvents();
  }
  QSize clientSize() const { return window->size() - QSize(0, window->menuBar()->height()); }
  // As the window system resizes the window when the user drags its border.
  void userResize(QSize client) {
    window->windowHandle()->resize(client + QSize(0, window->menuBar()->height()));
    QApplication::processEvents();
    QApplication::processEvents();
  }
  void setState(Qt::WindowState state) {
    window->setWindowState(state);
    QApplication::processEvents();
    QApplication::processEvents();
  }
  ui::DataNavigator* lastNavigator() const {
    ui::DataNavigator* last = nullptr;
    for (QWidget* control : ui::ownedControls(window.get()))
      if (auto* navigator = qobject_cast<ui::DataNavigator*>(control)) last = navigator;
    return last;
  }
  // Types into the find box, clicks a tab and a row of the sub-unit grid, as a user would.
  void useTheWindow() {
    auto* find = this->find<QLineEdit>("eLocate");
    find->clear();
    QTest::keyClicks(find, "Mb");
    EXPECT_EQ(currentCode(), unit::Mbizane);
    find->clear();
    QTest::keyClicks(find, "Karoo");
    ASSERT_EQ(currentCode(), unit::Karoo);
    showTab("tsArea");
    EXPECT_EQ(outerTabs().currentPage()->objectName(), "tsArea");
    showTab("tsUnits");
    auto* grid = this->find<ui::DataGrid>("dbgSubUnit");
    const QRect second = grid->visualRect(grid->model()->index(1, 0));
    ASSERT_TRUE(grid->viewport()->rect().contains(second.center()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(dmVORL->VORLList2.recNo(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
  }

  FakeScreen screen;
};

TEST_F(WindowScalingTest, TheMainWindowsFrameStandsAtTheDesignPosition) {
  start();
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(10, 3)) << "the title bar must be on the screen";
  EXPECT_NE(window->geometry().topLeft(), window->frameGeometry().topLeft()) << "the platform draws a frame";
}

TEST_F(WindowScalingTest, OnALargerScreenTheMainWindowKeepsItsSizeAndTheAboutBoxWidensItsMargins) {
  start();
  EXPECT_EQ(clientSize(), QSize(695, 511));
  TAboutBox about(window.get());
  about.show();
  QApplication::processEvents();
  EXPECT_EQ(about.size(), QSize(327 + 3, 232 + 3));  // margins 10 and 11 become 13 and 14
  EXPECT_EQ(about.findChild<QWidget*>("OKButton")->geometry(), QRect(119, 196, 75, 25));
}

TEST_F(WindowScalingTest, TheMainWindowStopsWhereItsLastNavigatorWouldGrowNarrowerThan191) {
  start();
  const int designWidth = std::max(lastNavigator()->width(), 241);
  userResize({150, 511});
  EXPECT_NEAR(clientSize().width(), 191.0 * 695 / designWidth, 1);  // and not the 150 asked for
}

TEST_F(WindowScalingTest, TheScaledMainWindowIsUsableAtHalfAsLargeAgainAndMaximized) {
  start();
  userResize({1043, 511});  // widened by half: the height follows
  EXPECT_EQ(clientSize(), QSize(1043, 767));
  EXPECT_EQ(ui::fontHeight(window->font()), 17);  // 11 x 767 / 511 = 16.5
  useTheWindow();

  setState(Qt::WindowMaximized);  // on the test platform's screen, 800 by 800
  EXPECT_EQ(window->size(), window->screen()->availableSize() - QSize(4, 4));
  EXPECT_GT(ui::fontHeight(window->font()), 11);
  useTheWindow();
  setState(Qt::WindowNoState);
  EXPECT_EQ(clientSize(), QSize(1043, 767));
  EXPECT_EQ(ui::fontHeight(window->font()), 17);
}

}  // namespace
}  // namespace apptest
