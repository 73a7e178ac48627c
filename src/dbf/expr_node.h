// The evaluation tree of a key expression. Private to expr.cpp and its nodes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/expr.h"

namespace kx::dbf {

// A node yields one value of its `type`. Character nodes append at most `width` bytes to a
// buffer shared by the whole evaluation, so evaluating allocates nothing once the buffer is warm.
struct KeyExpr::Node {
  KeyType type = KeyType::character;
  int width = 0;
  int decimals = 0;  // numeric nodes: decimals of the values (the widest of the operands)

  virtual ~Node() = default;
  virtual void append_text(const RecordView& record, std::string& out) const;
  virtual Decimal number(const RecordView& record) const;
  virtual Date date(const RecordView& record) const;
  virtual bool logical(const RecordView& record) const;
  // The value of a numeric literal (function arguments that fix widths must be constants).
  virtual std::optional<Decimal> constant() const { return std::nullopt; }
};

namespace expr {

using NodePtr = std::unique_ptr<KeyExpr::Node>;

// Throws ExprError for a memo field (no key can be made of it).
NodePtr field(const Field& field);
NodePtr text_literal(std::string cp850);
NodePtr number_literal(Decimal value);
// "+": concatenation of two character values or the sum of two numbers; ExprError otherwise.
NodePtr plus(NodePtr left, NodePtr right);
// A function by name (any case, or abbreviated to four letters or more as xBase allows).
// Throws ExprError for an unknown function or wrong arguments.
NodePtr call(std::string_view name, std::vector<NodePtr> args);

}  // namespace expr
}  // namespace kx::dbf
