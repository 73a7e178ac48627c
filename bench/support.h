// What the benchmarks share: tables of a given size made once and kept between runs, and the
// plain read() baselines they are measured beside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "dbf/table.h"

namespace kx::bench {

// Where benchmark tables are kept: $KX_BENCH_DATA, or bench-data in the build folder.
std::string data_folder();

// The fields of the benchmark tables: CPF C 11 (unique, in no particular order), NOME C 40,
// VALOR N 14,2, DATA D.
dbf::Schema people_schema();
// The three index expressions of the benchmark tables.
std::vector<std::string> people_index_exprs();
// The record for number `i` (0-based) of a table of `schema`.
std::string people_record(const dbf::Table& table, uint32_t i);
std::string cpf_of(uint32_t i);

// PEOPLE_<n>.DBF with n records and its three index files (PEOPLE_<n>.CDX, ...B, ...C), made
// the first time and reused after. Returns the table's path.
std::string people_table(uint32_t n);
// The index specs of people_table(n).
std::vector<dbf::IndexSpec> people_indexes(uint32_t n);

// <prefix>_<n>: a work folder of n generated declarations (seed 1), made the first time and
// reused after. Returns its path.
std::string generated_folder(const std::string& prefix, int n);

// Baselines: the whole file read with read() in blocks of 1 MiB (returns the bytes read), and
// `n` bytes read with pread() at `offset` from a descriptor opened for it.
int64_t read_whole(const std::string& path);
int64_t pread_bytes(int fd, int64_t offset, std::size_t n, char* buffer);
// The baseline benchmark of a file's bytes: people_table(records) read whole with read_whole().
void BM_ReadBaseline(benchmark::State& state, uint32_t records);

}  // namespace kx::bench
