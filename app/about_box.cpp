#include "app/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/form_builder.h"
#include "app/glyphs.h"
#include "ui/scaling/gt_form.h"

using vorl::place;

namespace {

QLabel* addText(QWidget* parent, const QString& text, const char* name, QRect geometry, Qt::Alignment alignment) {
  auto* label = place(new QLabel(text, parent), name, geometry.left(), geometry.top(), geometry.width(),
                      geometry.height());
  label->setAlignment(alignment);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  QFont font("Arial");
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(327, 232);

  auto* panel = vorl::makePanel(this, "Panel1", {8, 8, 309, 181}, vorl::Bevel::RaisedPanel);
  auto* icon = place(new QLabel(panel), "ProgramIcon", 8, 8, 65, 57);
  icon->setPixmap(vorl::programPicture());
  icon->setScaledContents(true);

  const auto left = Qt::AlignLeft | Qt::AlignVCenter;
  auto* product = addText(panel, "VORL units database", "ProductName", {88, 16, 210, 20}, left);
  QFont productFont = font;
  productFont.setPixelSize(16);
  productFont.setBold(true);
  product->setFont(productFont);
  QFont italic = font;
  italic.setItalic(true);
  addText(panel, "Version 2.0", "Version", {88, 40, 210, 16}, left)->setFont(italic);
  addText(panel, "Copyright \u00A9 Council for Geoscience and SACS", "Copyright", {12, 80, 290, 16}, left)
      ->setFont(italic);
  auto* comments = addText(panel,
                           "Reference database of units defined by the South African Committee for Stratigraphy",
                           "Comments", {36, 112, 228, 28}, Qt::AlignCenter);
  comments->setWordWrap(true);
  addText(panel, "Stratigraphic details extracted from the corporate", "Label1", {4, 146, 301, 14}, Qt::AlignCenter);
  addText(panel, "database of the Council for Geoscience, South Africa", "Label2", {4, 160, 301, 14},
          Qt::AlignCenter);

  auto* ok = place(new QPushButton("OK", this), "OKButton", 119, 196, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* scaling = new ui::GTForm(this);
  scaling->setObjectName("GTForm1");
  scaling->setGTDesignH("600-11");
  scaling->setGTDesignW("800-10");
  scaling->setGTClientHeight(232);
  scaling->setGTClientWidth(327);
}

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* display = screen()) move(display->availableGeometry().center() - rect().center());
}
