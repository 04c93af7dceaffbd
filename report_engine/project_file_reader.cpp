#include "report_engine/project_file_reader.h"

#include <QFile>
#include <QXmlStreamReader>
#include <map>

#include "report_engine/report_error.h"

namespace reporting {

namespace {

const QStringList kBandAttributes{"Height", "CanGrow", "KeepTogether", "NewPage"};
const QStringList kBoxAttributes{"X", "Y", "Width", "Height"};
const QStringList kTextAttributes{"X", "Y", "Width", "Height", "Font", "Size", "Bold", "Italic", "Align", "Colour"};

struct ItemSyntax {
  ItemKind kind;
  QStringList attributes;  // beyond the common ones of its kind
};

const std::map<QString, ItemSyntax>& itemSyntax() {
  static const std::map<QString, ItemSyntax> syntax{
      {"Text", {ItemKind::Text, {"Text"}}},
      {"Field", {ItemKind::Field, {"Field", "DataView", "Format", "Prefix", "Suffix"}}},
      {"Memo", {ItemKind::Memo, {"Field", "DataView", "Text"}}},
      {"Line", {ItemKind::Line, {"X1", "Y1", "X2", "Y2", "LineWidth", "Colour"}}},
      {"Box", {ItemKind::Box, {"LineWidth", "Colour", "Fill"}}},
      {"PageNumber", {ItemKind::PageNumber, {"Template"}}},
      {"DateTime", {ItemKind::DateTime, {"Format"}}},
      {"Count", {ItemKind::Count, {"Over", "DataView"}}},
      {"Sum", {ItemKind::Sum, {"Field", "Over", "DataView", "Format"}}},
  };
  return syntax;
}

bool isTextItem(ItemKind kind) { return kind != ItemKind::Line && kind != ItemKind::Box; }

struct PageSize {
  const char* name;
  double width, height;
};
constexpr PageSize kPageSizes[] = {{"A4", 210, 297}, {"A3", 297, 420}, {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6}};

// A reference to a data view, checked once the whole report (with every view) has been read.
struct ViewReference {
  QString view;
  qint64 line, column;
};

class Reader {
 public:
  Reader(QIODevice& device, QString fileName) : xml_(&device), fileName_(std::move(fileName)) {}

  std::vector<ReportDefinition> project() {
    if (!xml_.readNextStartElement()) failXml(QStringLiteral("the file holds no <ReportProject>"));
    if (xml_.name() != QLatin1String("ReportProject")) fail(QStringLiteral("the root element must be <ReportProject>"));
    checkAttributes({});
    std::vector<ReportDefinition> reports;
    while (nextChild()) {
      if (xml_.name() != QLatin1String("Report")) unknownElement();
      reports.push_back(report());
    }
    return reports;
  }

 private:
  [[noreturn]] void failAt(qint64 line, qint64 column, const QString& message) const {
    throw ReportError(QStringLiteral("Error in report project \"%1\", line %2, column %3: %4.")
                          .arg(fileName_).arg(line).arg(column).arg(message));
  }
  [[noreturn]] void fail(const QString& message) const {
    failAt(xml_.lineNumber(), xml_.columnNumber(), message);
  }
  // The reader's own error when it has one (bad XML), else the message.
  [[noreturn]] void failXml(const QString& message) const {
    fail(xml_.hasError() ? xml_.errorString() : message);
  }
  [[noreturn]] void unknownElement() const {
    fail(QStringLiteral("unknown element <%1> in <%2>").arg(xml_.name().toString(), parent_));
  }

  // Moves to the next child element of the current one; false at its end.
  bool nextChild() {
    const QString element = xml_.name().toString();
    while (!xml_.atEnd()) {
      switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement:
          parent_ = element;
          return true;
        case QXmlStreamReader::EndElement:
          return false;
        case QXmlStreamReader::Characters:
          if (!xml_.isWhitespace()) fail(QStringLiteral("unexpected text in <%1>").arg(element));
          break;
        default:
          break;
      }
    }
    failXml(QStringLiteral("the file ends inside <%1>").arg(element));
  }

