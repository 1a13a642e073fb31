#include "dao/recordset.h"

#include <atomic>
#include <utility>

#include "base/ascii_case.h"
#include "dao/error.h"
#include "jet_sql.h"
#include "state.h"

namespace dao {

// ---------------------------------------------------------------------------
// Moving about.

namespace {

using detail::RecordsetState;
using Where = RecordsetState::Where;

std::uint64_t NextSerial() {
  static std::atomic<std::uint64_t> serial{0};
  return ++serial;
}

// The real name of a table or view, found without regard to case.
std::optional<std::pair<std::string, bool>> FindTable(sqlite3* db, const std::string& name) {
  sqlite::Statement st(db,
                       "SELECT name, type = 'table' FROM sqlite_master WHERE type IN ('table', "
                       "'view') AND name = ? COLLATE NOCASE");
  st.Bind(1, std::optional<std::string>(name));
  if (!st.Step()) return std::nullopt;
  return std::make_pair(st.Text(0).value_or(name), st.Int64(1) != 0);
}

void Notify(RecordsetState& rs) {
  // A listener may subscribe or cancel while it runs: call a copy.
  const auto listeners = rs.listeners;
  for (const auto& [id, listener] : listeners) listener();
}

// Counts the entries up to `index` as reached.
void Reach(RecordsetState& rs, std::size_t index) {
  while (rs.reached <= index && rs.reached < rs.entries.size()) {
    detail::Entry& e = rs.entries[rs.reached++];
    if (!e.counted) {
      e.counted = true;
      if (!e.deleted) ++rs.counted;
    }
  }
}

void ReachAll(RecordsetState& rs) {
  if (!rs.entries.empty()) Reach(rs, rs.entries.size() - 1);
}

std::size_t LivePosition(const RecordsetState& rs, std::size_t index) {
  if (rs.deletedCount == 0) return index;
  std::size_t pos = 0;
  for (std::size_t i = 0; i < index; ++i)
    if (!rs.entries[i].deleted) ++pos;
  return pos;
}

std::size_t NthLive(const RecordsetState& rs, std::size_t n) {
  if (rs.deletedCount == 0) return n;
  for (std::size_t i = 0; i < rs.entries.size(); ++i)
    if (!rs.entries[i].deleted && n-- == 0) return i;
  return rs.entries.size();
}

bool OnLiveRecord(const RecordsetState& rs) {
  return rs.where == Where::kAt && !rs.entries[rs.current].deleted;
}

void StandAt(RecordsetState& rs, std::size_t index) {
  rs.where = Where::kAt;
  rs.current = index;
  if (rs.type != RecordsetType::kTable) Reach(rs, index);
}

// Reads the rows of the recordset's query afresh; stands on the first.
void Load(RecordsetState& rs) {
  sqlite3* db = rs.database->Handle();
  sqlite::Statement st(db, rs.selectSql, rs.source);
  const int first = rs.table.empty() ? 0 : 1;  // the rowid column
  const int count = st.ColumnCount();
  rs.columns.clear();
  for (int i = first; i < count; ++i) {
    detail::Column column{st.ColumnName(i), {}};
    if (!rs.table.empty())
      if (auto origin = st.ColumnOrigin(i);
          origin && base::EqualsIgnoreAsciiCase(origin->first, rs.table))
        column.origin = origin->second;
    rs.columns.push_back(std::move(column));
  }
  rs.entries.clear();
  while (st.Step()) {
    detail::Entry e;
    e.rowid = first ? st.Int64(0) : 0;
    e.values.reserve(count - first);
    for (int i = first; i < count; ++i) e.values.push_back(st.Text(i));
    rs.entries.push_back(std::move(e));
  }
  rs.serial = NextSerial();
  rs.live = rs.entries.size();
  rs.deletedCount = 0;
  rs.reached = 0;
  rs.counted = 0;
  rs.lastModified.reset();
  rs.pending.reset();
  rs.where = Where::kBefore;
  if (rs.entries.empty()) return;
  if (rs.type == RecordsetType::kTable) ReachAll(rs);
  StandAt(rs, 0);
}

// The current record, or the engine's error for its absence.
detail::Entry& CurrentEntry(RecordsetState& rs) {
  if (rs.where != Where::kAt) Raise(err::kNoCurrentRecord);
  detail::Entry& e = rs.entries[rs.current];
  if (e.deleted) Raise(err::kRecordDeleted);
  return e;
}

void MarkDeleted(RecordsetState& rs, std::size_t index) {
  detail::Entry& e = rs.entries[index];
  e.deleted = true;
  --rs.live;
  ++rs.deletedCount;
  if (e.counted) --rs.counted;
  if (rs.lastModified == index) rs.lastModified.reset();
  rs.pending.reset();
  Notify(rs);
}

void RequireUpdatable(const RecordsetState& rs) {
  if (rs.table.empty() || rs.type == RecordsetType::kSnapshot || rs.database->readOnly)
    Raise(err::kReadOnly);
}

// Reads one row's values again, as the table now holds them.
std::optional<std::vector<std::optional<std::string>>> Refetch(RecordsetState& rs,
                                                               std::int64_t rowid) {
  sqlite::Statement st(rs.database->Handle(), rs.refetchSql);
  st.Bind(1, rowid);
  if (!st.Step()) return std::nullopt;
  std::vector<std::optional<std::string>> values;
  for (int i = 0; i < st.ColumnCount(); ++i) values.push_back(st.Text(i));
  return values;
}

}  // namespace

detail::RecordsetState& Recordset::State() const {
  if (!state_ || state_->closed || !state_->database->db) Raise(err::kObjectClosed);
  return *state_;
}

bool Recordset::IsOpen() const {
  return state_ && !state_->closed && state_->database->db;
}

RecordsetType Recordset::Type() const {
  return State().type;
}

bool Recordset::Updatable() const {
  const RecordsetState& rs = State();
  return !rs.table.empty() && rs.type != RecordsetType::kSnapshot && !rs.database->readOnly;
}

bool Recordset::Eof() const {
  const RecordsetState& rs = State();
  return rs.where == Where::kAfter || (rs.live == 0 && rs.where != Where::kAt);
}

bool Recordset::Bof() const {
  const RecordsetState& rs = State();
  return rs.where == Where::kBefore || (rs.live == 0 && rs.where != Where::kAt);
}

void Recordset::MoveFirst() {
  RecordsetState& rs = State();
  rs.pending.reset();
  if (rs.live == 0) {
    rs.where = Where::kBefore;
    Notify(rs);
    Raise(err::kNoCurrentRecord);
  }
  StandAt(rs, NthLive(rs, 0));
  Notify(rs);
}

void Recordset::MoveLast() {
  RecordsetState& rs = State();
  rs.pending.reset();
  if (rs.live == 0) {
    rs.where = Where::kAfter;
    Notify(rs);
    Raise(err::kNoCurrentRecord);
  }
  ReachAll(rs);
  StandAt(rs, NthLive(rs, rs.live - 1));
  Notify(rs);
}

void Recordset::MoveNext() {
  RecordsetState& rs = State();
  if (Eof()) Raise(err::kNoCurrentRecord);
  rs.pending.reset();
  std::size_t i = rs.where == Where::kBefore ? 0 : rs.current + 1;
  while (i < rs.entries.size() && rs.entries[i].deleted) ++i;
  if (i < rs.entries.size()) {
    StandAt(rs, i);
  } else {
    rs.where = Where::kAfter;
    ReachAll(rs);
  }
  Notify(rs);
}

void Recordset::MovePrevious() {
  RecordsetState& rs = State();
  if (Bof()) Raise(err::kNoCurrentRecord);
  rs.pending.reset();
  std::size_t i = rs.where == Where::kAfter ? rs.entries.size() : rs.current;
  while (i > 0 && rs.entries[i - 1].deleted) --i;
  if (i > 0)
    StandAt(rs, i - 1);
  else
    rs.where = Where::kBefore;
  Notify(rs);
}

namespace {

void MoveFrom(RecordsetState& rs, std::size_t index, long rows) {
  rs.pending.reset();
  const long target = static_cast<long>(LivePosition(rs, index)) + rows;
  if (target < 0) {
    rs.where = Where::kBefore;
  } else if (target >= static_cast<long>(rs.live)) {
    rs.where = Where::kAfter;
    ReachAll(rs);
  } else {
    StandAt(rs, NthLive(rs, static_cast<std::size_t>(target)));
  }
  Notify(rs);
}

std::size_t EntryOf(const RecordsetState& rs, std::uint64_t recordset, std::uint64_t entry) {
  if (recordset != rs.serial || entry >= rs.entries.size()) Raise(err::kInvalidBookmark);
  if (rs.entries[entry].deleted) Raise(err::kRecordDeleted);
  return static_cast<std::size_t>(entry);
}

}  // namespace

void Recordset::Move(long rows) {
  RecordsetState& rs = State();
  CurrentEntry(rs);
  MoveFrom(rs, rs.current, rows);
}

void Recordset::Move(long rows, const dao::Bookmark& start) {
  RecordsetState& rs = State();
  MoveFrom(rs, EntryOf(rs, start.recordset_, start.entry_), rows);
}

long Recordset::RecordCount() const {
  const RecordsetState& rs = State();
  return static_cast<long>(rs.type == RecordsetType::kTable ? rs.live : rs.counted);
}

long Recordset::AbsolutePosition() const {
  const RecordsetState& rs = State();
  if (!OnLiveRecord(rs)) return -1;
  return static_cast<long>(LivePosition(rs, rs.current));
}

dao::Bookmark Recordset::Bookmark() const {
  RecordsetState& rs = State();
  CurrentEntry(rs);
  return dao::Bookmark(rs.serial, rs.current);
}

void Recordset::SetBookmark(const dao::Bookmark& bookmark) {
  RecordsetState& rs = State();
  const std::size_t index = EntryOf(rs, bookmark.recordset_, bookmark.entry_);
  rs.pending.reset();
  StandAt(rs, index);
  Notify(rs);
}

dao::Bookmark Recordset::LastModified() const {
  const RecordsetState& rs = State();
  if (!rs.lastModified || rs.entries[*rs.lastModified].deleted) Raise(err::kNoCurrentRecord);
  return dao::Bookmark(rs.serial, *rs.lastModified);
}

// ---------------------------------------------------------------------------
// Fields.

Field Recordset::Fields(std::string_view name) const {
  const RecordsetState& rs = State();
  for (std::size_t i = 0; i < rs.columns.size(); ++i)
    if (base::EqualsIgnoreAsciiCase(rs.columns[i].name, name)) return Field(state_, i);
  Raise(err::kItemNotFound);
}

Field Recordset::Fields(std::size_t index) const {
  if (index >= State().columns.size()) Raise(err::kItemNotFound);
  return Field(state_, index);
}

std::size_t Recordset::FieldCount() const {
  return State().columns.size();
}

namespace {

RecordsetState& FieldState(const std::shared_ptr<RecordsetState>& state) {
  if (!state || state->closed || !state->database->db) Raise(err::kObjectClosed);
  return *state;
}

}  // namespace

const std::string& Field::Name() const {
  return FieldState(state_).columns[column_].name;
}

std::optional<std::string> Field::ValueOrNull() const {
  RecordsetState& rs = FieldState(state_);
  if (rs.pending) return rs.pending->values[column_];
  return CurrentEntry(rs).values[column_];
}

std::string Field::Value() const {
  return ValueOrNull().value_or(std::string());
}

bool Field::IsNull() const {
  return !ValueOrNull().has_value();
}

void Field::SetValue(std::string_view value) const {
  RecordsetState& rs = FieldState(state_);
  if (!rs.pending) Raise(err::kUpdateWithoutEdit);
  if (rs.columns[column_].origin.empty()) Raise(err::kFieldNotUpdatable);
  rs.pending->values[column_] = std::string(value);
  rs.pending->changed[column_] = true;
}

void Field::SetNull() const {
  RecordsetState& rs = FieldState(state_);
  if (!rs.pending) Raise(err::kUpdateWithoutEdit);
  if (rs.columns[column_].origin.empty()) Raise(err::kFieldNotUpdatable);
  rs.pending->values[column_].reset();
  rs.pending->changed[column_] = true;
}

// ---------------------------------------------------------------------------
// Changes.

void Recordset::AddNew() {
  RecordsetState& rs = State();
  RequireUpdatable(rs);
  RecordsetState::Pending p;
  p.adding = true;
  p.values.assign(rs.columns.size(), std::nullopt);
  p.changed.assign(rs.columns.size(), false);
  rs.pending = std::move(p);
}

void Recordset::Edit() {
  RecordsetState& rs = State();
  RequireUpdatable(rs);
  const detail::Entry& e = CurrentEntry(rs);
  RecordsetState::Pending p;
  p.values = e.values;
  p.changed.assign(rs.columns.size(), false);
  rs.pending = std::move(p);
}

EditMode Recordset::GetEditMode() const {
  const RecordsetState& rs = State();
  if (!rs.pending) return EditMode::kNone;
  return rs.pending->adding ? EditMode::kAdd : EditMode::kEdit;
}

void Recordset::CancelUpdate() {
  RecordsetState& rs = State();
  if (!rs.pending) Raise(err::kUpdateWithoutEdit);
  rs.pending.reset();
}

void Recordset::Update() {
  RecordsetState& rs = State();
  if (!rs.pending) Raise(err::kUpdateWithoutEdit);
  RequireUpdatable(rs);
  sqlite3* db = rs.database->Handle();
  const RecordsetState::Pending& p = *rs.pending;
  const std::string table = jet::QuoteName(rs.table);

  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < p.changed.size(); ++i)
    if (p.changed[i]) changed.push_back(i);

