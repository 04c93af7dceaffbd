// Lays a report out into pages: reads every data view once, then walks the details row by row,
// placing bands top to bottom and opening pages as they fill.
#include <QDateTime>
#include <map>
#include <memory>

#include "report_engine/report_error.h"
#include "report_engine/report_generator.h"
#include "report_engine/text_metrics.h"
#include "report_engine/value_format.h"
#include "report_engine/view_rows.h"
#include "ui/dialog_seam.h"

namespace reporting {

namespace {

struct Cancelled {};

QString viewKey(const QString& name) { return name.toLower(); }

// Which fields of which view the report uses.
class NeedsCollector {
 public:
  explicit NeedsCollector(const ReportDefinition& report) {
    for (const auto* band : {&report.title, &report.pageHeader, &report.pageFooter, &report.summary}) {
      if (*band) addBand(**band, QString());
    }
    for (const auto& detail : report.details) addDetail(detail, QString());
  }
  std::map<QString, ViewRows::Needs> needs;  // by lower-case view name

 private:
  void add(const QString& view, const QString& field, bool asText) {
    if (view.isEmpty() || field.isEmpty()) return;
    auto& need = needs[viewKey(view)];
    if (!need.fields.contains(field, Qt::CaseInsensitive)) need.fields.append(field);
    auto& list = asText ? need.texts : need.values;
    if (!list.contains(field, Qt::CaseInsensitive)) list.append(field);
  }
  void addBand(const Band& band, const QString& view) {
    for (const auto& item : band.items) {
      const QString itemView = item.dataView.isEmpty() ? view : item.dataView;
      const bool printed = item.kind == ItemKind::Field || item.kind == ItemKind::Memo;
      add(itemView, item.field, printed && item.format.isEmpty());
    }
  }
  void addDetail(const Detail& detail, const QString& master) {
    needs[viewKey(detail.dataView)];
    for (const auto& field : detail.linkFields) add(detail.dataView, field, false);
    for (const auto& field : detail.masterFields) add(master, field, false);
    for (const auto& field : detail.sortFields) add(detail.dataView, field, false);
    if (detail.columnHeader) addBand(*detail.columnHeader, detail.dataView);
    for (const auto& group : detail.groups) {
      add(detail.dataView, group.field, false);
      if (group.header) addBand(*group.header, detail.dataView);
      if (group.footer) addBand(*group.footer, detail.dataView);
    }
    for (const auto& part : detail.body) {
      if (part.band) addBand(*part.band, detail.dataView);
      if (part.detail) addDetail(*part.detail, detail.dataView);
    }
  }
};

// A detail in progress: its view, rows, current row and groups.
struct Frame {
  const Detail* detail;
  ViewRows* view;
  QString viewName;
  const ViewRows::RowList* rows;
  std::size_t position = 0;
  double indent = 0;
  bool headerShown = false;
  std::vector<std::pair<std::size_t, std::size_t>> groupRanges;  // per group level: [first, end)
  int row() const { return (*rows)[position]; }
};

constexpr double kTolerance = 0.001;   // millimetres
constexpr double kShortestSplit = 12;  // millimetres of memo worth keeping at a page's foot

// Where a memo line stands in its band.
struct Flow {
  double top, bottom;
};

// A band turned into elements, positioned relative to its top.
struct BandContent {
  double height = 0;
  Page elements;
  std::vector<std::optional<Flow>> flows;  // per text element: a memo line, which may move to the next page
  struct PageNumberSlot {
    std::size_t text;  // element
    const Item* item;
    QRectF box;
  };
  std::vector<PageNumberSlot> pageNumbers;  // filled in once the pages are counted
};

class Layout {
 public:
  Layout(const ReportDefinition& report, std::map<QString, std::unique_ptr<ViewRows>>& views,
         const PageProgress& progress)
      : report_(report), views_(views), progress_(progress), started_(QDateTime::currentDateTime()) {
    document_.title = report.fullName;
    document_.pageWidth = report.page.pageWidth();
    document_.pageHeight = report.page.pageHeight();
    document_.landscape = report.page.landscape;
    for (const auto* band : {&report.title, &report.pageHeader, &report.pageFooter, &report.summary}) {
      if (*band) collectReportSums(**band);
    }
    for (const auto& detail : report.details) collectReportSums(detail);
  }

