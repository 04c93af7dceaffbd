#pragma once
// A report as its project file defines it: page set-up, data views over named data connections,
// and bands of items. Lengths are millimetres, measured from the top left of the band (items) or
// of the page (margins).
#include <QColor>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace reporting {

struct PageSetup {
  double width = 210;   // of the sheet in portrait; orientation swaps them
  double height = 297;
  bool landscape = false;
  double marginLeft = 15;
  double marginTop = 15;
  double marginRight = 15;
  double marginBottom = 15;
  double pageWidth() const { return landscape ? height : width; }
  double pageHeight() const { return landscape ? width : height; }
};

struct FontSpec {
  QString family = QStringLiteral("Arial");
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class Alignment { Left, Centre, Right };

// A named view of the rows of one data connection; Filter asks the connection for only the rows
// that meet it.
struct DataView {
  QString name;
  QString connection;
  QString filter;
};

enum class ItemKind { Text, Field, Memo, Line, Box, PageNumber, DateTime, Count, Sum };
enum class AggregateScope { Group, Detail, Report };

struct Item {
  ItemKind kind = ItemKind::Text;
  double x = 0, y = 0, width = 0, height = 0;  // Line: from (x, y) to (x + width, y + height)
  QString text;      // Text: the text; PageNumber: the template ("Page %p of %P")
  QString dataView;  // Field, Memo, Sum, Count: the view; empty means the enclosing detail's
  QString field;
  QString format;    // numbers "###0.00", dates and times as Qt patterns ("d MMMM yyyy")
  QString prefix, suffix;  // around a field's text, printed only when the field is not empty
  AggregateScope scope = AggregateScope::Detail;
  FontSpec font;
  Alignment alignment = Alignment::Left;
  QColor colour = Qt::black;
  std::optional<QColor> fill;  // Box
  double lineWidth = 0.25;     // Line, Box frame (0: no frame)
};

struct Band {
  double height = 0;
  bool canGrow = false;       // grows with its memos
  bool keepTogether = false;  // moves whole to the next page rather than split
  bool newPage = false;       // starts on a new page
  bool keepWithNext = false;  // does not end a page without the first lines of the part after it
  QString onlyWithRows;       // prints only when this nested detail's view has rows
  std::vector<Item> items;
  int line = 0;  // in the project file, for messages
};

struct Detail;
// One entry of a detail's row body, printed in file order for each row: a band or a nested detail.
struct DetailPart {
  std::optional<Band> band;
  std::unique_ptr<Detail> detail;
};

struct Group {
  QString field;
  std::optional<Band> header;
  std::optional<Band> footer;
};

struct Detail {
  QString dataView;
  QStringList linkFields;    // of this view ...
  QStringList masterFields;  // ... equal to these of the enclosing detail's current row
  QStringList sortFields;    // stable sort within the rows; empty keeps the connection's order
  double indent = 0;         // added to the enclosing detail's indent
  std::optional<Band> columnHeader;
  std::vector<Group> groups;  // outermost first
  std::vector<DetailPart> body;
};

struct ReportDefinition {
  QString name, fullName, description, category;
  bool alwaysGenerate = false;
  PageSetup page;
  FontSpec font;  // default font of the report's items
  std::vector<DataView> dataViews;
  std::optional<Band> title, pageHeader, pageFooter, summary;
  std::vector<Detail> details;  // top-level details, one after the other
  const DataView* findView(const QString& name) const;  // ignores case
};

}  // namespace reporting
