#include "dao/database.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstring>
#include <fstream>
#include <system_error>

#include "base/ascii_case.h"
#include "dao/error.h"
#include "jet_sql.h"
#include "jet_text.h"
#include "shell/folders.h"
#include "state.h"

namespace dao {

namespace detail {

sqlite3* DatabaseState::Handle() const {
  if (!db) Raise(err::kObjectClosed);
  return db.get();
}

// Defined with the recordsets.
std::shared_ptr<RecordsetState> OpenRows(const std::shared_ptr<DatabaseState>& database,
                                         std::string_view source, RecordsetType type);

}  // namespace detail

namespace {

constexpr std::string_view kPlainHeader{"SQLite format 3\0", 16};

std::string Password(std::string_view connect) {
  // ";pwd=secret", possibly after a type such as "Access 2000;" and among
  // other settings; keys without regard to case.
  std::size_t pos = 0;
  while (pos <= connect.size()) {
    std::size_t end = connect.find(';', pos);
    if (end == std::string_view::npos) end = connect.size();
    const std::string_view item = connect.substr(pos, end - pos);
    if (const auto eq = item.find('='); eq != std::string_view::npos) {
      std::string key;
      for (char c : item.substr(0, eq))
        if (!std::isspace(static_cast<unsigned char>(c))) key += c;
      if (base::EqualsIgnoreAsciiCase(key, "pwd")) return std::string(item.substr(eq + 1));
    }
    pos = end + 1;
  }
  return {};
}

int CollationCompare(void*, int lenA, const void* a, int lenB, const void* b) {
  return jet::Compare({static_cast<const char*>(a), static_cast<std::size_t>(lenA)},
                      {static_cast<const char*>(b), static_cast<std::size_t>(lenB)});
}

std::string_view ArgText(sqlite3_value* v) {
  const auto* text = reinterpret_cast<const char*>(sqlite::Api().sqlite3_value_text(v));
  return {text ? text : "", static_cast<std::size_t>(sqlite::Api().sqlite3_value_bytes(v))};
}

// like(pattern, text): the engine's LIKE (SQLite passes the pattern first).
void LikeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite::Api().sqlite3_value_type(argv[0]) == SQLITE_NULL ||
      sqlite::Api().sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite::Api().sqlite3_result_null(ctx);
    return;
  }
  const std::string pattern(ArgText(argv[0]));  // copy: the second read may move the first
  sqlite::Api().sqlite3_result_int(ctx, jet::Like(pattern, ArgText(argv[1])) ? 1 : 0);
}

void Prepare(sqlite3* db, bool exclusive) {
  sqlite::Api().sqlite3_extended_result_codes(db, 1);
  sqlite::Api().sqlite3_create_collation_v2(db, jet::kCollation, SQLITE_UTF8, nullptr,
                                            CollationCompare, nullptr);
  sqlite::Api().sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        LikeFunction, nullptr, nullptr);
  // Another shared writer may hold the write lock for a moment.
  sqlite::Api().sqlite3_busy_timeout(db, 250);
  sqlite::Run(db, "PRAGMA synchronous = FULL");
  // Also keeps out tools that use SQLite directly.
  if (exclusive) sqlite::Run(db, "PRAGMA locking_mode = EXCLUSIVE");
}

struct FileFacts {
  std::uintmax_t size = 0;
  bool plain = false;  // an unencrypted SQLite file
};

FileFacts Examine(const std::filesystem::path& path) {
  FileFacts facts;
  std::error_code ec;
  facts.size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  std::array<char, 16> header{};
  if (in.read(header.data(), header.size()))
    facts.plain = std::string_view(header.data(), header.size()) == kPlainHeader;
  return facts;
}

// An encrypted file is whole pages of noise; anything else that SQLite
// refuses is no database of ours.
bool LooksEncrypted(const FileFacts& facts) {
  return !facts.plain && facts.size >= 1024 && facts.size % 512 == 0;
}

