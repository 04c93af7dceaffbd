#include "db_engine/filter_expression.h"

#include <cctype>

#include "db_engine/column_types.h"
#include "db_engine/errors.h"
#include "db_engine/format_settings.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/value_text.h"

namespace engine {

enum class Comparison { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

struct FilterExpression::Node {
  enum class Kind { And, Or, Not, Compare };
  explicit Node(Kind nodeKind) : kind(nodeKind) {}
  Kind kind;
  std::vector<std::unique_ptr<Node>> children;
  FilterField field{};
  Comparison comparison = Comparison::Equal;
  Value constant;
};

namespace {

using Node = FilterExpression::Node;

struct Token {
  enum class Kind { Name, Number, Text, Operator, Open, Close, End } kind;
  std::string text;
  std::size_t position = 0;  // of its first character, 0-based
};

struct KnownOperator {
  std::string_view text;
  Comparison comparison;
};

constexpr KnownOperator kOperators[] = {
    {"=", Comparison::Equal},  {"<>", Comparison::NotEqual},    {"!=", Comparison::NotEqual},
    {"<", Comparison::Less},   {"<=", Comparison::LessOrEqual}, {">", Comparison::Greater},
    {">=", Comparison::GreaterOrEqual},
};

const KnownOperator* knownOperator(std::string_view text) {
  for (const KnownOperator& known : kOperators) {
    if (known.text == text) return &known;
  }
  return nullptr;
}

// Messages name the dataset, the whole expression and the 1-based position of the fault.
EngineError invalidExpression(const std::string& dataset, std::string_view text, std::size_t position,
                              const std::string& fault) {
  return EngineError(code::General, "Invalid filter expression for dataset " + dataset + ": " + std::string(text) +
                                        " (" + fault + " at position " + std::to_string(position + 1) + ")");
}

class Tokenizer {
 public:
  Tokenizer(std::string_view text, const std::string& dataset) : text_(text), dataset_(dataset) {}

  std::vector<Token> tokens() {
    std::vector<Token> tokens;
    while (true) {
      skipBlanks();
      if (position_ >= text_.size()) break;
      const auto start = position_;
      tokens.push_back(next());
      tokens.back().position = start;
    }
    tokens.push_back({Token::Kind::End, "", text_.size()});
    return tokens;
  }

 private:
  void skipBlanks() {
    while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) ++position_;
  }

  Token next() {
    const char c = text_[position_];
    if (c == '(' || c == ')') {
      ++position_;
      return {c == '(' ? Token::Kind::Open : Token::Kind::Close, std::string(1, c)};
    }
    if (c == '\'') return quoted();
    if (c == '[') return bracketed();
    if (isOperatorCharacter(c)) return comparison();
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') return number();
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') return name();
    throw invalid(position_, "unexpected character");
  }

  static bool isOperatorCharacter(char c) { return c == '<' || c == '>' || c == '=' || c == '!'; }

  Token quoted() {
    std::string value;
    const auto start = position_++;
    while (true) {
      if (position_ >= text_.size()) throw invalid(start, "unclosed quote");
      const char c = text_[position_++];
      if (c != '\'') {
        value += c;
      } else if (position_ < text_.size() && text_[position_] == '\'') {
        value += '\'';
        ++position_;
      } else {
        return {Token::Kind::Text, value};
      }
    }
  }

  Token bracketed() {
    const auto close = text_.find(']', position_);
    if (close == std::string_view::npos) throw invalid(position_, "unclosed bracket");
    Token token{Token::Kind::Name, std::string(text_.substr(position_ + 1, close - position_ - 1))};
    position_ = close + 1;
    return token;
  }

  // Takes every operator character in a row, so that "==" or "=<" is refused whole rather than
  // read as some other comparison.
  Token comparison() {
    const auto start = position_;
    while (position_ < text_.size() && isOperatorCharacter(text_[position_])) ++position_;
    std::string text(text_.substr(start, position_ - start));
    if (!knownOperator(text)) throw invalid(start, "unknown operator \"" + text + "\"");
    return {Token::Kind::Operator, std::move(text)};
  }

  Token number() {
    const auto start = position_++;
    while (position_ < text_.size()) {
      const char c = text_[position_];
      const bool exponentSign = (c == '-' || c == '+') && (text_[position_ - 1] == 'e' || text_[position_ - 1] == 'E');
      if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != 'e' && c != 'E' && !exponentSign) break;
      ++position_;
    }
    return {Token::Kind::Number, std::string(text_.substr(start, position_ - start))};
  }

