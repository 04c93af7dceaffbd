// The form scaling component on small windows: the fit to the screen at creation, resizing with
// the aspect ratio kept, font scaling, the small-window and minimum-size rules, the snapshot,
// label attachment, maximizing, a screen change, and the window's own handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <memory>
#include <stdexcept>

#include "ui/scaling/form_controls.h"
#include "ui/scaling/form_events.h"
#include "ui/scaling/gt_form.h"
#include "ui/scaling/screen_metrics.h"
#include "ui_test_support.h"

namespace {

class FakeScreen : public ui::ScreenMetrics {
 public:
  QSize screenSize() const override { return size; }
  QSize size{800, 600};
};

QFont arial(int pixels) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  return font;
}

// An About-like window laid out on an 800 by 600 screen: a panel holding a label above its edit,
// a label beside a second edit and a label tagged to keep its font; a button below the panel.
// Its controls reach 317 by 221; the blank margin is 10 to the right and 11 below.
struct TestWindow {
  explicit TestWindow(ui::FormHandlers handlers = {}) {
    window->setFont(arial(11));
    panel = new QFrame(window.get());
    panel->setGeometry(8, 8, 309, 181);
    above = new QLabel("Name", panel);
    above->setFont(arial(11));
    above->setGeometry(12, 30, 60, 14);
    edit = new QLineEdit(panel);
    edit->setGeometry(12, 52, 200, 21);  // 8 below the label: the attachment makes it 5
    above->setBuddy(edit);
    beside = new QLabel("Code", panel);
    beside->setGeometry(12, 100, 40, 14);
    code = new QLineEdit(panel);
    code->setGeometry(70, 98, 100, 21);
    beside->setBuddy(code);
    kept = new QLabel("Kept", panel);
    kept->setFont(arial(16));
    kept->setProperty(ui::kTagProperty, 1);
    kept->setGeometry(12, 140, 80, 20);
    button = new QPushButton("OK", window.get());
    button->setGeometry(119, 196, 75, 25);
    if (handlers.OnShow || handlers.OnClose || handlers.OnDestroy) new ui::FormEvents(window.get(), std::move(handlers));
    form = new ui::GTForm(window.get());
    form->setGTDesignH("600-11");
    form->setGTDesignW("800-10");
    form->setGTClientHeight(232);
    form->setGTClientWidth(327);
  }
  ~TestWindow() {
    if (window) ui::sendDestroyEvent(window.get());
  }

  void show() {
    window->show();
    QApplication::processEvents();
  }
  // As the window system resizes a window when the user drags its border.
  void userResize(QSize size) {
    window->windowHandle()->resize(size);
    QApplication::processEvents();
    QApplication::processEvents();
  }
  QRect inWindow(const QWidget* control) const {
    return control->geometry().translated(control->parentWidget()->mapTo(window.get(), QPoint()));
  }

  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  ui::GTForm* form;
  QFrame* panel;
  QLabel* above;
  QLineEdit* edit;
  QLabel* beside;
  QLineEdit* code;
  QLabel* kept;
  QPushButton* button;
};

class FormScalingTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::setScreenMetrics(&screen); }
  void TearDown() override { ui::setScreenMetrics(nullptr); }
  FakeScreen screen;
};

TEST_F(FormScalingTest, TheCreationFitWidensTheMarginsInProportionToTheScreen) {
  {
    TestWindow design;
    design.show();
    EXPECT_EQ(design.window->size(), QSize(327, 232));
    EXPECT_EQ(design.form->snapshotClientSize(), QSize(327, 232));
  }
  screen.size = {1024, 768};
  TestWindow larger;
  larger.show();
  // 10 x 1024 / 800 = 12.8 and 11 x 768 / 600 = 14.08 beyond the controls' extent of 317 by 221.
  EXPECT_EQ(larger.window->size(), QSize(317 + 13, 221 + 14));
  EXPECT_EQ(larger.button->geometry(), QRect(119, 196, 75, 25));
}

TEST_F(FormScalingTest, TheOtherSideFollowsAtTheSnapshotsAspectRatio) {
  TestWindow test;
  test.show();
  test.userResize({490, 232});  // widened by the mouse
  EXPECT_EQ(test.window->size(), QSize(490, 348));  // 490 x 232 / 327 = 347.6
  test.userResize({490, 464});  // only the height changed
  EXPECT_EQ(test.window->size(), QSize(654, 464));  // 464 x 327 / 232 = 654
  const QRect button = test.button->geometry();  // twice its design bounds, give or take rounding
  EXPECT_NEAR(button.left(), 2 * 119, 1);
  EXPECT_NEAR(button.top(), 2 * 196, 1);
  EXPECT_NEAR(button.width(), 2 * 75, 1);
  EXPECT_NEAR(button.height(), 2 * 25, 1);
}

TEST_F(FormScalingTest, DoublingTheHeightDoublesOwnFontsButNotTheTaggedOne) {
  TestWindow test;
  test.show();
  test.userResize({327, 464});
  ASSERT_EQ(test.window->size(), QSize(654, 464));
  EXPECT_EQ(ui::fontHeight(test.window->font()), 22);
  EXPECT_EQ(ui::fontHeight(test.above->font()), 22);
  EXPECT_EQ(ui::fontHeight(test.kept->font()), 16);  // tagged with IgnoreTag
  EXPECT_TRUE(ui::takesParentFont(test.button));  // grows with the window's font, not by its own
  EXPECT_EQ(ui::fontHeight(test.button->font()), 22);
}

