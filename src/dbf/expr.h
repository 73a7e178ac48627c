// Index key expressions: parsed once, evaluated on record bytes.
// Grammar: term ("+" term)*; term = field name (any case) | "string" | 'string' | number |
// FUNC "(" args ")" with UPPER, STR(n[,w[,d]]) (default width 10, 0 decimals), STRZERO(n,w[,d]),
// DTOS, DTOC, SUBSTR, LEFT, RIGHT, TRIM/RTRIM, ALLTRIM. "+" concatenates character
// values and adds numbers.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "dbf/schema.h"

namespace kx::dbf {

class ExprError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class KeyType { character, numeric, date, logical };

class KeyExpr {
 public:
  // Throws ExprError naming the problem (unknown field, unknown function, bad syntax).
  static KeyExpr parse(std::string_view text, const Schema& schema);

  const std::string& text() const { return text_; }
  KeyType type() const;
  // Width in bytes of every key this expression produces.
  int width() const;
  // The key of a record, exactly width() bytes. Character keys are the CP850 text and compare
  // with the Portuguese collation; numeric keys (a bare numeric field) are encoded so that plain
  // byte order is numeric order; date keys are "YYYYMMDD".
  std::string eval(const RecordView& record) const;
  // The same key appended to `out` (exactly width() bytes), for building many keys in one
  // buffer without an allocation per key.
  void append_key(const RecordView& record, std::string& out) const;
  // Turns a value typed by a person or a program into a key to seek: character keys are taken as
  // given (a prefix is allowed); numeric keys parse a dBASE number; date keys take YYYYMMDD or
  // dd/mm/yyyy. Throws ExprError when the text does not fit the type.
  std::string key_from_text(std::string_view text) const;
  // Compares two keys of this expression (collation for character keys, bytes otherwise). A key
  // shorter than width() compares as a prefix: equal to every key that begins with it. For
  // character keys "begins with" goes by collation weight, accents aside ("JOSE" matches
  // "JOSÉ SILVA"), since the keys a prefix matches must form one run in key order.
  int compare(std::string_view a, std::string_view b) const;

  KeyExpr(KeyExpr&&) noexcept;
  KeyExpr& operator=(KeyExpr&&) noexcept;
  ~KeyExpr();

  struct Node;

 private:
  KeyExpr();
  std::string text_;
  std::unique_ptr<Node> root_;
};

}  // namespace kx::dbf
