// The lookup list over a real country table.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>

#include "db_engine/dataset.h"
#include "db_engine/field.h"
#include "ui/data_controls.h"
#include "ui_test_support.h"

namespace {

class LookupListTest : public ::testing::Test {
 protected:
  LookupListTest() {
    database.addCountries({{"BW", "Botswana"}, {"NA", "Namibia"}, {"ZA", "South Africa"}});
    countries->open();
  }
  std::string currentCountry() const { return countries->fieldByName("CountryID").asString(); }

  test::TestDatabase database;
  std::unique_ptr<engine::Table> countries = database.table("CountryList", "COUNTRY.DB");
  engine::DataSource source{"dsCountryList", countries.get()};
  test::RecordingDialogs dialogs;
  ui::DataLookupList list{nullptr, &source, "CountryID", "CountryName"};
};

TEST_F(LookupListTest, ListsTheRowsAndStandsOnTheCurrentOne) {
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.itemText(2), "South Africa");
  EXPECT_EQ(list.currentText(), "Botswana");
  countries->last();
  EXPECT_EQ(list.currentText(), "South Africa");
  EXPECT_EQ(list.keyValue(), "ZA");
}

TEST_F(LookupListTest, ChoosingAnEntryMovesTheListSource) {
  list.setCurrentIndex(1);
  EXPECT_EQ(currentCountry(), "NA");
  EXPECT_EQ(list.keyValue(), "NA");
}

TEST_F(LookupListTest, SetKeyValueFindsTheKeyOrFallsBackToTheFirstRow) {
  list.setKeyValue("ZA");
  EXPECT_EQ(currentCountry(), "ZA");
  EXPECT_EQ(list.currentText(), "South Africa");
  list.setKeyValue("XX");
  EXPECT_EQ(currentCountry(), "BW");
  EXPECT_EQ(list.currentText(), "Botswana");
}

TEST_F(LookupListTest, FollowsRowsAddedAndEditedInTheListSource) {
  countries->append();
  countries->fieldByName("CountryID").setAsString("LS");
  countries->fieldByName("CountryName").setAsString("Lesotho");
  countries->post();
  ASSERT_EQ(list.count(), 4);
  EXPECT_EQ(list.currentText(), "Lesotho");
  countries->first();
  countries->edit();
  countries->fieldByName("CountryName").setAsString("Republic of Botswana");
  countries->post();
  EXPECT_EQ(list.itemText(0), "Republic of Botswana");
  countries->close();
  EXPECT_EQ(list.count(), 0);
}

TEST_F(LookupListTest, CloseUpComesAfterThePopupChoiceMovedTheListSource) {
  std::vector<std::string> atCloseUp;
  QObject::connect(&list, &ui::DataLookupList::closeUp, [&] { atCloseUp.push_back(currentCountry()); });
  list.show();
  list.showPopup();
  QAbstractItemView* popup = list.view();
  const QRect namibia = popup->visualRect(popup->model()->index(1, 0));
  QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, namibia.center());
  ASSERT_EQ(atCloseUp.size(), 1u);
  EXPECT_EQ(atCloseUp[0], "NA");
  QCoreApplication::processEvents();
  EXPECT_EQ(atCloseUp.size(), 1u) << "one closing, one closeUp";
  list.showPopup();
  list.hidePopup();  // closed without a choice
  QCoreApplication::processEvents();
  ASSERT_EQ(atCloseUp.size(), 2u);
  EXPECT_EQ(atCloseUp[1], "NA");
}

}  // namespace