  Token name() {
    const auto start = position_;
    while (position_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[position_])) || text_[position_] == '_')) {
      ++position_;
    }
    return {Token::Kind::Name, std::string(text_.substr(start, position_ - start))};
  }

  EngineError invalid(std::size_t position, const std::string& fault) const {
    return invalidExpression(dataset_, text_, position, fault);
  }

  std::string_view text_;
  const std::string& dataset_;
  std::size_t position_ = 0;
};

// A constant in the field's own type, so that comparisons agree with the column's.
Value constantFor(const FilterField& field, const Token& token) {
  if (token.kind == Token::Kind::Number) {
    if (field.type == FieldType::String || field.type == FieldType::Memo || field.type == FieldType::FormattedMemo) {
      return token.text;
    }
    if (const auto integer = parseInteger(token.text)) return *integer;
    if (const auto real = parseFloat(token.text)) return *real;
    return token.text;
  }
  const auto& text = token.text;
  if (text.empty()) return text;
  switch (field.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Float:
      if (const auto integer = parseInteger(text)) return *integer;
      if (const auto real = parseFloat(text)) return *real;
      return text;
    case FieldType::Boolean:
      if (const auto flag = parseBoolean(text)) return std::int64_t{*flag};
      return text;
    case FieldType::Date:
      return parseDate(text, formatSettings().shortDateFormat).value_or(text);
    default:
      return text;
  }
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, const FilterExpression::Resolver& resolve, const std::string& dataset,
         std::string_view text)
      : tokens_(std::move(tokens)), resolve_(resolve), dataset_(dataset), text_(text) {}

  std::unique_ptr<Node> parse() {
    auto root = parseOr();
    if (peek().kind != Token::Kind::End) throw invalid(peek(), "unexpected text");
    return root;
  }

 private:
  const Token& peek() const { return tokens_[position_]; }
  const Token& take() { return tokens_[position_ < tokens_.size() - 1 ? position_++ : position_]; }
  bool keyword(std::string_view word) const {
    return peek().kind == Token::Kind::Name && equalIgnoringCase(peek().text, word);
  }

  std::unique_ptr<Node> join(Node::Kind kind, std::string_view word, std::unique_ptr<Node> (Parser::*operand)()) {
    auto left = (this->*operand)();
    while (keyword(word)) {
      take();
      auto node = std::make_unique<Node>(kind);
      node->children.push_back(std::move(left));
      node->children.push_back((this->*operand)());
      left = std::move(node);
    }
    return left;
  }

  std::unique_ptr<Node> parseOr() { return join(Node::Kind::Or, "or", &Parser::parseAnd); }
  std::unique_ptr<Node> parseAnd() { return join(Node::Kind::And, "and", &Parser::parseNot); }

  std::unique_ptr<Node> parseNot() {
    if (!keyword("not")) return parsePrimary();
    take();
    auto node = std::make_unique<Node>(Node::Kind::Not);
    node->children.push_back(parseNot());
    return node;
  }

  std::unique_ptr<Node> parsePrimary() {
    if (peek().kind == Token::Kind::Open) {
      take();
      auto inner = parseOr();
      const auto& close = take();
      if (close.kind != Token::Kind::Close) throw invalid(close, "closing parenthesis expected");
      return inner;
    }
    return parseComparison();
  }

  std::unique_ptr<Node> parseComparison() {
    const auto& name = take();
    if (name.kind != Token::Kind::Name) throw invalid(name, "field name expected");
    const auto field = resolve_(name.text);
    if (!field) throw EngineError(code::FieldNotFound, "Field " + name.text + " not found in dataset " + dataset_);
    const auto& comparison = take();
    if (comparison.kind != Token::Kind::Operator) throw invalid(comparison, "comparison operator expected");
    const auto& constant = take();
    const bool number = constant.kind == Token::Kind::Number;
    if ((!number && constant.kind != Token::Kind::Text) || (number && !parseFloat(constant.text))) {
      throw invalid(constant, "constant expected");
    }
    auto node = std::make_unique<Node>(Node::Kind::Compare);
    node->field = *field;
    node->comparison = knownOperator(comparison.text)->comparison;
    node->constant = constantFor(*field, constant);
    return node;
  }

  EngineError invalid(const Token& token, const std::string& fault) const {
    return invalidExpression(dataset_, text_, token.position, fault);
  }

  std::vector<Token> tokens_;
  const FilterExpression::Resolver& resolve_;
  const std::string& dataset_;
  std::string_view text_;
  std::size_t position_ = 0;
};

bool holds(Comparison comparison, int order) {
  switch (comparison) {
    case Comparison::Equal: return order == 0;
    case Comparison::NotEqual: return order != 0;
    case Comparison::Less: return order < 0;
    case Comparison::LessOrEqual: return order <= 0;
    case Comparison::Greater: return order > 0;
    case Comparison::GreaterOrEqual: return order >= 0;
  }
  return false;
}

