#include "report_engine/report_preview_form.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "report_engine/page_output.h"
#include "report_engine/report_form_support.h"
#include "report_engine/report_glyphs.h"
#include "report_engine/report_system.h"
#include "ui/handler_guard.h"

namespace reporting {
namespace {

constexpr int kToolBarHeight = 41;
constexpr int kPageMargin = 10;  // grey border round the page in the scroll area
constexpr double kMinimumZoom = 10;
constexpr double kMaximumZoom = 200;

}  // namespace

// The page at the zoom: white paper on the scroll area's grey, drawn afresh on each paint.
class TReportPreviewForm::PageView : public QWidget {
 public:
  PageView(const TReportPreviewForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("PageView"));
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::darkGray);
    if (form_.pageCount() == 0) return;
    const QRect paper(kPageMargin, kPageMargin, width() - 2 * kPageMargin, height() - 2 * kPageMargin);
    painter.fillRect(paper, Qt::white);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawPage(painter, form_.document_, form_.page_ - 1, form_.pixelsPerMillimetreAt(form_.zoom_));
  }

 private:
  const TReportPreviewForm& form_;
};

TReportPreviewForm::TReportPreviewForm(TReportSystem& system, const ReportDocument& document, QWidget* parent)
    : QDialog(parent), system_(system), document_(document), zoom_(system.SystemPreview.ZoomFactor) {
  setObjectName(QStringLiteral("ReportPreviewForm"));
  setWindowTitle(system.TitlePreview);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setFont(designFont(QStringLiteral("Arial"), 10));
  resize(system.SystemPreview.FormWidth, system.SystemPreview.FormHeight);
  if (system.SystemPreview.FormState == FormState::wsMaximized) setWindowState(Qt::WindowMaximized);
  if (system.SystemPreview.FormState == FormState::wsMinimized) setWindowState(Qt::WindowMinimized);

  ToolBar = place(new QWidget(this), "ToolBar", 0, 0, width(), kToolBarHeight);
  struct Button {
    QToolButton** control;
    const char* name;
    const char* hint;
    int left;
    PreviewGlyph glyph;
  };
  const Button buttons[] = {
      {&SBZoomIn, "SBZoomIn", "Zoom In", 8, PreviewGlyph::ZoomIn},
      {&SBZoomOut, "SBZoomOut", "Zoom Out", 32, PreviewGlyph::ZoomOut},
      {&SBZoomPageWidth, "SBZoomPageWidth", "Zoom Page Width", 56, PreviewGlyph::ZoomPageWidth},
      {&SBZoomPage, "SBZoomPage", "Zoom Whole Page", 80, PreviewGlyph::ZoomPage},
      {&SBPrevPage, "SBPrevPage", "Prev Page", 104, PreviewGlyph::PrevPage},
      {&SBNextPage, "SBNextPage", "Next Page", 128, PreviewGlyph::NextPage},
      {&SBPrint, "SBPrint", "Print", 152, PreviewGlyph::Print},
      {&SBDone, "SBDone", "Done", 176, PreviewGlyph::Done},
  };
  for (const Button& button : buttons) {
    auto* control = place(new QToolButton(ToolBar), button.name, button.left, 8, 25, 25);
    control->setToolTip(QString::fromLatin1(button.hint));
    control->setIcon(previewGlyph(button.glyph));
    control->setAutoRaise(true);
    control->setFocusPolicy(Qt::NoFocus);  // the edits keep the focus, as speed buttons do
    *button.control = control;
  }
  Label1 = place(new QLabel(QStringLiteral("Zoom %"), ToolBar), "Label1", 209, 12, 49, 17);
  ZoomEdit = place(new QLineEdit(ToolBar), "ZoomEdit", 260, 10, 57, 21);
  Label2 = place(new QLabel(QStringLiteral("Page #"), ToolBar), "Label2", 326, 12, 44, 17);
  PageEdit = place(new QLineEdit(ToolBar), "PageEdit", 372, 10, 49, 21);
  PageLabel = place(new QLabel(QStringLiteral("Page 1 of 1"), ToolBar), "PageLabel", 431, 12, 170, 17);

  ScrollBox = place(new QScrollArea(this), "ScrollBox", 0, kToolBarHeight, width(), height() - kToolBarHeight);
  ScrollBox->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  ScrollBox->setBackgroundRole(QPalette::Dark);
  ScrollBox->setFocusPolicy(Qt::StrongFocus);
  view_ = new PageView(*this, ScrollBox);
  ScrollBox->setWidget(view_);

  for (QObject* watched : {static_cast<QObject*>(ZoomEdit), static_cast<QObject*>(PageEdit),
                           static_cast<QObject*>(ScrollBox), static_cast<QObject*>(ScrollBox->viewport())}) {
    watched->installEventFilter(this);
  }

  const auto guard = [this](auto handler) { return [this, handler] { ui::guarded(this, handler); }; };
  const double zoomStep = system.SystemPreview.ZoomInc;
  const int pageStep = system.SystemPreview.PageInc;
  connect(SBZoomIn, &QToolButton::clicked, this, guard([this, zoomStep] { setZoom(zoom_ + zoomStep); }));
  connect(SBZoomOut, &QToolButton::clicked, this,
          guard([this, zoomStep] { setZoom(zoom_ - zoomStep); }));
  connect(SBZoomPageWidth, &QToolButton::clicked, this, guard([this] { zoomPageWidth(); }));
  connect(SBZoomPage, &QToolButton::clicked, this, guard([this] { zoomWholePage(); }));
  connect(SBPrevPage, &QToolButton::clicked, this, guard([this, pageStep] {
            if (page_ > 1) goToPage(page_ - pageStep);
          }));
  connect(SBNextPage, &QToolButton::clicked, this, guard([this, pageStep] {
            if (page_ < pageCount()) goToPage(page_ + pageStep);
          }));
  connect(SBPrint, &QToolButton::clicked, this, guard([this] { SBPrintClick(); }));
  connect(SBDone, &QToolButton::clicked, this, &QDialog::accept);
  connect(ZoomEdit, &QLineEdit::editingFinished, this, guard([this] { ZoomEditExit(); }));
  connect(PageEdit, &QLineEdit::editingFinished, this, guard([this] { PageEditExit(); }));

  setTabOrder(PageEdit, ZoomEdit);
  setTabOrder(ZoomEdit, ScrollBox);
  setZoom(zoom_);
  if (pageCount() > 0) showPage();
  PageEdit->setFocus();
}