  ReportDocument run() {
    startPage();
    if (report_.title) place(*report_.title, 0, true);
    for (const auto& detail : report_.details) {
      ViewRows& view = *views_.at(viewKey(detail.dataView));
      const auto rows = view.allRows(sortColumns(detail, view));
      runDetail(detail, view, rows, detail.indent);
    }
    if (report_.summary) place(*report_.summary, 0, true);
    finishPage();
    fillPageNumbers();
    return std::move(document_);
  }

 private:
  // --- Pages ---
  double bodyBottom() const {
    const double footer = report_.pageFooter ? report_.pageFooter->height : 0;
    return report_.page.pageHeight() - report_.page.marginBottom - footer;
  }

  void startPage() {
    document_.pages.emplace_back();
    y_ = report_.page.marginTop;
    pageHasBody_ = false;
    if (report_.pageHeader) put(render(*report_.pageHeader, 0, nullptr));
    for (Frame& frame : frames_) {
      if (frame.headerShown && frame.detail->columnHeader) put(render(*frame.detail->columnHeader, frame.indent, &frame));
    }
    pageTop_ = y_;
  }

  void finishPage() {
    if (report_.pageFooter) {
      y_ = bodyBottom();
      put(render(*report_.pageFooter, 0, nullptr));
    }
    if (progress_ && !progress_(static_cast<int>(document_.pages.size()))) throw Cancelled{};
  }

  void newPage() {
    finishPage();
    startPage();
  }

  // --- Bands ---
  // Places a body band at the cursor, opening pages as needed; reserve is room wanted below it
  // (a header keeps its first row with it).
  void place(const Band& band, double indent, bool body, Frame* frame = nullptr, double reserve = 0, int groupLevel = -1) {
    if (band.newPage && pageHasBody_) newPage();
    BandContent content = render(band, indent, frame, groupLevel);
    const double room = bodyBottom() - y_;
    const bool splittable = std::any_of(content.flows.begin(), content.flows.end(), [](const auto& flow) { return flow.has_value(); });
    if (content.height + reserve > room && y_ > pageTop_) {
      const bool fitsFreshPage = content.height <= bodyBottom() - freshPageTop();
      // A memo band that would leave only a line or two here starts afresh.
      const bool fewLinesHere = room < std::min(content.height, kShortestSplit);
      if (!splittable || (fitsFreshPage && (band.keepTogether || fewLinesHere || reserve > 0))) newPage();
    }
    while (splittable && content.height > bodyBottom() - y_ + kTolerance) {
      BandContent rest = split(content, bodyBottom() - y_);
      if (rest.elements.texts.empty()) break;
      put(content);
      newPage();
      content = std::move(rest);
    }
    put(content);
    if (body) pageHasBody_ = true;
  }

  double freshPageTop() const {
    double top = report_.page.marginTop + (report_.pageHeader ? report_.pageHeader->height : 0);
    for (const Frame& frame : frames_) {
      if (frame.headerShown && frame.detail->columnHeader) top += frame.detail->columnHeader->height;
    }
    return top;
  }

  // Keeps in content what ends within room; returns the memo lines below it, moved to the top.
  static BandContent split(BandContent& content, double room) {
    BandContent rest;
    Page kept;
    std::vector<std::optional<Flow>> keptFlows;
    double restTop = content.height;
    auto& texts = content.elements.texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const auto& flow = content.flows[i];
      const bool moves = flow && flow->bottom > room + kTolerance;
      (moves ? rest.elements.texts : kept.texts).push_back(texts[i]);
      (moves ? rest.flows : keptFlows).push_back(flow);
      if (moves) restTop = std::min(restTop, flow->top);
    }
    for (std::size_t i = 0; i < rest.elements.texts.size(); ++i) {
      rest.elements.texts[i].baseline.ry() -= restTop;
      rest.flows[i]->top -= restTop;
      rest.flows[i]->bottom -= restTop;
    }
    rest.height = content.height - restTop;
    kept.boxes = std::move(content.elements.boxes);
    kept.lines = std::move(content.elements.lines);
    content.elements = std::move(kept);
    content.flows = std::move(keptFlows);
    content.height = std::min(content.height, room);
    return rest;
  }