TEST_F(FormScalingTest, UnderAHundredPixelsHighNothingScalesAndTheWindowGrowsBack) {
  TestWindow test;
  test.show();
  test.userResize({327, 90});  // above a quarter of the height, so no minimum is hit
  EXPECT_EQ(test.window->size(), QSize(327, 232));
  EXPECT_EQ(test.button->geometry(), QRect(119, 196, 75, 25));
  EXPECT_EQ(ui::fontHeight(test.window->font()), 11);
}

TEST_F(FormScalingTest, AWindowWithoutNavigatorsStopsAtAQuarterAndAThirdBringsTheSnapshotBack) {
  TestWindow test;
  test.show();
  test.userResize({40, 232});
  EXPECT_EQ(test.window->width(), 82);  // a quarter of 327
  EXPECT_GE(test.window->height(), 58);
  test.userResize({81, 58});  // the layout now scales from a third of the snapshot or less
  EXPECT_EQ(test.window->size(), QSize(327, 232));
  EXPECT_EQ(test.button->geometry(), QRect(119, 196, 75, 25));
  EXPECT_EQ(test.edit->geometry().topLeft(), QPoint(12, 52));
  EXPECT_EQ(ui::fontHeight(test.above->font()), 11);
}

TEST_F(FormScalingTest, ALabelStaysFivePixelsAboveOrBesideItsControl) {
  TestWindow test;
  test.show();
  for (QSize size : {QSize(490, 232), QSize(400, 400), QSize(350, 232)}) {
    test.userResize(size);
    const QRect above = test.inWindow(test.above), edit = test.inWindow(test.edit);
    EXPECT_EQ(above.top() + above.height(), edit.top() - 5) << size.width();
    const QRect beside = test.inWindow(test.beside), code = test.inWindow(test.code);
    EXPECT_EQ(beside.left() + beside.width(), code.left() - 5) << size.width();
  }
}

TEST_F(FormScalingTest, MaximizingScalesToTheScreenAndRestoringReturns) {
  TestWindow test;
  test.show();
  test.window->setWindowState(Qt::WindowMaximized);
  QApplication::processEvents();
  QApplication::processEvents();
  const QSize maximized = test.window->size();
  ASSERT_GT(maximized.width(), 500);
  EXPECT_EQ(test.button->x(), qRound(119.0 * maximized.width() / 327));
  EXPECT_GT(ui::fontHeight(test.window->font()), 20);

  test.window->setWindowState(Qt::WindowNoState);
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_EQ(test.window->size(), QSize(327, 232));
  EXPECT_NEAR(test.button->x(), 119, 1);
  EXPECT_NEAR(test.button->width(), 75, 1);
  EXPECT_EQ(ui::fontHeight(test.window->font()), 11);
}

TEST_F(FormScalingTest, AScreenChangeLaysTheWindowOutAtItsSnapshotAgain) {
  TestWindow test;
  test.show();
  test.userResize({490, 232});
  ASSERT_EQ(test.window->size(), QSize(490, 348));
  screen.size = {1024, 768};
  test.userResize({500, 355});
  EXPECT_EQ(test.window->size(), QSize(327, 232));
  EXPECT_NEAR(test.button->x(), 119, 1);
  EXPECT_EQ(ui::fontHeight(test.window->font()), 11);
  test.userResize({490, 232});  // the new screen is now the one seen: resizing scales again
  EXPECT_EQ(test.window->size(), QSize(490, 348));
}

TEST_F(FormScalingTest, TheWindowsOwnHandlersRunOnceEachInOrderAndComeBackAfterTheComponent) {
  QStringList calls;
  ui::FormHandlers handlers;
  QObject* sender = nullptr;
  handlers.OnShow = [&](QObject* from) {
    sender = from;
    calls << "show";
  };
  handlers.OnClose = [&](QObject*, QCloseEvent*) { calls << "close"; };
  handlers.OnDestroy = [&](QObject*) { calls << "destroy"; };
  {
    TestWindow test(handlers);
    EXPECT_TRUE(test.form->GTOnShow) << "taken over from the window";
    EXPECT_EQ(ui::FormEvents::of(test.window.get()), nullptr);
    test.show();
    EXPECT_EQ(sender, test.window.get());
    test.window->close();
  }
  EXPECT_EQ(calls.join(' '), "show close destroy");

  calls.clear();
  TestWindow handedBack(handlers);
  delete handedBack.form;
  ASSERT_NE(ui::FormEvents::of(handedBack.window.get()), nullptr);
  handedBack.show();
  handedBack.window->close();
  EXPECT_EQ(calls.join(' '), "show close");
}

TEST_F(FormScalingTest, DrawingIsLockedWithTheWaitCursorDuringAResizeAndReleasedAfterAFailure) {
  test::RecordingDialogs dialogs;
  TestWindow test;
  test.show();
  bool locked = false, waiting = false;
  test.form->GTOnResize = [&](QObject*) {
    locked = !test.window->updatesEnabled();
    waiting = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    throw std::runtime_error("resize handler failed");
  };
  test.userResize({490, 232});
  EXPECT_TRUE(locked);
  EXPECT_TRUE(waiting);
  EXPECT_EQ(dialogs.messages.size(), 2u) << "one failure for each of the step's two Apply steps";
  EXPECT_TRUE(test.window->updatesEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  test.form->GTOnResize = nullptr;
  test.userResize({490, 500});  // the guard is free again: the width still follows
  EXPECT_EQ(test.window->size(), QSize(705, 500));
}

TEST_F(FormScalingTest, DesignStringsAreTakenOnlyWhileEmptyAndCutToFifteenCharacters) {
  QWidget window;
  ui::GTForm form(&window);
  form.setGTDesignW("1234567890123456789-1");
  form.setGTDesignW("800-10");
  EXPECT_EQ(form.GTDesignW(), "123456789012345");
  EXPECT_EQ(form.IgnoreTag, 1);
  EXPECT_FALSE(form.Enabled());
}

}  // namespace