  void checkAttributes(const QStringList& allowed) {
    attributes_ = xml_.attributes();
    for (const auto& attribute : attributes_) {
      if (!allowed.contains(attribute.name().toString())) {
        fail(QStringLiteral("unknown attribute \"%1\" of <%2>").arg(attribute.name().toString(), xml_.name().toString()));
      }
    }
  }
  bool has(const QString& name) const { return attributes_.hasAttribute(name); }
  QString text(const QString& name, const QString& fallback = {}) const {
    return has(name) ? attributes_.value(name).toString() : fallback;
  }
  QString required(const QString& name) const {
    if (!has(name)) fail(QStringLiteral("<%1> needs the attribute \"%2\"").arg(xml_.name().toString(), name));
    return text(name);
  }
  double number(const QString& name, double fallback) const {
    if (!has(name)) return fallback;
    bool ok = false;
    const double value = text(name).toDouble(&ok);
    if (!ok) fail(QStringLiteral("\"%1\" must be a number, not \"%2\"").arg(name, text(name)));
    return value;
  }
  double length(const QString& name, double fallback = 0) const {
    const double value = number(name, fallback);
    if (value < 0) fail(QStringLiteral("\"%1\" must not be negative").arg(name));
    return value;
  }
  double requiredNumber(const QString& name) const {
    required(name);
    return number(name, 0);
  }
  bool flag(const QString& name) const {
    const QString value = text(name, QStringLiteral("false"));
    if (value != QLatin1String("true") && value != QLatin1String("false")) {
      fail(QStringLiteral("\"%1\" must be true or false, not \"%2\"").arg(name, value));
    }
    return value == QLatin1String("true");
  }
  QColor colour(const QString& name, QColor fallback) const {
    if (!has(name)) return fallback;
    const QColor value(text(name));
    if (!value.isValid()) fail(QStringLiteral("\"%1\" is not a colour").arg(text(name)));
    return value;
  }
  template <typename Choice>
  Choice choice(const QString& name, const std::map<QString, Choice>& choices, Choice fallback) const {
    if (!has(name)) return fallback;
    const auto found = choices.find(text(name));
    if (found == choices.end()) {
      fail(QStringLiteral("\"%1\" cannot be \"%2\"").arg(name, text(name)));
    }
    return found->second;
  }
  QStringList fieldList(const QString& name) const {
    return text(name).split(u';', Qt::SkipEmptyParts);
  }
  void referView(const QString& view) {
    if (!view.isEmpty()) references_.push_back({view, xml_.lineNumber(), xml_.columnNumber()});
  }

  ReportDefinition report() {
    checkAttributes({"Name", "FullName", "Category", "AlwaysGenerate", "FontFamily", "FontSize"});
    ReportDefinition report;
    report.name = required("Name");
    report.fullName = text("FullName", report.name);
    report.category = text("Category");
    report.alwaysGenerate = flag("AlwaysGenerate");
    report.font.family = text("FontFamily", report.font.family);
    report.font.size = length("FontSize", report.font.size);
    font_ = report.font;
    references_.clear();
    while (nextChild()) reportPart(report);
    checkViews(report);
    return report;
  }

  void reportPart(ReportDefinition& report) {
    const QString element = xml_.name().toString();
    if (element == QLatin1String("Description")) {
      checkAttributes({});
      report.description = xml_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    } else if (element == QLatin1String("Page")) {
      report.page = pageSetup();
    } else if (element == QLatin1String("DataView")) {
      dataView(report);
    } else if (element == QLatin1String("Detail")) {
      report.details.push_back(detail(false));
    } else if (auto* band = reportBand(report, element)) {
      if (*band) fail(QStringLiteral("<%1> may appear only once").arg(element));
      *band = this->band(kBandAttributes);
    } else {
      unknownElement();
    }
  }

  static std::optional<Band>* reportBand(ReportDefinition& report, const QString& element) {
    if (element == QLatin1String("Title")) return &report.title;
    if (element == QLatin1String("PageHeader")) return &report.pageHeader;
    if (element == QLatin1String("PageFooter")) return &report.pageFooter;
    if (element == QLatin1String("Summary")) return &report.summary;
    return nullptr;
  }

