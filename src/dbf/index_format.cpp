#include "dbf/index_format.h"

namespace kx::dbf::index {
namespace {

// Offsets of the header fields.
enum : int {
  kOffMagic = 0,
  kOffVersion = 8,
  kOffPageSize = 12,
  kOffKeyWidth = 16,
  kOffUnfinished = 20,
  kOffGeneration = 24,
  kOffEntryCount = 32,
  kOffRoot = 40,
  kOffPageCount = 44,
  kOffFreeHead = 48,
  kOffHeight = 52,
  kOffSigRecords = 56,
  kOffSigSize = 64,
  kOffSigMtime = 72,
  kOffExprLength = 80,
  kOffChecksum = 88,
};

}  // namespace

uint64_t checksum(const uint8_t* p, std::size_t n) {
  uint64_t h = 0xcbf29ce484222325ULL;
  for (std::size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 0x100000001b3ULL;
  }
  return h;
}

std::string Header::encode() const {
  std::string out(kHeaderFixed + expr_text.size(), '\0');
  auto* b = reinterpret_cast<uint8_t*>(out.data());
  std::memcpy(b + kOffMagic, kMagic, sizeof kMagic);
  put<uint32_t>(b + kOffVersion, kVersion);
  put<uint32_t>(b + kOffPageSize, kPageSize);
  put<uint32_t>(b + kOffKeyWidth, key_width);
  put<uint32_t>(b + kOffUnfinished, unfinished ? 1 : 0);
  put<uint64_t>(b + kOffGeneration, generation);
  put<uint64_t>(b + kOffEntryCount, entry_count);
  put<uint32_t>(b + kOffRoot, root);
  put<uint32_t>(b + kOffPageCount, page_count);
  put<uint32_t>(b + kOffFreeHead, free_head);
  put<uint32_t>(b + kOffHeight, height);
  put<uint32_t>(b + kOffSigRecords, signature.record_count);
  put<uint64_t>(b + kOffSigSize, signature.file_size);
  put<int64_t>(b + kOffSigMtime, signature.mtime_ns);
  put<uint32_t>(b + kOffExprLength, static_cast<uint32_t>(expr_text.size()));
  std::memcpy(b + kHeaderFixed, expr_text.data(), expr_text.size());
  put<uint64_t>(b + kOffChecksum, 0);
  put<uint64_t>(b + kOffChecksum, checksum(b, out.size()));
  return out;
}

HeaderCheck decode(std::string_view bytes, Header* out) {
  if (bytes.size() < static_cast<std::size_t>(kHeaderFixed) ||
      std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    return HeaderCheck::foreign;
  const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
  if (get<uint32_t>(b + kOffVersion) != kVersion || get<uint32_t>(b + kOffPageSize) != kPageSize)
    return HeaderCheck::foreign;
  uint32_t expr_length = get<uint32_t>(b + kOffExprLength);
  if (expr_length > static_cast<uint32_t>(kMaxExprLength) || kHeaderFixed + expr_length > bytes.size())
    return HeaderCheck::damaged;
  std::string copy(bytes.substr(0, kHeaderFixed + expr_length));
  auto* c = reinterpret_cast<uint8_t*>(copy.data());
  uint64_t stored = get<uint64_t>(c + kOffChecksum);
  put<uint64_t>(c + kOffChecksum, 0);
  if (checksum(c, copy.size()) != stored) return HeaderCheck::damaged;

  Header h;
  h.key_width = get<uint32_t>(b + kOffKeyWidth);
  uint32_t unfinished = get<uint32_t>(b + kOffUnfinished);
  h.unfinished = unfinished != 0;
  h.generation = get<uint64_t>(b + kOffGeneration);
  h.entry_count = get<uint64_t>(b + kOffEntryCount);
  h.root = get<uint32_t>(b + kOffRoot);
  h.page_count = get<uint32_t>(b + kOffPageCount);
  h.free_head = get<uint32_t>(b + kOffFreeHead);
  h.height = get<uint32_t>(b + kOffHeight);
  h.signature.record_count = get<uint32_t>(b + kOffSigRecords);
  h.signature.file_size = get<uint64_t>(b + kOffSigSize);
  h.signature.mtime_ns = get<int64_t>(b + kOffSigMtime);
  h.expr_text.assign(bytes.substr(kHeaderFixed, expr_length));
  if (unfinished > 1 || h.key_width < 1 || h.key_width > IndexFile::kMaxKeyWidth ||
      h.page_count < 2 || h.root < 1 || h.root >= h.page_count || h.free_head >= h.page_count ||
      h.height < 1 || h.height > kMaxHeight)
    return HeaderCheck::damaged;
  *out = std::move(h);
  return HeaderCheck::ok;
}

}  // namespace kx::dbf::index