  void put(const BandContent& content) {
    Page& page = document_.pages.back();
    for (auto box : content.elements.boxes) {
      box.box.translate(0, y_);
      page.boxes.push_back(box);
    }
    for (auto line : content.elements.lines) {
      line.from.ry() += y_;
      line.to.ry() += y_;
      page.lines.push_back(line);
    }
    const std::size_t first = page.texts.size();
    for (auto text : content.elements.texts) {
      text.baseline.ry() += y_;
      page.texts.push_back(text);
    }
    for (auto slot : content.pageNumbers) {
      slot.text += first;
      slot.box.translate(0, y_);
      pageNumbers_.push_back({document_.pages.size() - 1, slot});
    }
    y_ += content.height;
  }

  BandContent render(const Band& band, double indent, Frame* frame, int groupLevel = -1) {
    BandContent content;
    content.height = band.height;
    const double left = report_.page.marginLeft + indent;
    for (const auto& item : band.items) renderItem(item, left, band, frame, groupLevel, content);
    return content;
  }

  void renderItem(const Item& item, double left, const Band& band, Frame* frame, int groupLevel, BandContent& content) {
    const QRectF box(left + item.x, item.y, item.width, item.height);
    switch (item.kind) {
      case ItemKind::Line:
        content.elements.lines.push_back({box.topLeft(), box.bottomRight(), item.lineWidth, item.colour});
        return;
      case ItemKind::Box:
        content.elements.boxes.push_back({box, item.lineWidth, item.colour, item.fill});
        return;
      case ItemKind::Memo:
        renderMemo(item, box, band, frame, content);
        return;
      case ItemKind::PageNumber:
        content.pageNumbers.push_back({content.elements.texts.size(), &item, box});
        addText(item, box, item.text, content);
        return;
      default:
        addText(item, box, itemText(item, frame, groupLevel), content);
    }
  }

  void addText(const Item& item, const QRectF& box, const QString& text, BandContent& content,
               std::optional<Flow> flow = std::nullopt) {
    if (text.isEmpty() && item.kind != ItemKind::PageNumber) return;
    const QString shown = item.kind == ItemKind::PageNumber ? text : metrics_.elided(item.font, text, box.width());
    content.elements.texts.push_back({baseline(item, box, shown), shown, fontIndex(item.font), item.colour});
    content.flows.push_back(flow);
  }

  QPointF baseline(const Item& item, const QRectF& box, const QString& text) {
    double x = box.left();
    if (item.alignment != Alignment::Left && box.width() > 0) {
      const double free = box.width() - metrics_.width(item.font, text);
      x += item.alignment == Alignment::Right ? free : free / 2;
    }
    return {x, box.top() + metrics_.ascent(item.font)};
  }

  void renderMemo(const Item& item, const QRectF& box, const Band& band, Frame* frame, BandContent& content) {
    const QString text = item.field.isEmpty() ? item.text : fieldText(item, frame);
    if (text.isEmpty()) return;
    const double spacing = metrics_.lineSpacing(item.font);
    const QStringList lines = metrics_.wrapped(item.font, text, box.width());
    const int fitting = band.canGrow ? static_cast<int>(lines.size())
                                     : std::max(1, static_cast<int>(box.height() / spacing));
    for (int line = 0; line < std::min<int>(fitting, static_cast<int>(lines.size())); ++line) {
      const double top = box.top() + line * spacing;
      addText(item, QRectF(box.left(), top, box.width(), spacing), lines[line], content, Flow{top, top + spacing});
    }
    if (band.canGrow) {
      const double below = std::max(0.0, band.height - box.bottom());
      content.height = std::max(content.height, box.top() + lines.size() * spacing + below);
    }
  }

  // --- Values ---
  Frame* frameOf(const QString& view, Frame* frame) {
    if (view.isEmpty()) return frame ? frame : (frames_.empty() ? nullptr : &frames_.back());
    for (auto found = frames_.rbegin(); found != frames_.rend(); ++found) {
      if (found->viewName.compare(view, Qt::CaseInsensitive) == 0) return &*found;
    }
    return nullptr;
  }