// The boxes lose the focus while the window goes and would finish their editing on a window
// that is no longer there.
TReportPreviewForm::~TReportPreviewForm() {
  ZoomEdit->disconnect(this);
  PageEdit->disconnect(this);
}

double TReportPreviewForm::pixelsPerMillimetreAt(double factor) const {
  return factor / 100.0 * view_->logicalDpiX() / 25.4;
}

void TReportPreviewForm::setZoom(double factor) {
  if (factor < 0) {
    if (factor <= -1.9) {
      zoomPageWidth();
    } else {
      zoomWholePage();
    }
    return;
  }
  zoom_ = std::clamp(factor, kMinimumZoom, kMaximumZoom);
  const double scale = pixelsPerMillimetreAt(zoom_);
  view_->resize(static_cast<int>(std::ceil(document_.pageWidth * scale)) + 2 * kPageMargin,
                static_cast<int>(std::ceil(document_.pageHeight * scale)) + 2 * kPageMargin);
  // The scroll bars come and go with the new size now, not at the next turn of the event loop.
  QCoreApplication::sendPostedEvents(ScrollBox, QEvent::LayoutRequest);
  view_->update();
  showZoom();
}

void TReportPreviewForm::zoomPageWidth() {
  // The page is taller than it is wide at this zoom, so the vertical bar takes its share.
  const int available = ScrollBox->width() - 2 * ScrollBox->frameWidth() -
                        ScrollBox->verticalScrollBar()->sizeHint().width() - 2 * kPageMargin - 1;
  setZoom(std::floor(available / pixelsPerMillimetreAt(100) / document_.pageWidth * 1000) / 10);
}