  PageSetup pageSetup() {
    checkAttributes({"Size", "Orientation", "MarginLeft", "MarginTop", "MarginRight", "MarginBottom"});
    PageSetup page;
    const QString size = text("Size", QStringLiteral("A4"));
    const auto named = std::find_if(std::begin(kPageSizes), std::end(kPageSizes),
                                    [&](const PageSize& known) { return size.compare(known.name, Qt::CaseInsensitive) == 0; });
    if (named != std::end(kPageSizes)) {
      page.width = named->width;
      page.height = named->height;
    } else {
      sheetSize(size, page);
    }
    page.landscape = choice<bool>("Orientation", {{"Portrait", false}, {"Landscape", true}}, false);
    page.marginLeft = length("MarginLeft", page.marginLeft);
    page.marginTop = length("MarginTop", page.marginTop);
    page.marginRight = length("MarginRight", page.marginRight);
    page.marginBottom = length("MarginBottom", page.marginBottom);
    if (page.marginLeft + page.marginRight >= page.pageWidth() || page.marginTop + page.marginBottom >= page.pageHeight()) {
      fail(QStringLiteral("the margins leave no room on the page"));
    }
    xml_.skipCurrentElement();
    return page;
  }

  void sheetSize(const QString& size, PageSetup& page) const {
    const QStringList parts = size.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    bool wide = false, high = false;
    if (parts.size() == 2) {
      page.width = parts[0].trimmed().toDouble(&wide);
      page.height = parts[1].trimmed().toDouble(&high);
    }
    if (!wide || !high || page.width <= 0 || page.height <= 0) {
      fail(QStringLiteral("\"Size\" must be A4, A3, Letter, Legal or width x height, not \"%1\"").arg(size));
    }
  }

  void dataView(ReportDefinition& report) {
    checkAttributes({"Name", "Connection", "Filter"});
    DataView view{required("Name"), required("Connection"), text("Filter")};
    if (report.findView(view.name)) fail(QStringLiteral("the data view \"%1\" is defined twice").arg(view.name));
    report.dataViews.push_back(std::move(view));
    xml_.skipCurrentElement();
  }

  Band band(const QStringList& allowed) {
    checkAttributes(allowed);
    Band band;
    band.line = static_cast<int>(xml_.lineNumber());
    required("Height");
    band.height = length("Height");
    band.canGrow = flag("CanGrow");
    band.keepTogether = flag("KeepTogether");
    band.newPage = flag("NewPage");
    band.onlyWithRows = text("OnlyWithRows");
    band.keepWithNext = flag("KeepWithNext");
    while (nextChild()) band.items.push_back(item());
    return band;
  }

  Item item() {
    const auto syntax = itemSyntax().find(xml_.name().toString());
    if (syntax == itemSyntax().end()) unknownElement();
    const ItemKind kind = syntax->second.kind;
    QStringList allowed = syntax->second.attributes;
    if (kind != ItemKind::Line) allowed += isTextItem(kind) ? kTextAttributes : kBoxAttributes;
    checkAttributes(allowed);
    Item item;
    item.kind = kind;
    if (kind == ItemKind::Line) {
      item.x = requiredNumber("X1");
      item.y = requiredNumber("Y1");
      item.width = requiredNumber("X2") - item.x;
      item.height = requiredNumber("Y2") - item.y;
    } else {
      item.x = requiredNumber("X");
      item.y = requiredNumber("Y");
      item.width = length("Width");
      item.height = length("Height");
    }
    itemContent(item);
    xml_.skipCurrentElement();
    return item;
  }

  void itemContent(Item& item) {
    const bool needsField = item.kind == ItemKind::Field || item.kind == ItemKind::Sum ||
                            (item.kind == ItemKind::Memo && !has("Text"));
    item.field = needsField ? required("Field") : text("Field");
    item.text = item.kind == ItemKind::Text ? required("Text") : text("Text");
    if (item.kind == ItemKind::PageNumber) item.text = text("Template", QStringLiteral("Page %p of %P"));
    item.dataView = text("DataView");
    referView(item.dataView);
    item.format = text("Format", item.kind == ItemKind::DateTime ? QStringLiteral("d MMMM yyyy") : QString());
    item.prefix = text("Prefix");
    item.suffix = text("Suffix");
    item.scope = choice<AggregateScope>(
        "Over", {{"Group", AggregateScope::Group}, {"Detail", AggregateScope::Detail}, {"Report", AggregateScope::Report}},
        AggregateScope::Detail);
    item.font.family = text("Font", font_.family);
    item.font.size = length("Size", font_.size);
    item.font.bold = flag("Bold");
    item.font.italic = flag("Italic");
    item.alignment = choice<Alignment>(
        "Align", {{"Left", Alignment::Left}, {"Centre", Alignment::Centre}, {"Center", Alignment::Centre}, {"Right", Alignment::Right}},
        Alignment::Left);
    item.colour = colour("Colour", Qt::black);
    if (has("Fill")) item.fill = colour("Fill", Qt::white);
    item.lineWidth = length("LineWidth", item.lineWidth);
  }

