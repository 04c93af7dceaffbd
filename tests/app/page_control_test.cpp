// The page control whose tabs wrap into rows.
#include <QSignalSpy>
#include <QTest>

#include "app/page_control.h"
#include "app_test_support.h"

namespace apptest {
namespace {

class PageControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensureApplication();
    tabs = std::make_unique<vorl::PageControl>(nullptr);
    tabs->resize(200, 150);
    for (const char* caption : {"First", "Second page", "Third page", "Fourth", "Fifth page"})
      pages.push_back(tabs->addPage(QString(caption).remove(' '), caption));
  }
  std::unique_ptr<vorl::PageControl> tabs;
  std::vector<QWidget*> pages;
};

TEST_F(PageControlTest, TabsWrapIntoRowsThatFillTheWidthWithTheCurrentRowNextToThePages) {
  EXPECT_GT(tabs->rowCount(), 1);
  for (QWidget* page : pages) {
    const QRect tab = tabs->tabRect(page);
    EXPECT_GE(tab.left(), 0);
    EXPECT_LE(tab.right(), tabs->width() - 1);
  }
  const int bottomRow = (tabs->rowCount() - 1) * tabs->tabRect(pages[0]).height();
  EXPECT_EQ(tabs->tabRect(pages[0]).top(), bottomRow);
  tabs->setCurrentPage(pages[4]);
  EXPECT_EQ(tabs->tabRect(pages[4]).top(), bottomRow);
  EXPECT_LT(tabs->tabRect(pages[0]).top(), bottomRow);
}

TEST_F(PageControlTest, AClickOnATabMakesItCurrentOnceAndHiddenPagesHaveNoTab) {
  QSignalSpy changes(tabs.get(), &vorl::PageControl::currentChanged);
  QTest::mouseClick(tabs.get(), Qt::LeftButton, {}, tabs->tabRect(pages[2]).center());
  QTest::mouseClick(tabs.get(), Qt::LeftButton, {}, tabs->tabRect(pages[2]).center());
  EXPECT_EQ(tabs->currentPage(), pages[2]);
  EXPECT_EQ(changes.count(), 1);

  tabs->setPageVisible(pages[2], false);
  EXPECT_TRUE(tabs->tabRect(pages[2]).isNull());
  EXPECT_EQ(tabs->currentPage(), pages[0]);
  EXPECT_FALSE(tabs->visibleCaptions().contains("Third page"));
  tabs->setCurrentPage(pages[2]);  // a hidden page cannot be made current
  EXPECT_EQ(tabs->currentPage(), pages[0]);
}

}  // namespace
}  // namespace apptest