  QString fieldText(const Item& item, Frame* frame) {
    Frame* source = frameOf(item.dataView, frame);
    if (!source) return {};
    const int column = source->view->column(item.field);
    const int row = source->row();
    const QString text = item.format.isEmpty()
                             ? source->view->text(row, column)
                             : formatValue({source->view->value(row, column), source->view->text(row, column)}, item.format);
    return text.isEmpty() ? text : item.prefix + text + item.suffix;
  }

  QString itemText(const Item& item, Frame* frame, int groupLevel) {
    switch (item.kind) {
      case ItemKind::Text: return item.text;
      case ItemKind::Field: return fieldText(item, frame);
      case ItemKind::DateTime: return started_.toString(item.format);
      case ItemKind::Count:
      case ItemKind::Sum: return aggregateText(item, frame, groupLevel);
      default: return {};
    }
  }

  QString aggregateText(const Item& item, Frame* frame, int groupLevel) {
    const bool count = item.kind == ItemKind::Count;
    if (item.scope == AggregateScope::Report) {
      const QString key = item.dataView.isEmpty() ? QString() : viewKey(item.dataView);
      const double total = count ? printed_[key] : sums_[sumKey(item)];
      return formatNumber(total, item.format.isEmpty() ? QStringLiteral("0.##########") : item.format);
    }
    const auto [view, rows, first, end] = aggregateRows(item, frame, groupLevel);
    if (!view) return {};
    double total = 0;
    const int column = count ? -1 : view->column(item.field);
    for (std::size_t position = first; position < end; ++position) {
      total += count ? 1 : view->value((*rows)[position], column).toDouble();
    }
    return formatNumber(total, item.format.isEmpty() ? QStringLiteral("0.##########") : item.format);
  }

  struct RowSpan {
    ViewRows* view;
    const ViewRows::RowList* rows;
    std::size_t first, end;
  };
  RowSpan aggregateRows(const Item& item, Frame* frame, int groupLevel) {
    Frame* owner = frame ? frame : (frames_.empty() ? nullptr : &frames_.back());
    if (!owner) return {nullptr, nullptr, 0, 0};
    if (item.scope == AggregateScope::Group && !owner->groupRanges.empty()) {
      const auto [first, end] = owner->groupRanges[groupLevel < 0 ? owner->groupRanges.size() - 1 : groupLevel];
      return {owner->view, owner->rows, first, end};
    }
    if (!item.dataView.isEmpty() && owner->viewName.compare(item.dataView, Qt::CaseInsensitive) != 0) {
      for (const auto& part : owner->detail->body) {
        if (part.detail && part.detail->dataView.compare(item.dataView, Qt::CaseInsensitive) == 0) {
          const auto& rows = rowsOf(*part.detail, *owner);
          return {views_.at(viewKey(part.detail->dataView)).get(), &rows, 0, rows.size()};
        }
      }
      return {nullptr, nullptr, 0, 0};
    }
    return {owner->view, owner->rows, 0, owner->rows->size()};
  }

  // --- Details ---
  std::vector<int> sortColumns(const Detail& detail, const ViewRows& view) const {
    std::vector<int> columns;
    for (const auto& field : detail.sortFields) columns.push_back(view.column(field));
    return columns;
  }

  const ViewRows::RowList& rowsOf(const Detail& nested, const Frame& master) {
    ViewRows& view = *views_.at(viewKey(nested.dataView));
    std::vector<int> linkColumns, masterColumns;
    for (const auto& field : nested.linkFields) linkColumns.push_back(view.column(field));
    for (const auto& field : nested.masterFields) masterColumns.push_back(master.view->column(field));
    return view.rowsWith(linkColumns, master.view->keyOfRow(master.row(), masterColumns), sortColumns(nested, view));
  }

  void runDetail(const Detail& detail, ViewRows& view, const ViewRows::RowList& rows, double indent) {
    if (rows.empty()) return;
    frames_.push_back({&detail, &view, detail.dataView, &rows, 0, indent, false, {}});
    const std::vector<int> groupColumns = groupColumnsOf(detail, view);
    for (std::size_t position = 0; position < rows.size(); ++position) {
      frames_.back().position = position;
      const std::size_t changed = position == 0 ? 0 : firstChangedGroup(groupColumns, position);
      if (position > 0 && changed < groupColumns.size()) {
        frames_.back().position = position - 1;
        groupFooters(detail, changed);
        frames_.back().position = position;
      }
      if (position == 0 && detail.columnHeader) {
        frames_.back().headerShown = true;
        place(*detail.columnHeader, indent, true, &frames_.back(), firstBandHeight(detail));
      }
      groupHeaders(detail, groupColumns, position == 0 ? 0 : changed, position);
      ++printed_[QString()];
      ++printed_[viewKey(detail.dataView)];
      addSums(detail.dataView, view, frames_.back().row());
      runBody(detail, indent);
    }
    groupFooters(detail, 0);
    frames_.pop_back();
  }