  if (p.adding) {
    std::string sql = "INSERT INTO " + table;
    if (changed.empty()) {
      sql += " DEFAULT VALUES";
    } else {
      std::string names, marks;
      for (std::size_t i : changed) {
        names += (names.empty() ? "" : ", ") + jet::QuoteName(rs.columns[i].origin);
        marks += marks.empty() ? "?" : ", ?";
      }
      sql += " (" + names + ") VALUES (" + marks + ")";
    }
    sqlite::Statement st(db, sql);
    int n = 0;
    for (std::size_t i : changed) st.Bind(++n, p.values[i]);
    st.Step();  // a failure leaves the change begun
    detail::Entry e;
    e.rowid = sqlite::Api().sqlite3_last_insert_rowid(db);
    e.values = Refetch(rs, e.rowid).value_or(p.values);
    e.counted = true;
    rs.entries.push_back(std::move(e));
    ++rs.live;
    ++rs.counted;
    rs.lastModified = rs.entries.size() - 1;
    rs.pending.reset();
    return;
  }

  detail::Entry& e = CurrentEntry(rs);
  if (!changed.empty()) {
    std::string sets;
    for (std::size_t i : changed)
      sets += (sets.empty() ? "" : ", ") + jet::QuoteName(rs.columns[i].origin) + " = ?";
    sqlite::Statement st(db, "UPDATE " + table + " SET " + sets + " WHERE rowid = ?");
    int n = 0;
    for (std::size_t i : changed) st.Bind(++n, p.values[i]);
    st.Bind(++n, e.rowid);
    st.Step();
    if (sqlite::Api().sqlite3_changes(db) == 0) {  // another connection deleted the row
      MarkDeleted(rs, rs.current);
      Raise(err::kRecordDeleted);
    }
    e.values = Refetch(rs, e.rowid).value_or(p.values);
  }
  rs.lastModified = rs.current;
  rs.pending.reset();
  Notify(rs);
}