void CheckFolder(const std::filesystem::path& path) {
  std::error_code ec;
  const auto folder = path.parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
    Raise(err::kInvalidPath, folder.string());
}

// Opens the connection and proves that the key reads the file.
sqlite::DbHandle Connect(std::string_view name, const std::filesystem::path& path, int flags,
                         const std::string& password, const FileFacts& facts) {
  sqlite3* raw = nullptr;
  const int rc = sqlite::Api().sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  sqlite::DbHandle db(raw);
  if (rc != SQLITE_OK) {
    if (access(path.c_str(), R_OK) != 0) Raise(err::kNoPermission, std::string(name));
    Raise(err::kCorrupt, std::string(name));
  }
  if (!password.empty() && !facts.plain)
    sqlite::Api().sqlite3_key(db.get(), password.data(), static_cast<int>(password.size()));
  sqlite3_stmt* probe = nullptr;
  int step = sqlite::Api().sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM sqlite_master", -1,
                                              &probe, nullptr);
  if (step == SQLITE_OK) {
    step = sqlite::Api().sqlite3_step(probe);
    if (step == SQLITE_ROW) step = SQLITE_OK;
  }
  sqlite::Api().sqlite3_finalize(probe);
  switch (step & 0xFF) {
    case SQLITE_OK:
      return db;
    case SQLITE_NOTADB:
      if (LooksEncrypted(facts)) Raise(err::kInvalidPassword);
      if (facts.plain) Raise(err::kCorrupt, std::string(name));
      Raise(err::kNotADatabase, std::string(name));
    case SQLITE_CORRUPT:
      Raise(err::kCorrupt, std::string(name));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      Raise(err::kFileInUse, std::string(name));
    default:
      sqlite::RaiseFor(db.get(), step);
  }
}

}  // namespace

Database OpenDatabase(std::string_view name, bool exclusive, bool readOnly,
                      std::string_view connect) {
  auto state = std::make_shared<detail::DatabaseState>();
  state->name = std::string(name);
  state->path = shell::NativePath(name);
  state->exclusive = exclusive;
  state->readOnly = readOnly;
  const std::filesystem::path& path = state->path;

  std::error_code ec;
  if (name.empty()) Raise(err::kFileNotFound, std::string(name));
  CheckFolder(path);
  if (!std::filesystem::exists(path, ec)) Raise(err::kFileNotFound, std::string(name));
  if (std::filesystem::is_directory(path, ec)) Raise(err::kNotADatabase, std::string(name));

  // One lock file for every name of the file (links, "./", relative paths).
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  switch (state->lock.Acquire(ec ? path : real,
                              exclusive ? FileLock::Mode::kExclusive : FileLock::Mode::kShared)) {
    case FileLock::Result::kLocked:
      break;
    case FileLock::Result::kBusy:
      Raise(exclusive ? err::kFileInUse : err::kHeldExclusively, std::string(name));
    case FileLock::Result::kNoLockFile:
      // A folder we cannot write to: reading needs no lock, but holding a
      // file for oneself does.
      if (exclusive && !readOnly) Raise(err::kNoPermission, std::string(name));
      break;
  }

  const FileFacts facts = Examine(path);
  if (facts.size == 0) Raise(err::kNotADatabase, std::string(name));
  const std::string password = Password(connect);
  if (!facts.plain && password.empty())
    Raise(LooksEncrypted(facts) ? err::kInvalidPassword : err::kNotADatabase, std::string(name));

  const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
  state->db = Connect(name, path, flags, password, facts);
  Prepare(state->db.get(), exclusive);
  return Database(std::move(state));
}

void ReleaseAllAtEnd() {
  FileLock::ReleaseAllAtEnd();
}

std::vector<Holder> Holders(std::string_view name) {
  const std::filesystem::path path = shell::NativePath(name);
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  std::vector<Holder> out;
  for (int pid : FileLock::Holders(ec ? path : real)) {
    Holder h{pid, {}, pid == static_cast<int>(getpid())};
    std::ifstream comm(std::filesystem::path("/proc") / std::to_string(pid) / "comm");
    std::getline(comm, h.program);
    out.push_back(std::move(h));
  }
  return out;
}