  void runBody(const Detail& detail, double indent) {
    for (std::size_t index = 0; index < detail.body.size(); ++index) {
      const auto& part = detail.body[index];
      Frame& frame = frames_.back();
      if (part.band) {
        if (!prints(detail, *part.band, frame)) continue;
        const double reserve = part.band->keepWithNext ? firstLinesAfter(detail, index, frame) : 0;
        place(*part.band, indent, true, &frame, reserve);
      } else {
        const ViewRows::RowList& rows = rowsOf(*part.detail, frame);
        runDetail(*part.detail, *views_.at(viewKey(part.detail->dataView)), rows, indent + part.detail->indent);
      }
    }
  }

  bool prints(const Detail& detail, const Band& band, Frame& frame) {
    return band.onlyWithRows.isEmpty() || nestedHasRows(detail, band.onlyWithRows, frame);
  }

  // The first lines that the parts after this one print for the current row: the next band, or a
  // nested detail's column header and first band; nothing when none of them prints.
  double firstLinesAfter(const Detail& detail, std::size_t index, Frame& frame) {
    while (++index < detail.body.size()) {
      const auto& part = detail.body[index];
      if (part.band && prints(detail, *part.band, frame)) return part.band->height;
      if (part.detail && !rowsOf(*part.detail, frame).empty()) {
        return (part.detail->columnHeader ? part.detail->columnHeader->height : 0) + firstBandHeight(*part.detail);
      }
    }
    return 0;
  }

  bool nestedHasRows(const Detail& detail, const QString& view, Frame& frame) {
    for (const auto& part : detail.body) {
      if (part.detail && part.detail->dataView.compare(view, Qt::CaseInsensitive) == 0) {
        return !rowsOf(*part.detail, frame).empty();
      }
    }
    return false;
  }

  // What a header keeps with it: the first band of the body, or a nested detail's first lines.
  static double firstBandHeight(const Detail& detail) {
    if (detail.body.empty()) return 0;
    const auto& first = detail.body.front();
    if (first.band) return first.band->height;
    return (first.detail->columnHeader ? first.detail->columnHeader->height : 0) + firstBandHeight(*first.detail);
  }

  std::vector<int> groupColumnsOf(const Detail& detail, const ViewRows& view) const {
    std::vector<int> columns;
    for (const auto& group : detail.groups) columns.push_back(view.column(group.field));
    return columns;
  }

  std::size_t firstChangedGroup(const std::vector<int>& columns, std::size_t position) const {
    const Frame& frame = frames_.back();
    const auto& rows = *frame.rows;
    for (std::size_t level = 0; level < columns.size(); ++level) {
      if (frame.view->value(rows[position], columns[level]) != frame.view->value(rows[position - 1], columns[level])) {
        return level;
      }
    }
    return columns.size();
  }

  void groupHeaders(const Detail& detail, const std::vector<int>& columns, std::size_t fromLevel, std::size_t position) {
    Frame& frame = frames_.back();
    frame.groupRanges.resize(columns.size());
    for (std::size_t level = fromLevel; level < columns.size(); ++level) {
      std::size_t end = position + 1;
      while (end < frame.rows->size() && sameGroup(columns, level, position, end)) ++end;
      frame.groupRanges[level] = {position, end};
      if (detail.groups[level].header) {
        placeGroupBand(*detail.groups[level].header, frame, static_cast<int>(level), firstBandHeight(detail));
      }
    }
  }

  bool sameGroup(const std::vector<int>& columns, std::size_t level, std::size_t first, std::size_t other) const {
    const Frame& frame = frames_.back();
    for (std::size_t outer = 0; outer <= level; ++outer) {
      if (frame.view->value((*frame.rows)[first], columns[outer]) != frame.view->value((*frame.rows)[other], columns[outer])) {
        return false;
      }
    }
    return true;
  }