  Detail detail(bool nested) {
    checkAttributes({"DataView", "LinkFields", "MasterFields", "Sort", "Indent"});
    Detail detail;
    detail.dataView = required("DataView");
    referView(detail.dataView);
    detail.linkFields = fieldList("LinkFields");
    detail.masterFields = fieldList("MasterFields");
    detail.sortFields = fieldList("Sort");
    detail.indent = number("Indent", 0);
    checkLink(detail, nested);
    while (nextChild()) detailPart(detail);
    checkOnlyWithRows(detail);
    return detail;
  }

  void checkLink(const Detail& detail, bool nested) const {
    if (!nested && (has("LinkFields") || has("MasterFields"))) {
      fail(QStringLiteral("a top-level <Detail> has no \"LinkFields\" or \"MasterFields\""));
    }
    if (nested && (detail.linkFields.isEmpty() || detail.linkFields.size() != detail.masterFields.size())) {
      fail(QStringLiteral("a nested <Detail> needs \"LinkFields\" and as many \"MasterFields\""));
    }
  }

  void detailPart(Detail& detail) {
    const QString element = xml_.name().toString();
    if (element == QLatin1String("ColumnHeader")) {
      if (detail.columnHeader) fail(QStringLiteral("<ColumnHeader> may appear only once in a <Detail>"));
      detail.columnHeader = band(kBandAttributes);
    } else if (element == QLatin1String("Group")) {
      detail.groups.push_back(group());
    } else if (element == QLatin1String("Band")) {
      detail.body.push_back({band(kBandAttributes + QStringList{"OnlyWithRows", "KeepWithNext"}), nullptr});
    } else if (element == QLatin1String("Detail")) {
      detail.body.push_back({std::nullopt, std::make_unique<Detail>(this->detail(true))});
    } else {
      unknownElement();
    }
  }

  Group group() {
    checkAttributes({"Field"});
    Group group;
    group.field = required("Field");
    while (nextChild()) {
      const QString element = xml_.name().toString();
      auto* band = element == QLatin1String("GroupHeader")   ? &group.header
                   : element == QLatin1String("GroupFooter") ? &group.footer
                                                            : nullptr;
      if (!band) unknownElement();
      if (*band) fail(QStringLiteral("<%1> may appear only once in a <Group>").arg(element));
      *band = this->band(kBandAttributes);
    }
    return group;
  }

  // OnlyWithRows names the view of a nested detail of the same body.
  void checkOnlyWithRows(const Detail& detail) const {
    for (std::size_t part = 0; part < detail.body.size(); ++part) {
      const auto& band = detail.body[part].band;
      if (!band || band->onlyWithRows.isEmpty()) continue;
      const bool found = std::any_of(detail.body.begin(), detail.body.end(), [&](const DetailPart& other) {
        return other.detail && other.detail->dataView.compare(band->onlyWithRows, Qt::CaseInsensitive) == 0;
      });
      if (!found) {
        failAt(band->line, 1, QStringLiteral("\"OnlyWithRows\" names \"%1\", which no nested <Detail> of the same body shows")
                                  .arg(band->onlyWithRows));
      }
    }
  }

  void checkViews(const ReportDefinition& report) const {
    for (const auto& reference : references_) {
      if (!report.findView(reference.view)) {
        failAt(reference.line, reference.column,
               QStringLiteral("the report \"%1\" has no data view \"%2\"").arg(report.name, reference.view));
      }
    }
  }

  QXmlStreamReader xml_;
  QString fileName_;
  QString parent_ = QStringLiteral("the file");
  QXmlStreamAttributes attributes_;
  FontSpec font_;
  std::vector<ViewReference> references_;
};

}  // namespace

std::vector<ReportDefinition> readProject(QIODevice& device, const QString& fileName) {
  return Reader(device, fileName).project();
}

std::vector<ReportDefinition> readProjectFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw ReportError(QStringLiteral("Error in report project \"%1\": %2.").arg(path, file.errorString()));
  }
  return readProject(file, path);
}

}  // namespace reporting
