#include "dbf/expr.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "base/collate.h"
#include "base/text.h"
#include "dbf/expr_node.h"

namespace kx::dbf {
namespace {

constexpr int kMaxKeyWidth = 1024;
constexpr int kNumericKeyWidth = 8;

// Recursive descent over the expression text:
//   expr = term { "+" term } ;  term = string | number | name [ "(" [ expr { "," expr } ] ")" ]
//        | "(" expr ")"
class Parser {
 public:
  Parser(std::string_view text, const Schema& schema) : text_(text), schema_(schema) {}

  expr::NodePtr parse() {
    auto node = expression();
    skip_blanks();
    if (pos_ < text_.size()) fail("unexpected \"" + std::string(1, text_[pos_]) + "\"");
    return node;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw ExprError("key expression \"" + std::string(text_) + "\": " + what + " at position " +
                    std::to_string(pos_ + 1));
  }

  void skip_blanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool accept(char c) {
    skip_blanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void expect(char c) {
    if (!accept(c)) fail(std::string("\"") + c + "\" expected");
  }

  expr::NodePtr expression() {
    auto node = term();
    while (accept('+')) {
      try {
        node = expr::plus(std::move(node), term());
      } catch (const ExprError& e) {
        fail(e.what());
      }
    }
    return node;
  }

  expr::NodePtr term() {
    skip_blanks();
    if (pos_ >= text_.size()) fail("value expected");
    char c = text_[pos_];
    if (c == '"' || c == '\'') return string_literal(c);
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return number();
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') return name();
    if (accept('(')) {
      auto node = expression();
      expect(')');
      return node;
    }
    fail("unexpected \"" + std::string(1, c) + "\"");
  }

  expr::NodePtr string_literal(char quote) {
    std::size_t end = text_.find(quote, pos_ + 1);
    if (end == std::string_view::npos) fail("unterminated text");
    std::string value(text_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
    return expr::text_literal(std::move(value));
  }

  expr::NodePtr number() {
    std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
      ++pos_;
    auto value = Decimal::parse(text_.substr(start, pos_ - start));
    if (!value) fail("bad number");
    return expr::number_literal(*value);
  }

  expr::NodePtr name() {
    std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
      ++pos_;
    std::string_view id = text_.substr(start, pos_ - start);
    if (accept('(')) {
      std::vector<expr::NodePtr> args;
      if (!accept(')')) {
        do args.push_back(expression());
        while (accept(','));
        expect(')');
      }
      try {
        return expr::call(id, std::move(args));
      } catch (const ExprError& e) {
        pos_ = start;
        fail(e.what());
      }
    }
    const Field* f = schema_.find(id);
    if (!f) {
      pos_ = start;
      fail("unknown field " + std::string(id));
    }
    try {
      return expr::field(*f);
    } catch (const ExprError& e) {
      pos_ = start;
      fail(e.what());
    }
  }

  std::string_view text_;
  const Schema& schema_;
  std::size_t pos_ = 0;
};

// Numbers as 8 bytes whose byte order is numeric order: the mantissa at the key's scale,
// big-endian, with the sign bit flipped.
void encode_number(Decimal value, int decimals, char* out) {
  int64_t m;
  try {
    m = value.with_scale(decimals).mantissa();
  } catch (const DecimalOverflow&) {
    m = value.negative() ? INT64_MIN : INT64_MAX;
  }
  uint64_t u = static_cast<uint64_t>(m) ^ (uint64_t{1} << 63);
  for (int i = 7; i >= 0; --i) {
    out[i] = static_cast<char>(u & 0xFF);
    u >>= 8;
  }
}

}  // namespace

KeyExpr::KeyExpr() = default;
KeyExpr::KeyExpr(KeyExpr&&) noexcept = default;
KeyExpr& KeyExpr::operator=(KeyExpr&&) noexcept = default;
KeyExpr::~KeyExpr() = default;

KeyExpr KeyExpr::parse(std::string_view text, const Schema& schema) {
  KeyExpr e;
  e.text_ = std::string(text);
  e.root_ = Parser(text, schema).parse();
  if (e.root_->type == KeyType::character && (e.root_->width < 1 || e.root_->width > kMaxKeyWidth))
    throw ExprError("key expression \"" + e.text_ + "\": a key must be 1 to " +
                    std::to_string(kMaxKeyWidth) + " bytes wide");
  return e;
}

KeyType KeyExpr::type() const { return root_->type; }

int KeyExpr::width() const {
  switch (root_->type) {
    case KeyType::character: return root_->width;
    case KeyType::numeric: return kNumericKeyWidth;
    case KeyType::date: return 8;
    case KeyType::logical: return 1;
  }
  return 0;
}

std::string KeyExpr::eval(const RecordView& record) const {
  std::string key;
  key.reserve(width());
  append_key(record, key);
  return key;
}

void KeyExpr::append_key(const RecordView& record, std::string& out) const {
  const std::size_t at = out.size();
  switch (root_->type) {
    case KeyType::character:
      root_->append_text(record, out);
      out.resize(at + root_->width, ' ');  // a trimmed value is padded back to the key's width
      break;
    case KeyType::numeric:
      out.resize(at + kNumericKeyWidth);
      encode_number(root_->number(record), root_->decimals, out.data() + at);
      break;
    case KeyType::date:
      out += root_->date(record).dtos();
      break;
    case KeyType::logical:
      out += root_->logical(record) ? 'T' : 'F';
      break;
  }
}

std::string KeyExpr::key_from_text(std::string_view text) const {
  switch (root_->type) {
    case KeyType::character:
      return std::string(text.substr(0, root_->width));
    case KeyType::numeric: {
      auto value = Decimal::parse(text);
      if (!value) throw ExprError("\"" + std::string(text) + "\" is not a number");
      // A value finer than the key would seek a neighbour instead of itself.
      if (value->round(root_->decimals) != *value)
        throw ExprError("\"" + std::string(text) + "\" has more decimals than the key");
      std::string key(kNumericKeyWidth, '\0');
      encode_number(*value, root_->decimals, key.data());
      return key;
    }
    case KeyType::date: {
      auto d = text.find('/') != std::string_view::npos ? Date::parse_dmy(text) : Date::parse_dtos(text);
      if (!d) throw ExprError("\"" + std::string(text) + "\" is not a date");
      return d->dtos();
    }
    case KeyType::logical: {
      auto t = text::trim(text);
      if (t.size() == 3 && t[0] == '.' && t[2] == '.') t = t.substr(1, 1);
      if (t.size() == 1 && std::strchr("TtYy", t[0])) return "T";
      if (t.size() == 1 && std::strchr("FfNn", t[0])) return "F";
      throw ExprError("\"" + std::string(text) + "\" is not a logical value");
    }
  }
  return {};
}

int KeyExpr::compare(std::string_view a, std::string_view b) const {
  const auto w = static_cast<std::size_t>(width());
  const bool prefix = a.size() < w || b.size() < w;
  if (root_->type != KeyType::character) {
    std::size_t n = prefix ? std::min(a.size(), b.size()) : w;
    return std::memcmp(a.data(), b.data(), n);
  }
  if (!prefix) return collate::compare(a, b);
  // A prefix matches every key that starts with the same letters by collation weight: the
  // collation orders by weights first, so the keys a prefix matches are one run in key order.
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int wa = collate::weight(static_cast<unsigned char>(a[i]));
    int wb = collate::weight(static_cast<unsigned char>(b[i]));
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return 0;
}

}  // namespace kx::dbf