  void groupFooters(const Detail& detail, std::size_t downToLevel) {
    Frame& frame = frames_.back();
    for (std::size_t level = detail.groups.size(); level-- > downToLevel;) {
      if (detail.groups[level].footer) placeGroupBand(*detail.groups[level].footer, frame, static_cast<int>(level), 0);
    }
  }

  void placeGroupBand(const Band& band, Frame& frame, int level, double reserve) {
    place(band, frame.indent, true, &frame, reserve, level);
  }

  void addSums(const QString& viewName, const ViewRows& view, int row) {
    for (const Item* item : reportSums_) {
      if (!item->dataView.isEmpty() && item->dataView.compare(viewName, Qt::CaseInsensitive) != 0) continue;
      const int column = view.column(item->field);
      if (column >= 0) sums_[sumKey(*item)] += view.value(row, column).toDouble();
    }
  }

  static QString sumKey(const Item& item) { return viewKey(item.dataView) + u'\x1f' + item.field.toLower(); }

  void collectReportSums(const Band& band) {
    for (const auto& item : band.items) {
      if (item.kind == ItemKind::Sum && item.scope == AggregateScope::Report) reportSums_.push_back(&item);
    }
  }

  void collectReportSums(const Detail& detail) {
    if (detail.columnHeader) collectReportSums(*detail.columnHeader);
    for (const auto& group : detail.groups) {
      if (group.header) collectReportSums(*group.header);
      if (group.footer) collectReportSums(*group.footer);
    }
    for (const auto& part : detail.body) {
      if (part.band) collectReportSums(*part.band);
      if (part.detail) collectReportSums(*part.detail);
    }
  }

  // --- Page numbers ---
  void fillPageNumbers() {
    const QString count = QString::number(document_.pages.size());
    for (const auto& number : pageNumbers_) {
      auto& text = document_.pages[number.page].texts[number.slot.text];
      text.text = QString(number.slot.item->text)
                      .replace(QStringLiteral("%P"), count)
                      .replace(QStringLiteral("%p"), QString::number(number.page + 1));
      text.baseline = baseline(*number.slot.item, number.slot.box, text.text);
    }
  }

  int fontIndex(const FontSpec& font) {
    auto& fonts = document_.fonts;
    const auto found = std::find(fonts.begin(), fonts.end(), font);
    if (found != fonts.end()) return static_cast<int>(found - fonts.begin());
    fonts.push_back(font);
    return static_cast<int>(fonts.size() - 1);
  }

  const ReportDefinition& report_;
  std::map<QString, std::unique_ptr<ViewRows>>& views_;
  const PageProgress& progress_;
  QDateTime started_;
  ReportDocument document_;
  TextMetrics metrics_;
  std::vector<Frame> frames_;
  double y_ = 0, pageTop_ = 0;
  bool pageHasBody_ = false;
  std::map<QString, double> printed_, sums_;
  struct PageNumber {
    std::size_t page;
    BandContent::PageNumberSlot slot;
  };
  std::vector<PageNumber> pageNumbers_;
  std::vector<const Item*> reportSums_;
};

}  // namespace

QString missingConnectionMessage(const QString& connection) {
  return QStringLiteral("Error!  Could not open data connection \"%1\".  Aborting report.").arg(connection);
}

std::optional<ReportDocument> generateReport(const ReportDefinition& report, const PageProgress& progress,
                                             const ConnectionRegistry& registry) {
  for (const auto& view : report.dataViews) {
    if (!registry.find(view.connection)) {
      ui::dialogs().message(nullptr, ui::MessageKind::Error, QStringLiteral("Error"), missingConnectionMessage(view.connection));
      return std::nullopt;
    }
  }
  const NeedsCollector collector(report);
  std::map<QString, std::unique_ptr<ViewRows>> views;
  for (const auto& [key, needs] : collector.needs) {
    const DataView& view = *report.findView(key);
    views[key] = std::make_unique<ViewRows>(*registry.find(view.connection), view.name, view.filter, needs);
  }
  try {
    return Layout(report, views, progress).run();
  } catch (const Cancelled&) {
    return std::nullopt;
  }
}

}  // namespace reporting