Database CreateDatabase(std::string_view name, std::string_view connect) {
  auto state = std::make_shared<detail::DatabaseState>();
  state->name = std::string(name);
  state->path = shell::NativePath(name);
  state->exclusive = true;
  const std::filesystem::path& path = state->path;
  CheckFolder(path);

  std::error_code ec;
  const std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
  if (state->lock.Acquire(ec ? path : real, FileLock::Mode::kExclusive) !=
      FileLock::Result::kLocked)
    Raise(err::kFileInUse, std::string(name));
  // Claim the name first, so that two makers cannot both think it theirs.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) Raise(err::kDatabaseExists);
    Raise(err::kNoPermission, std::string(name));
  }
  close(fd);

  try {
    sqlite3* raw = nullptr;
    const int rc = sqlite::Api().sqlite3_open_v2(
        path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    state->db.reset(raw);
    if (rc != SQLITE_OK) sqlite::RaiseFor(raw, rc);
    const std::string password = Password(connect);
    if (!password.empty())
      sqlite::Api().sqlite3_key(state->db.get(), password.data(),
                                static_cast<int>(password.size()));
    // Write the first page now: an empty file is no database yet.
    sqlite::Run(state->db.get(), "PRAGMA user_version = 1");
    Prepare(state->db.get(), true);
  } catch (...) {
    state->db.reset();
    std::error_code ec;
    std::filesystem::remove(path, ec);
    throw;
  }
  return Database(std::move(state));
}

detail::DatabaseState& Database::State() const {
  if (!state_) Raise(err::kObjectClosed);
  return *state_;
}

bool Database::IsOpen() const {
  return state_ && state_->db;
}

const std::string& Database::Name() const {
  return State().name;
}

bool Database::Exclusive() const {
  return State().exclusive;
}

bool Database::ReadOnly() const {
  return State().readOnly;
}

Recordset Database::OpenRecordset(std::string_view source, RecordsetType type) const {
  State().Handle();
  return Recordset(detail::OpenRows(state_, source, type));
}

long Database::Execute(std::string_view sql) const {
  sqlite3* db = State().Handle();
  const jet::Statement st = jet::Translate(sql);
  if (st.isSelect) Raise(err::kExecuteSelect);
  if (State().readOnly) Raise(err::kReadOnly);
  return sqlite::Run(db, st.sql, sql);
}

std::vector<std::string> Database::TableNames() const {
  sqlite::Statement st(State().Handle(),
                       "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                       "'sqlite!_%' ESCAPE '!' ORDER BY name");
  std::vector<std::string> names;
  while (st.Step()) names.push_back(st.Text(0).value_or(""));
  return names;
}

void Database::BeginTrans() const {
  sqlite::Run(State().Handle(), State().transactions == 0 ? "BEGIN" : "SAVEPOINT dao_nested");
  ++State().transactions;
}

void Database::CommitTrans() const {
  detail::DatabaseState& s = State();
  if (s.transactions == 0) Raise(err::kNoTransaction);
  sqlite::Run(s.Handle(), s.transactions == 1 ? "COMMIT" : "RELEASE dao_nested");
  --s.transactions;
}

void Database::Rollback() const {
  detail::DatabaseState& s = State();
  if (s.transactions == 0) Raise(err::kNoTransaction);
  if (s.transactions == 1)
    sqlite::Run(s.Handle(), "ROLLBACK");
  else {
    sqlite::Run(s.Handle(), "ROLLBACK TO dao_nested");
    sqlite::Run(s.Handle(), "RELEASE dao_nested");
  }
  --s.transactions;
}

void Database::Close() {
  if (!state_) return;
  state_->db.reset();
  state_->lock.Release();
  state_->transactions = 0;
}

}  // namespace dao
