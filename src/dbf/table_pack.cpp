// Pack and zap: the table is written anew beside itself and renamed over the old files.
//
// With a memo file the two files must change together, and two renames are not one step. The
// order is fixed so that what a killed process leaves can always be told apart:
//   1. "<memo>.pack" is written and flushed, then "<data>.pack" is written and flushed;
//   2. "<memo>.pack" is renamed over the memo file;
//   3. "<data>.pack" is renamed over the data file.
// On the next writing open, "<data>.pack" without "<memo>.pack" means step 2 happened and the
// old data file no longer matches the memo file: step 3 is done then. Any other leftover means
// the old files are intact: the leftovers are removed.
#include "dbf/table_impl.h"
#include "os/error.h"
#include "os/folder.h"
#include "os/path.h"

namespace kx::dbf {
void Table::Impl::finish_interrupted_pack() {
  const std::string new_data = pack_name(path);
  std::string memo_file;
  for (const char* ext : {".FPT", ".DBT"})
    if (auto found = os::find_nocase(memo_path_for(path, ext))) memo_file = *found;
  const std::string new_memo = memo_file.empty() ? std::string() : pack_name(memo_file);
  const bool data_left = os::file_exists(new_data);
  const bool memo_left = !new_memo.empty() && os::file_exists(new_memo);
  if (!data_left && !memo_left) return;
  if (read_only())
    throw TableError(TableError::Kind::damaged,
                     path + ": a pack was interrupted; a writing open finishes it");
  if (shared() && !os::try_lock(fd(), os::lock_offset::kOpenMode, 1, os::LockKind::exclusive))
    throw TableError(TableError::Kind::in_use, path + ": a pack was interrupted and the table is open");
  if (data_left && !memo_left && header.schema.has_memo()) {
    os::rename_file(new_data, path);
    repairs.push_back("finished an interrupted pack");
    data.close();
    if (!open_file(path)) throw TableError(TableError::Kind::in_use, path + ": in use");
    read_header();
    return;
  }
  if (data_left) os::remove_file(new_data);
  if (memo_left) os::remove_file(new_memo);
  repairs.push_back("removed the files of an interrupted pack");
  if (shared()) os::try_lock(fd(), os::lock_offset::kOpenMode, 1, os::LockKind::shared);
}

void Table::Impl::rewrite(bool keep_live_records) {
  if (!exclusive())
    throw TableError(TableError::Kind::exclusive, path + ": pack and zap need an exclusive open");
  commit();
  end_batch();
  const std::string new_data = pack_name(path);
  const std::string new_memo = memo ? pack_name(memo->path()) : std::string();
  struct Leftovers {
    std::string data, memo;
    bool done = false;
    ~Leftovers() {
      if (done) return;
      try {
        os::remove_file(data);
        if (!memo.empty()) os::remove_file(memo);
      } catch (const os::Error&) {  // the next writing open removes them
      }
    }
  } leftovers{new_data, new_memo};
  os::remove_file(new_data);
  if (memo) os::remove_file(new_memo);

  std::unique_ptr<MemoFile> packed_memo;
  if (memo) {
    os::File f = os::File::open(new_memo, os::File::Mode::create_new);
    const std::string empty = memo->kind() == MemoFile::Kind::fpt
                                  ? MemoFile::empty_fpt(memo->block_size())
                                  : MemoFile::empty_dbt();
    f.pwrite(empty.data(), empty.size(), 0);
    f.close();
    packed_memo = std::make_unique<MemoFile>(new_memo, memo->kind(), true);
  }

  os::File out = os::File::open(new_data, os::File::Mode::create_new);
  // The new inode is this open's before any other process can find it under the table's name.
  os::try_lock(out.fd(), os::lock_offset::kOpenMode, 1, os::LockKind::exclusive);
  std::string head(header.header_length, '\0');
  data.pread_exact(head.data(), head.size(), 0);

  std::vector<const Field*> memo_fields;
  for (const Field& f : header.schema.fields())
    if (f.type == FieldType::memo) memo_fields.push_back(&f);

  uint32_t kept = 0;
  std::string chunk;
  int64_t at = header.header_length;
  auto spill = [&] {
    out.pwrite(chunk.data(), chunk.size(), at);
    at += static_cast<int64_t>(chunk.size());
    chunk.clear();
  };
  if (keep_live_records) {
    read_blocks(1, header.record_count, [&](uint32_t, std::string_view bytes) {
      if (bytes[0] == '*') return true;
      std::string rec(bytes);
      for (const Field* f : memo_fields) {
        std::string text = memo_text(*f, bytes);
        std::string ref(f->width, ' ');
        if (!text.empty()) {
          uint32_t block = packed_memo->write(text);
          if (f->width == 4) {
            for (int i = 0; i < 4; ++i) ref[i] = static_cast<char>((block >> (8 * i)) & 0xFF);
          } else {
            std::string digits = std::to_string(block);
            ref.replace(f->width - digits.size(), digits.size(), digits);
          }
        }
        rec.replace(f->offset, f->width, ref);
      }
      chunk += rec;
      ++kept;
      if (chunk.size() >= 256 * 1024) spill();
      return true;
    });
  }
  chunk += kEndOfData;
  spill();
  head.replace(1, 7, encode_date_and_count(clock->today(), kept));
  out.pwrite(head.data(), head.size(), 0);
  out.fsync();
  if (packed_memo) packed_memo->fsync();

  if (packed_memo) os::rename_file(new_memo, memo->path());
  os::rename_file(new_data, path);
  leftovers.done = true;

  const std::string memo_file = memo ? memo->path() : std::string();
  data = std::move(out);  // the old file's descriptor closes, with its locks
  if (memo) memo = std::make_unique<MemoFile>(memo_file, memo->kind(), true);
  header.record_count = kept;
  header.last_update = clock->today();
  header_dirty = false;
  rebuild_all();
}

void Table::pack() {
  impl_->rewrite(true);
  go_top();
}

void Table::zap() {
  impl_->rewrite(false);
  go_top();
}

}  // namespace kx::dbf
