#include "dbf/expr_node.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/cp850.h"

namespace kx::dbf {

void KeyExpr::Node::append_text(const RecordView&, std::string&) const {}
Decimal KeyExpr::Node::number(const RecordView&) const { return Decimal(); }
Date KeyExpr::Node::date(const RecordView&) const { return Date(); }
bool KeyExpr::Node::logical(const RecordView&) const { return false; }

namespace expr {
namespace {

using Node = KeyExpr::Node;

const char* type_name(KeyType t) {
  switch (t) {
    case KeyType::character: return "character";
    case KeyType::numeric: return "numeric";
    case KeyType::date: return "date";
    case KeyType::logical: return "logical";
  }
  return "?";
}

// Writes `value` rounded half away from zero to `decimals` places in dBASE form ("-12.50").
// Returns the length, or -1 when the value does not fit 64 bits at that scale.
int format_fixed(Decimal value, int decimals, char* out) {
  int64_t m;
  try {
    m = value.with_scale(decimals).mantissa();
  } catch (const DecimalOverflow&) {
    return -1;
  }
  bool negative = m < 0;
  uint64_t u = negative ? 0 - static_cast<uint64_t>(m) : static_cast<uint64_t>(m);
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  while (n < decimals + 1) digits[n++] = '0';
  int len = 0;
  if (negative) out[len++] = '-';
  for (int i = n - 1; i >= 0; --i) {
    out[len++] = digits[i];
    if (i == decimals && decimals > 0) out[len++] = '.';
  }
  return len;
}

void append_digits(std::string& out, int value, int width) {
  char buf[8];
  for (int i = width - 1; i >= 0; --i) {
    buf[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(buf, width);
}

class FieldNode : public Node {
 public:
  explicit FieldNode(const Field& f) : field_(f) {
    width = f.width;
    decimals = f.decimals;
    switch (f.type) {
      case FieldType::character: type = KeyType::character; break;
      case FieldType::numeric: type = KeyType::numeric; break;
      case FieldType::date: type = KeyType::date; break;
      case FieldType::logical: type = KeyType::logical; break;
      case FieldType::memo: throw ExprError("memo field " + f.name + " cannot be part of a key");
    }
  }
  void append_text(const RecordView& r, std::string& out) const override {
    out.append(r.raw(field_));
  }
  Decimal number(const RecordView& r) const override { return r.number(field_); }
  Date date(const RecordView& r) const override { return r.date(field_); }
  bool logical(const RecordView& r) const override { return r.logical(field_); }

 private:
  Field field_;
};

class TextLiteral : public Node {
 public:
  explicit TextLiteral(std::string text) : text_(std::move(text)) {
    width = static_cast<int>(text_.size());
  }
  void append_text(const RecordView&, std::string& out) const override { out.append(text_); }

 private:
  std::string text_;
};

class NumberLiteral : public Node {
 public:
  explicit NumberLiteral(Decimal v) : value_(v) {
    type = KeyType::numeric;
    decimals = v.scale();
  }
  Decimal number(const RecordView&) const override { return value_; }
  std::optional<Decimal> constant() const override { return value_; }

 private:
  Decimal value_;
};

class Concat : public Node {
 public:
  Concat(NodePtr l, NodePtr r) : l_(std::move(l)), r_(std::move(r)) { width = l_->width + r_->width; }
  void append_text(const RecordView& rec, std::string& out) const override {
    l_->append_text(rec, out);
    r_->append_text(rec, out);
  }

 private:
  NodePtr l_, r_;
};

class Sum : public Node {
 public:
  Sum(NodePtr l, NodePtr r) : l_(std::move(l)), r_(std::move(r)) {
    type = KeyType::numeric;
    decimals = std::max(l_->decimals, r_->decimals);
  }
  Decimal number(const RecordView& rec) const override { return l_->number(rec) + r_->number(rec); }

 private:
  NodePtr l_, r_;
};

// A function of one character value that rewrites what its argument appended.
class TextFunction : public Node {
 public:
  enum class Kind { upper, lower, rtrim, ltrim, alltrim, substr, right };
  TextFunction(Kind kind, NodePtr arg, int start = 1, int length = 0)
      : kind_(kind), arg_(std::move(arg)), start_(start), length_(length) {
    switch (kind_) {
      case Kind::substr: width = std::clamp(arg_->width - (start_ - 1), 0, length_); break;
      case Kind::right: width = std::min(arg_->width, length_); break;
      default: width = arg_->width;
    }
  }
  void append_text(const RecordView& rec, std::string& out) const override {
    std::size_t begin = out.size();
    arg_->append_text(rec, out);
    std::size_t n = out.size() - begin;
    switch (kind_) {
      case Kind::upper:
      case Kind::lower:
        for (std::size_t i = begin; i < out.size(); ++i) {
          auto b = static_cast<unsigned char>(out[i]);
          out[i] = static_cast<char>(kind_ == Kind::upper ? cp850::upper(b) : cp850::lower(b));
        }
        break;
      case Kind::rtrim:
        while (out.size() > begin && out.back() == ' ') out.pop_back();
        break;
      case Kind::ltrim:
      case Kind::alltrim: {
        std::size_t lead = 0;
        while (lead < n && out[begin + lead] == ' ') ++lead;
        out.erase(begin, lead);
        if (kind_ == Kind::alltrim)
          while (out.size() > begin && out.back() == ' ') out.pop_back();
        break;
      }
      case Kind::substr: {
        std::size_t skip = std::min(n, static_cast<std::size_t>(start_ - 1));
        std::size_t keep = std::min(n - skip, static_cast<std::size_t>(length_));
        out.erase(begin, skip);
        out.resize(begin + keep);
        break;
      }
      case Kind::right: {
        std::size_t keep = std::min(n, static_cast<std::size_t>(length_));
        out.erase(begin, n - keep);
        break;
      }
    }
  }

 private:
  Kind kind_;
  NodePtr arg_;
  int start_, length_;
};

// STR(n, w, d) and STRZERO(n, w, d): right-aligned in w bytes, w asterisks when too wide.
class NumberText : public Node {
 public:
  NumberText(NodePtr arg, int w, int d, bool zeros) : arg_(std::move(arg)), decimals_(d), zeros_(zeros) {
    width = w;
  }
  void append_text(const RecordView& rec, std::string& out) const override {
    char buf[32];
    int len = format_fixed(arg_->number(rec), decimals_, buf);
    if (len < 0 || len > width) {
      out.append(width, '*');
    } else if (!zeros_) {
      out.append(width - len, ' ').append(buf, len);
    } else if (buf[0] == '-') {
      out.push_back('-');
      out.append(width - len, '0').append(buf + 1, len - 1);
    } else {
      out.append(width - len, '0').append(buf, len);
    }
  }

 private:
  NodePtr arg_;
  int decimals_;
  bool zeros_;
};

// DTOS: "YYYYMMDD"; DTOC: "dd/mm/yyyy". The empty date gives blanks in the same shape.
class DateText : public Node {
 public:
  DateText(NodePtr arg, bool dmy) : arg_(std::move(arg)), dmy_(dmy) { width = dmy ? 10 : 8; }
  void append_text(const RecordView& rec, std::string& out) const override {
    Date d = arg_->date(rec);
    if (d.empty()) {
      out.append(dmy_ ? "  /  /    " : "        ");
    } else if (dmy_) {
      append_digits(out, d.day(), 2);
      out.push_back('/');
      append_digits(out, d.month(), 2);
      out.push_back('/');
      append_digits(out, d.year(), 4);
    } else {
      append_digits(out, d.year(), 4);
      append_digits(out, d.month(), 2);
      append_digits(out, d.day(), 2);
    }
  }

 private:
  NodePtr arg_;
  bool dmy_;
};

// An integer constant argument within [lo, hi].
int constant_arg(const std::vector<NodePtr>& args, std::size_t i, const char* fn, int lo, int hi) {
  auto c = args[i]->constant();
  if (!c || c->round(0) != *c)
    throw ExprError(std::string(fn) + ": argument " + std::to_string(i + 1) + " must be a whole number");
  int64_t v = c->to_int();
  if (v < lo || v > hi)
    throw ExprError(std::string(fn) + ": argument " + std::to_string(i + 1) + " out of range");
  return static_cast<int>(v);
}

void expect_type(const NodePtr& arg, KeyType t, const char* fn) {
  if (arg->type != t)
    throw ExprError(std::string(fn) + " needs a " + type_name(t) + " argument, not " + type_name(arg->type));
}

struct Function {
  const char* name;
  std::size_t min_args, max_args;
  NodePtr (*make)(std::vector<NodePtr>& args);
};

constexpr int kMaxTextWidth = 1024;

NodePtr make_text_function(TextFunction::Kind kind, const char* fn, std::vector<NodePtr>& a) {
  expect_type(a[0], KeyType::character, fn);
  return std::make_unique<TextFunction>(kind, std::move(a[0]));
}

NodePtr make_str(std::vector<NodePtr>& a, bool zeros, const char* fn) {
  expect_type(a[0], KeyType::numeric, fn);
  int w = a.size() > 1 ? constant_arg(a, 1, fn, 1, 64) : 10;
  int d = a.size() > 2 ? constant_arg(a, 2, fn, 0, Decimal::kMaxScale) : 0;
  return std::make_unique<NumberText>(std::move(a[0]), w, d, zeros);
}

const Function kFunctions[] = {
    {"UPPER", 1, 1, [](auto& a) { return make_text_function(TextFunction::Kind::upper, "UPPER", a); }},
    {"LOWER", 1, 1, [](auto& a) { return make_text_function(TextFunction::Kind::lower, "LOWER", a); }},
    {"TRIM", 1, 1, [](auto& a) { return make_text_function(TextFunction::Kind::rtrim, "TRIM", a); }},
    {"RTRIM", 1, 1, [](auto& a) { return make_text_function(TextFunction::Kind::rtrim, "RTRIM", a); }},
    {"LTRIM", 1, 1, [](auto& a) { return make_text_function(TextFunction::Kind::ltrim, "LTRIM", a); }},
    {"ALLTRIM", 1, 1, [](auto& a) { return make_text_function(TextFunction::Kind::alltrim, "ALLTRIM", a); }},
    {"SUBSTR", 2, 3,
     [](auto& a) -> NodePtr {
       expect_type(a[0], KeyType::character, "SUBSTR");
       int start = constant_arg(a, 1, "SUBSTR", 1, kMaxTextWidth);
       int len = a.size() > 2 ? constant_arg(a, 2, "SUBSTR", 0, kMaxTextWidth) : kMaxTextWidth;
       return std::make_unique<TextFunction>(TextFunction::Kind::substr, std::move(a[0]), start, len);
     }},
    {"LEFT", 2, 2,
     [](auto& a) -> NodePtr {
       expect_type(a[0], KeyType::character, "LEFT");
       int len = constant_arg(a, 1, "LEFT", 0, kMaxTextWidth);
       return std::make_unique<TextFunction>(TextFunction::Kind::substr, std::move(a[0]), 1, len);
     }},
    {"RIGHT", 2, 2,
     [](auto& a) -> NodePtr {
       expect_type(a[0], KeyType::character, "RIGHT");
       int len = constant_arg(a, 1, "RIGHT", 0, kMaxTextWidth);
       return std::make_unique<TextFunction>(TextFunction::Kind::right, std::move(a[0]), 1, len);
     }},
    {"STR", 1, 3, [](auto& a) { return make_str(a, false, "STR"); }},
    {"STRZERO", 1, 3, [](auto& a) { return make_str(a, true, "STRZERO"); }},
    {"DTOS", 1, 1,
     [](auto& a) -> NodePtr {
       expect_type(a[0], KeyType::date, "DTOS");
       return std::make_unique<DateText>(std::move(a[0]), false);
     }},
    {"DTOC", 1, 1,
     [](auto& a) -> NodePtr {
       expect_type(a[0], KeyType::date, "DTOC");
       return std::make_unique<DateText>(std::move(a[0]), true);
     }},
};

bool name_matches(std::string_view full, std::string_view given) {
  if (given.size() > full.size() || (given.size() < full.size() && given.size() < 4)) return false;
  for (std::size_t i = 0; i < given.size(); ++i)
    if (cp850::upper(static_cast<unsigned char>(given[i])) != static_cast<unsigned char>(full[i]))
      return false;
  return true;
}

}  // namespace

NodePtr field(const Field& f) { return std::make_unique<FieldNode>(f); }
NodePtr text_literal(std::string cp850) { return std::make_unique<TextLiteral>(std::move(cp850)); }
NodePtr number_literal(Decimal value) { return std::make_unique<NumberLiteral>(value); }

NodePtr plus(NodePtr left, NodePtr right) {
  if (left->type == KeyType::character && right->type == KeyType::character)
    return std::make_unique<Concat>(std::move(left), std::move(right));
  if (left->type == KeyType::numeric && right->type == KeyType::numeric)
    return std::make_unique<Sum>(std::move(left), std::move(right));
  throw ExprError(std::string("\"+\" cannot join a ") + type_name(left->type) + " and a " +
                  type_name(right->type) + " value");
}

NodePtr call(std::string_view name, std::vector<NodePtr> args) {
  for (const Function& f : kFunctions) {
    if (!name_matches(f.name, name)) continue;
    if (args.size() < f.min_args || args.size() > f.max_args)
      throw ExprError(std::string(f.name) + ": wrong number of arguments");
    return f.make(args);
  }
  throw ExprError("unknown function " + std::string(name));
}

}  // namespace expr
}  // namespace kx::dbf
