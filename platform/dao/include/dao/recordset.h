#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dao {

namespace detail {
struct RecordsetState;
}

// How a recordset holds its rows. A table opened by name is a table-type
// recordset: its RecordCount is the full count at once. A query gives a
// dynaset: the rows that matched when it opened, in the query's order, with
// rows added through it at its end; its RecordCount is the number of rows
// reached so far. A snapshot is a dynaset that cannot be changed.
enum class RecordsetType { kDefault, kTable, kDynaset, kSnapshot };

// What change a recordset has begun and not yet written.
enum class EditMode { kNone, kEdit, kAdd };

// A place in one recordset: valid for that recordset only, until it is
// requeried or closed.
class Bookmark {
 public:
  Bookmark() = default;
  bool operator==(const Bookmark&) const = default;

 private:
  friend class Recordset;
  Bookmark(std::uint64_t recordset, std::uint64_t entry) : recordset_(recordset), entry_(entry) {}
  std::uint64_t recordset_ = 0;  // 0: no recordset, never valid
  std::uint64_t entry_ = 0;
};

// One column of the current record (or of the change begun on it). Reading
// with no current record fails with err::kNoCurrentRecord; assigning needs
// AddNew or Edit first (err::kUpdateWithoutEdit).
class Field {
 public:
  const std::string& Name() const;
  // The value as text; a Null reads as the empty text.
  std::string Value() const;
  std::optional<std::string> ValueOrNull() const;
  bool IsNull() const;

  void SetValue(std::string_view value) const;
  void SetNull() const;
  const Field& operator=(std::string_view value) const {
    SetValue(value);
    return *this;
  }

 private:
  friend class Recordset;
  Field(std::shared_ptr<detail::RecordsetState> state, std::size_t column)
      : state_(std::move(state)), column_(column) {}
  std::shared_ptr<detail::RecordsetState> state_;
  std::size_t column_;
};

// Ends a move listener's subscription when it goes.
class Subscription {
 public:
  Subscription() = default;
  Subscription(Subscription&& other) noexcept;
  Subscription& operator=(Subscription&& other) noexcept;
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription();
  void Cancel();

 private:
  friend class Recordset;
  Subscription(std::weak_ptr<detail::RecordsetState> state, std::uint64_t id)
      : state_(std::move(state)), id_(id) {}
  std::weak_ptr<detail::RecordsetState> state_;
  std::uint64_t id_ = 0;
};

// A recordset handle. Copies share one recordset, which keeps its database
// open for as long as it lives. A default-made handle refers to nothing, and
// so does one whose recordset or database was closed: every call on it fails
// with err::kObjectClosed. Every failure is thrown as dao::Error.
//
// A recordset reads its rows' values when it opens (Requery reads them
// again) and keeps what it writes itself; another connection's later changes
// show after Requery. A row that another connection deleted fails Edit's
// Update and Delete with err::kRecordDeleted.
//
// "EOF" is a macro of the C library, hence Eof() and Bof().
class Recordset {
 public:
  Recordset() = default;

  bool IsOpen() const;
  RecordsetType Type() const;
  bool Updatable() const;

  // True past the last record / before the first; both right after opening
  // a recordset without records. At either end there is no current record.
  bool Eof() const;
  bool Bof() const;

  // Every move drops a change that was begun and not written. MoveFirst and
  // MoveLast fail with err::kNoCurrentRecord on a recordset without records
  // (leaving Eof and Bof True); MoveNext at Eof and MovePrevious at Bof too.
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrevious();
  // `rows` places on from the current record, or from the record of
  // `start`. Moving past either end stands at Eof or Bof.
  void Move(long rows);
  void Move(long rows, const dao::Bookmark& start);

  // The number of records reached so far (a table: all of them); the total
  // after MoveLast or a pass to Eof. Each Delete takes one off.
  long RecordCount() const;
  // The zero-based place of the current record; -1 when there is none.
  long AbsolutePosition() const;

  dao::Bookmark Bookmark() const;
  void SetBookmark(const dao::Bookmark& bookmark);
  // The record most recently added or changed through this recordset.
  dao::Bookmark LastModified() const;

  // A column by name, without regard to case; err::kItemNotFound otherwise.
  Field Fields(std::string_view name) const;
  Field Fields(std::size_t index) const;
  std::size_t FieldCount() const;

  // AddNew and Edit begin a change (dropping one begun before); Update
  // writes it. When Update fails (err::kDuplicateKey for a value the unique
  // index holds already) the change stays begun, and a later Update may
  // write it. A row added through a dynaset goes to its end; the current
  // record stays the one before AddNew.
  void AddNew();
  void Edit();
  void Update();
  void CancelUpdate();
  EditMode GetEditMode() const;
  // Removes the current record; until the next move there is none.
  void Delete();

  // Runs the query again and stands on its first record.
  void Requery();
  void Close();

  // `listener` runs after every move and every change of the current
  // record's values (a data control refreshes its bound labels then), until
  // the returned subscription ends.
  [[nodiscard]] Subscription OnCurrentChanged(std::function<void()> listener);

 private:
  friend class Database;
  explicit Recordset(std::shared_ptr<detail::RecordsetState> state) : state_(std::move(state)) {}
  detail::RecordsetState& State() const;
  std::shared_ptr<detail::RecordsetState> state_;
};

}  // namespace dao