const char* sqlOperator(Comparison comparison) {
  switch (comparison) {
    case Comparison::Equal: return "=";
    case Comparison::NotEqual: return "<>";
    case Comparison::Less: return "<";
    case Comparison::LessOrEqual: return "<=";
    case Comparison::Greater: return ">";
    case Comparison::GreaterOrEqual: return ">=";
  }
  return "=";
}

// A comparison in SQL that is never NULL: an empty column value sorts below every constant.
std::string compareSql(const Node& node) {
  const auto column = quoteIdentifier(node.field.column);
  const auto empty = "(" + column + " IS NULL OR " + column + " = '')";
  const auto whenEmpty = holds(node.comparison, isEmptyValue(node.constant) ? 0 : -1) ? "1" : "0";
  if (isEmptyValue(node.constant)) {
    // Against an empty constant every other value is greater.
    return "CASE WHEN " + empty + " THEN " + whenEmpty + " ELSE " + (holds(node.comparison, 1) ? "1" : "0") + " END";
  }
  return "CASE WHEN " + empty + " THEN " + whenEmpty + " ELSE " + column + " " + sqlOperator(node.comparison) +
         " ? END";
}

std::string toSql(const Node& node) {
  std::string sql = "(";
  switch (node.kind) {
    case Node::Kind::And:
    case Node::Kind::Or:
      sql.append(toSql(*node.children[0])).append(node.kind == Node::Kind::And ? " AND " : " OR ");
      sql.append(toSql(*node.children[1]));
      break;
    case Node::Kind::Not:
      sql.append("NOT ").append(toSql(*node.children[0]));
      break;
    case Node::Kind::Compare:
      sql.append(compareSql(node));
      break;
  }
  return sql.append(")");
}

void collectParameters(const Node& node, std::vector<Value>& parameters) {
  if (node.kind == Node::Kind::Compare) {
    if (!isEmptyValue(node.constant)) parameters.push_back(node.constant);
    return;
  }
  for (const auto& child : node.children) collectParameters(*child, parameters);
}

bool evaluate(const Node& node, const Row& row) {
  switch (node.kind) {
    case Node::Kind::And: return evaluate(*node.children[0], row) && evaluate(*node.children[1], row);
    case Node::Kind::Or: return evaluate(*node.children[0], row) || evaluate(*node.children[1], row);
    case Node::Kind::Not: return !evaluate(*node.children[0], row);
    case Node::Kind::Compare: {
      static const Value kEmpty;
      const auto& value = node.field.index < row.size() ? row[node.field.index] : kEmpty;
      return holds(node.comparison, compareValues(value, node.constant));
    }
  }
  return false;
}

int rank(const Value& value) {
  if (isEmptyValue(value)) return 0;
  return std::holds_alternative<std::string>(value) ? 2 : 1;
}

double numeric(const Value& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return static_cast<double>(*integer);
  return std::get<double>(value);
}

}  // namespace

bool isEmptyValue(const Value& value) {
  if (isNull(value)) return true;
  const auto* text = std::get_if<std::string>(&value);
  return text && text->empty();
}

int compareValues(const Value& left, const Value& right) {
  const int leftRank = rank(left);
  const int rightRank = rank(right);
  if (leftRank != rightRank) return leftRank < rightRank ? -1 : 1;
  if (leftRank == 0) return 0;
  if (leftRank == 2) {
    const int order = std::get<std::string>(left).compare(std::get<std::string>(right));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
  }
  const auto* leftInteger = std::get_if<std::int64_t>(&left);
  const auto* rightInteger = std::get_if<std::int64_t>(&right);
  if (leftInteger && rightInteger) return *leftInteger < *rightInteger ? -1 : (*leftInteger > *rightInteger ? 1 : 0);
  const double a = numeric(left);
  const double b = numeric(right);
  return a < b ? -1 : (a > b ? 1 : 0);
}

FilterExpression FilterExpression::parse(std::string_view text, const Resolver& resolve, const std::string& dataset) {
  Parser parser(Tokenizer(text, dataset).tokens(), resolve, dataset, text);
  return FilterExpression(parser.parse());
}

FilterExpression::FilterExpression(std::unique_ptr<Node> root) : root_(std::move(root)) {}
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;
FilterExpression::~FilterExpression() = default;

std::string FilterExpression::sql() const { return toSql(*root_); }

std::vector<Value> FilterExpression::parameters() const {
  std::vector<Value> parameters;
  collectParameters(*root_, parameters);
  return parameters;
}

bool FilterExpression::matches(const Row& row) const { return evaluate(*root_, row); }

}  // namespace engine