void Recordset::Delete() {
  RecordsetState& rs = State();
  RequireUpdatable(rs);
  detail::Entry& e = CurrentEntry(rs);
  rs.pending.reset();
  sqlite::Statement st(rs.database->Handle(),
                       "DELETE FROM " + jet::QuoteName(rs.table) + " WHERE rowid = ?");
  st.Bind(1, e.rowid);
  st.Step();
  const bool gone = sqlite::Api().sqlite3_changes(rs.database->Handle()) == 0;
  MarkDeleted(rs, rs.current);
  if (gone) Raise(err::kRecordDeleted);  // another connection was first
}

void Recordset::Requery() {
  RecordsetState& rs = State();
  Load(rs);
  Notify(rs);
}

void Recordset::Close() {
  if (!state_) return;
  state_->closed = true;
  state_->entries.clear();
  state_->pending.reset();
}

// ---------------------------------------------------------------------------
// Listeners.

Subscription Recordset::OnCurrentChanged(std::function<void()> listener) {
  RecordsetState& rs = State();
  const std::uint64_t id = rs.nextListener++;
  rs.listeners.emplace_back(id, std::move(listener));
  return Subscription(state_, id);
}

Subscription::Subscription(Subscription&& other) noexcept
    : state_(std::move(other.state_)), id_(std::exchange(other.id_, 0)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    Cancel();
    state_ = std::move(other.state_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Subscription::~Subscription() {
  Cancel();
}

void Subscription::Cancel() {
  if (auto state = state_.lock()) {
    auto& list = state->listeners;
    std::erase_if(list, [&](const auto& item) { return item.first == id_; });
  }
  state_.reset();
  id_ = 0;
}

// ---------------------------------------------------------------------------
// Opening.

namespace detail {

std::shared_ptr<RecordsetState> OpenRows(const std::shared_ptr<DatabaseState>& database,
                                         std::string_view source, RecordsetType type) {
  sqlite3* db = database->Handle();
  auto rs = std::make_shared<RecordsetState>();
  rs->database = database;
  rs->source = std::string(source);

  if (auto name = jet::BareName(source); name && type != RecordsetType::kSnapshot) {
    const auto found = FindTable(db, *name);
    if (!found) Raise(err::kNoSuchTable, *name);
    const std::string quoted = jet::QuoteName(found->first);
    if (found->second && type != RecordsetType::kDynaset) {
      rs->type = RecordsetType::kTable;
      rs->table = found->first;
      rs->selectSql = "SELECT rowid, * FROM " + quoted + " ORDER BY rowid";
      rs->refetchSql = "SELECT * FROM " + quoted + " WHERE rowid = ?";
    } else {
      source = rs->source = "SELECT * FROM " + quoted;
    }
  } else if (type == RecordsetType::kTable) {
    Raise(err::kInvalidOperation);
  }

  if (rs->selectSql.empty()) {
    const jet::Statement st = jet::Translate(source);
    if (!st.isSelect) Raise(err::kInvalidOperation);
    rs->type =
        type == RecordsetType::kSnapshot ? RecordsetType::kSnapshot : RecordsetType::kDynaset;
    rs->selectSql = st.sql;
    if (st.source && rs->type == RecordsetType::kDynaset) {
      // A view or a table without rowids cannot give them: read it as it is.
      try {
        sqlite::Statement probe(db, st.source->rowidSql, source);
        rs->table = st.source->table;
        rs->selectSql = st.source->rowidSql;
        rs->refetchSql = st.source->refetchSql;
      } catch (const Error&) {
      }
    }
    if (rs->table.empty()) rs->type = RecordsetType::kSnapshot;
  }
  Load(*rs);
  return rs;
}

}  // namespace detail

}  // namespace dao