void TReportPreviewForm::zoomWholePage() {
  const int width = ScrollBox->width() - 2 * ScrollBox->frameWidth() - 2 * kPageMargin - 1;
  const int height = ScrollBox->height() - 2 * ScrollBox->frameWidth() - 2 * kPageMargin - 1;
  const double across = width / pixelsPerMillimetreAt(100) / document_.pageWidth;
  const double down = height / pixelsPerMillimetreAt(100) / document_.pageHeight;
  setZoom(std::floor(std::min(across, down) * 1000) / 10);
}

void TReportPreviewForm::goToPage(int page) {
  if (pageCount() == 0) return;
  page_ = std::clamp(page, 1, pageCount());
  ScrollBox->verticalScrollBar()->setValue(0);
  showPage();
  view_->update();
}

void TReportPreviewForm::showZoom() { ZoomEdit->setText(QString::number(zoom_, 'f', 1)); }

void TReportPreviewForm::showPage() {
  PageEdit->setText(QString::number(page_));
  PageLabel->setText(QStringLiteral("Page %1 of %2").arg(page_).arg(pageCount()));
}

void TReportPreviewForm::ZoomEditExit() {
  bool number = false;
  const double typed = ZoomEdit->text().trimmed().toDouble(&number);
  if (number && typed != zoom_) {
    setZoom(typed);
  } else {
    showZoom();
  }
}

void TReportPreviewForm::PageEditExit() {
  bool whole = false;
  const int typed = PageEdit->text().trimmed().toInt(&whole);
  if (whole && typed != page_) {
    goToPage(typed);
  } else {
    showPage();
  }
}

void TReportPreviewForm::SBPrintClick() { system_.printFromPreview(document_, this); }

void TReportPreviewForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ToolBar->setGeometry(0, 0, width(), kToolBarHeight);
  ScrollBox->setGeometry(0, kToolBarHeight, width(), std::max(height() - kToolBarHeight, 0));
}

void TReportPreviewForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (windowState() == Qt::WindowNoState) centreOnScreen(*this);
}

bool TReportPreviewForm::scrollKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  const bool plainOrControl = modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier;
  QScrollBar* down = ScrollBox->verticalScrollBar();
  QScrollBar* across = ScrollBox->horizontalScrollBar();
  const int viewHeight = ScrollBox->viewport()->height();
  const int viewWidth = ScrollBox->viewport()->width();
  int sideways = 0;
  switch (key.key()) {
    case Qt::Key_PageUp:
      if (!plainOrControl) return false;
      down->setValue(down->value() - viewHeight);
      return true;
    case Qt::Key_PageDown:
      if (!plainOrControl) return false;
      down->setValue(down->value() + viewHeight);
      return true;
    case Qt::Key_Home:
      if (!plainOrControl) return false;
      down->setValue(down->minimum());
      return true;
    case Qt::Key_End:
      if (!plainOrControl) return false;
      down->setValue(down->maximum());
      return true;
    case Qt::Key_Up:
      if (!plainOrControl) return false;
      down->setValue(down->value() - down->singleStep());
      return true;
    case Qt::Key_Down:
      if (!plainOrControl) return false;
      down->setValue(down->value() + down->singleStep());
      return true;
    case Qt::Key_Left: sideways = -1; break;
    case Qt::Key_Right: sideways = 1; break;
    default: return false;
  }
  if (modifiers == Qt::ControlModifier) {
    across->setValue(across->value() + sideways * across->singleStep());
    return true;
  }
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    across->setValue(across->value() + sideways * viewWidth);
    return true;
  }
  return false;  // plain Left and Right belong to the edit boxes
}

void TReportPreviewForm::keyPressEvent(QKeyEvent* event) {
  if (scrollKey(*event)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TReportPreviewForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && scrollKey(static_cast<QKeyEvent&>(*event))) return true;
  return QDialog::eventFilter(watched, event);
}

}  // namespace reporting
