#include "dbf/dbf_header.h"

#include <stdexcept>
#include <vector>

namespace kx::dbf {
namespace {

uint32_t le32(std::string_view b, int at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
int le16(std::string_view b, int at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}
void put_le(std::string& b, int at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

Date header_date(std::string_view b) {
  // Other writers store years past 1999 as 100+ or, wrongly, as 0..99; both read as 2000+.
  int yy = static_cast<uint8_t>(b[1]);
  int year = yy < 80 ? 2000 + yy : 1900 + yy;
  return Date::from_ymd(year, static_cast<uint8_t>(b[2]), static_cast<uint8_t>(b[3]))
      .value_or(Date());
}

}  // namespace

int header_length_of(std::string_view first_bytes) {
  if (first_bytes.size() < kFixedHeader) throw std::invalid_argument("header shorter than 32 bytes");
  return le16(first_bytes, 8);
}

DbfHeader parse_header(std::string_view b) {
  if (b.size() < kFixedHeader) throw std::invalid_argument("header shorter than 32 bytes");
  DbfHeader h;
  h.version = static_cast<uint8_t>(b[0]);
  h.last_update = header_date(b);
  h.record_count = le32(b, kCountOffset);
  h.header_length = le16(b, 8);
  h.record_length = le16(b, 10);
  h.code_page = static_cast<uint8_t>(b[29]);
  if (h.header_length < kFixedHeader + kDescriptorSize + 1)
    throw std::invalid_argument("header length " + std::to_string(h.header_length) + " too small");
  if (b.size() < static_cast<std::size_t>(h.header_length))
    throw std::invalid_argument("file shorter than its header length");

  std::vector<Field> fields;
  int at = kFixedHeader;
  for (;;) {
    if (at >= h.header_length) throw std::invalid_argument("field descriptors without terminator");
    if (b[at] == kFieldTerminator) break;
    if (at + kDescriptorSize > h.header_length)
      throw std::invalid_argument("field descriptor cut by the header length");
    std::string_view d = b.substr(at, kDescriptorSize);
    Field f;
    std::string_view name = d.substr(0, 11);
    f.name = std::string(name.substr(0, name.find('\0')));
    char type = d[11];
    int length = static_cast<uint8_t>(d[16]);
    int decimals = static_cast<uint8_t>(d[17]);
    switch (type) {
      case 'C':
        f.type = FieldType::character;
        length |= decimals << 8;
        decimals = 0;
        break;
      case 'N': f.type = FieldType::numeric; break;
      case 'D': f.type = FieldType::date; break;
      case 'L': f.type = FieldType::logical; break;
      case 'M': f.type = FieldType::memo; break;
      default:
        throw std::invalid_argument("field " + f.name + ": unsupported type '" +
                                    std::string(1, type) + "'");
    }
    f.width = length;
    f.decimals = decimals;
    fields.push_back(std::move(f));
    at += kDescriptorSize;
  }
  h.schema = Schema(std::move(fields));  // validates names, widths and the field count
  if (h.schema.record_length() != h.record_length)
    throw std::invalid_argument("record length " + std::to_string(h.record_length) +
                                " differs from the fields' widths (" +
                                std::to_string(h.schema.record_length()) + ")");
  return h;
}

std::string encode_date_and_count(Date last_update, uint32_t record_count) {
  std::string b(7, '\0');
  if (!last_update.empty()) {
    b[0] = static_cast<char>(last_update.year() - 1900);
    b[1] = static_cast<char>(last_update.month());
    b[2] = static_cast<char>(last_update.day());
  }
  put_le(b, 3, record_count, 4);
  return b;
}

std::string encode_header(const DbfHeader& h) {
  const auto& fields = h.schema.fields();
  int length = kFixedHeader + kDescriptorSize * static_cast<int>(fields.size()) + 1;
  std::string b(length, '\0');
  b[0] = static_cast<char>(h.version);
  b.replace(1, 7, encode_date_and_count(h.last_update, h.record_count));
  put_le(b, 8, length, 2);
  put_le(b, 10, h.schema.record_length(), 2);
  b[29] = static_cast<char>(h.code_page);
  int at = kFixedHeader;
  for (const Field& f : fields) {
    b.replace(at, f.name.size(), f.name);
    b[at + 11] = static_cast<char>(f.type);
    put_le(b, at + 12, f.offset, 4);
    b[at + 16] = static_cast<char>(f.width & 0xFF);
    b[at + 17] = static_cast<char>(f.type == FieldType::character ? f.width >> 8 : f.decimals);
    at += kDescriptorSize;
  }
  b[at] = kFieldTerminator;
  return b;
}

}  // namespace kx::dbf
