// The header of a DBF data file: 32 fixed bytes, 32 bytes per field descriptor, 0x0D.
//
//   0      version (0x03 without memo, 0xF5 with an FPT memo file, 0x83 with a DBT memo file)
//   1..3   date of the last update: year - 1900, month, day
//   4..7   record count (little endian)
//   8..9   header length: where the first record starts
//   10..11 record length, deleted flag included
//   29     language driver (0x02 = code page 850)
//   32..   field descriptors: name (11 bytes, NUL padded), type, displacement in the record
//          (4 bytes), length, decimals; a C field wider than 255 keeps the high byte of its
//          length in the decimals byte
//
// Records follow the header; each starts with ' ' (live) or '*' (deleted); 0x1A follows the
// last counted record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/date.h"
#include "dbf/schema.h"

namespace kx::dbf {

inline constexpr int kFixedHeader = 32;
inline constexpr int kDescriptorSize = 32;
inline constexpr char kFieldTerminator = 0x0D;
inline constexpr char kEndOfData = 0x1A;
inline constexpr uint8_t kVersionPlain = 0x03;
inline constexpr uint8_t kVersionFpt = 0xF5;
inline constexpr uint8_t kCodePage850 = 0x02;

struct DbfHeader {
  uint8_t version = kVersionPlain;
  Date last_update;
  uint32_t record_count = 0;
  int header_length = 0;
  int record_length = 0;
  uint8_t code_page = kCodePage850;
  Schema schema;

  int64_t record_offset(uint32_t recno) const {  // recno 1-based
    return header_length + int64_t{recno - 1} * record_length;
  }
  int64_t data_end() const { return header_length + int64_t{record_count} * record_length; }
};

// Position of the record count inside the header (4 bytes, little endian).
inline constexpr int kCountOffset = 4;

// The first `kFixedHeader` bytes are enough to know the header length.
int header_length_of(std::string_view first_bytes);

// Parses a whole header (at least header_length bytes). Throws std::invalid_argument naming
// the fault for anything that is not a sound header: short bytes, bad lengths, a descriptor
// list without terminator, unknown field types, a record length that is not the sum of the
// widths.
DbfHeader parse_header(std::string_view bytes);

// The header bytes of a new table (header length 32 + 32 * fields + 1).
std::string encode_header(const DbfHeader& header);

// The 7 bytes at offset 1: date and record count, as rewritten after appends.
std::string encode_date_and_count(Date last_update, uint32_t record_count);

}  // namespace kx::dbf
