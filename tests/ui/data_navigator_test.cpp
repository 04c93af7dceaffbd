// The navigator over a real unit table: its buttons, their enabling and their actions.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "db_engine/dataset.h"
#include "db_engine/field.h"
#include "ui/data_controls.h"
#include "ui_test_support.h"

namespace {

using Button = ui::NavigatorButton;
using engine::DatasetState;

const std::vector<Button> kAllButtons{Button::First,  Button::Prior, Button::Next, Button::Last,   Button::Insert,
                                      Button::Delete, Button::Edit,  Button::Post, Button::Cancel, Button::Refresh};

class NavigatorTest : public ::testing::Test, public test::UnitsFixture {
 protected:
  bool enabled(Button which) const { return navigator.button(which)->isEnabled(); }
  // Answers the next question box with choice, keeping the box's look for the test to check.
  void answerQuestions(QMessageBox::StandardButton choice) {
    dialogs.answer = [this, choice](QDialog& dialog) {
      auto* box = qobject_cast<QMessageBox*>(&dialog);
      ASSERT_NE(box, nullptr);
      asked.push_back({box->windowTitle(), box->text(), box->standardButtons(), box->standardButton(box->defaultButton()),
                       box->standardButton(box->escapeButton())});
      if (choice != QMessageBox::NoButton) {
        box->button(choice)->click();
      }
    };
  }
  struct Question {
    QString caption, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton, escapeButton;
  };
  std::vector<Question> asked;
  engine::Dataset& units() { return *UnitsFixture::units; }
  test::RecordingDialogs dialogs;
  ui::DataNavigator navigator{nullptr, &source, kAllButtons};
};

TEST_F(NavigatorTest, BrowseButtonsFollowThePosition) {
  EXPECT_FALSE(enabled(Button::First));
  EXPECT_FALSE(enabled(Button::Prior));
  EXPECT_TRUE(enabled(Button::Next));
  EXPECT_TRUE(enabled(Button::Last));
  navigator.click(Button::Next);
  EXPECT_EQ(units().recNo(), 1u);
  EXPECT_TRUE(enabled(Button::First));
  EXPECT_TRUE(enabled(Button::Next));
  navigator.click(Button::Last);
  EXPECT_EQ(units().recNo(), 2u);
  EXPECT_TRUE(enabled(Button::Prior));
  EXPECT_FALSE(enabled(Button::Next));
  EXPECT_FALSE(enabled(Button::Last));
  navigator.click(Button::Next);  // disabled: no effect
  EXPECT_EQ(units().recNo(), 2u);
  navigator.click(Button::First);
  EXPECT_EQ(units().recNo(), 0u);
  EXPECT_FALSE(enabled(Button::Prior));
}

TEST_F(NavigatorTest, EditButtonsFollowTheState) {
  EXPECT_TRUE(enabled(Button::Edit));
  EXPECT_TRUE(enabled(Button::Insert));
  EXPECT_FALSE(enabled(Button::Post));
  EXPECT_FALSE(enabled(Button::Cancel));
  navigator.click(Button::Edit);
  EXPECT_EQ(units().state(), DatasetState::Edit);
  EXPECT_FALSE(enabled(Button::Edit));
  EXPECT_TRUE(enabled(Button::Post));
  EXPECT_TRUE(enabled(Button::Cancel));
  EXPECT_FALSE(enabled(Button::Refresh));
  navigator.click(Button::Cancel);
  EXPECT_EQ(units().state(), DatasetState::Browse);
  EXPECT_TRUE(enabled(Button::Edit));
  EXPECT_FALSE(enabled(Button::Post));
}

TEST_F(NavigatorTest, PostTakesTheFocusedBoxsTextAndDeleteRemovesTheRow) {
  ui::DataEdit name(nullptr, &source, "Name");
  name.selectAll();
  QTest::keyClicks(&name, "Posted");
  navigator.click(Button::Post);
  EXPECT_EQ(units().state(), DatasetState::Browse);
  EXPECT_EQ(units().fieldByName("Name").asString(), "Posted");
  answerQuestions(QMessageBox::Ok);
  navigator.click(Button::Delete);
  EXPECT_EQ(units().recordCount(), 2u);
  EXPECT_EQ(name.text(), "Beta");
}

TEST_F(NavigatorTest, DeleteAsksFirstAndCancelLeavesEverythingAsItWas) {
  units().next();
  ui::DataEdit name(nullptr, &source, "Name");
  name.selectAll();
  QTest::keyClicks(&name, "Pending");
  for (auto choice : {QMessageBox::Cancel, QMessageBox::NoButton}) {  // Cancel, or the box closed
    answerQuestions(choice);
    navigator.click(Button::Delete);
    EXPECT_EQ(units().recordCount(), 3u);
    EXPECT_EQ(units().recNo(), 1u);
    EXPECT_EQ(units().state(), DatasetState::Edit);
    EXPECT_EQ(name.text(), "Pending");
  }
  ASSERT_EQ(asked.size(), 2u);
  const Question& question = asked.front();
  EXPECT_EQ(question.caption, "Confirm");
  EXPECT_EQ(question.text, "Delete record?");
  EXPECT_EQ(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(question.defaultButton, QMessageBox::Cancel);
  EXPECT_EQ(question.escapeButton, QMessageBox::Cancel);
  units().cancel();
  answerQuestions(QMessageBox::Ok);
  navigator.click(Button::Delete);
  EXPECT_EQ(units().recordCount(), 2u);
  EXPECT_EQ(name.text(), "Gamma");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NavigatorTest, AFailingActionShowsTheErrorAndTheProgramGoesOn) {
  navigator.click(Button::Insert);
  units().fieldByName("Code").setAsInteger(1);  // the key of "Alpha"
  navigator.click(Button::Post);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(units().state(), DatasetState::Insert);
  EXPECT_TRUE(enabled(Button::Cancel));
  navigator.click(Button::Cancel);
  EXPECT_EQ(units().recordCount(), 3u);
}

TEST_F(NavigatorTest, EverythingIsDisabledWhileTheDatasetIsClosed) {
  units().close();
  for (Button which : kAllButtons) {
    EXPECT_FALSE(enabled(which));
  }
}

TEST(NavigatorBar, HoldsOnlyTheGivenButtonsInOrderAtEqualWidths) {
  test::UnitsFixture fixture;
  ui::DataNavigator navigator(nullptr, &fixture.source,
                              {Button::First, Button::Prior, Button::Next, Button::Last, Button::Post});
  navigator.resize(365, 18);
  navigator.show();
  EXPECT_EQ(navigator.button(Button::Insert), nullptr);
  int left = 0;
  for (Button which : {Button::First, Button::Prior, Button::Next, Button::Last, Button::Post}) {
    const QRect place = navigator.button(which)->geometry();
    EXPECT_EQ(place.left(), left);
    EXPECT_EQ(place.width(), 73);
    EXPECT_EQ(place.height(), 18);
    EXPECT_FALSE(navigator.button(which)->toolTip().isEmpty());
    left += 73;
  }
}

TEST(NavigatorBar, AReadOnlyDatasetOffersNoEditButtons) {
  test::UnitsFixture fixture(true);
  ui::DataNavigator navigator(nullptr, &fixture.source, kAllButtons);
  for (Button which : {Button::Insert, Button::Delete, Button::Edit, Button::Post, Button::Cancel}) {
    EXPECT_FALSE(navigator.button(which)->isEnabled());
  }
  EXPECT_TRUE(navigator.button(Button::Next)->isEnabled());
  EXPECT_TRUE(navigator.button(Button::Refresh)->isEnabled());
}

}  // namespace
