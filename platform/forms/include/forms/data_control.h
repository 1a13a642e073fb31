#pragma once

#include <string>
#include <utility>

#include "dao/dao.h"
#include "forms/control.h"

namespace forms {

// The data control: a recordset opened from a database name, a connect
// string and a record source, and the labels of its form that are bound to
// it through their DataField.
class DataControl : public Control {
 public:
  explicit DataControl(const ControlSite& site);
  ~DataControl() override;
  QWidget* Widget() const override { return nullptr; }

  const std::string& DatabaseName() const { return databaseName_; }
  void DatabaseName(std::string_view name);
  const std::string& Connect() const { return connect_; }
  void Connect(std::string_view connect);
  const std::string& RecordSource() const { return recordSource_; }
  void RecordSource(std::string_view source);
  bool ReadOnly() const { return readOnly_; }
  void ReadOnly(bool on) { readOnly_ = on; }
  bool Exclusive() const { return exclusive_; }
  void Exclusive(bool on) { exclusive_ = on; }

  // The open recordset; an empty handle before the control has opened one.
  dao::Recordset& Recordset() { return recordset_; }
  // Opens (again) from the current properties and stands on the first record.
  // Failures are the engine's errors.
  void Refresh();
  // A database being opened already, on another thread, for this control:
  // its next opening takes it when it is for the same file, mode and
  // connect string, and opens the file itself otherwise (failures included).
  void OpenAhead(dao::DatabaseOpening opening) { ahead_ = std::move(opening); }

  // Raised when opening fails while nobody asked (at the end of the form's
  // load, or when a binding is made): DataErr is the engine's number.
  Event<int&, int&> Error;

  void SetProperty(std::string_view name, const Value& v) override;
  void AfterLoad() override;

 private:
  void OpenQuietly();
  void ShowCurrent();
  std::string databaseName_;
  std::string connect_;
  std::string recordSource_;
  bool readOnly_ = false;
  bool exclusive_ = false;
  bool formLoaded_ = false;
  dao::DatabaseOpening ahead_;
  dao::Database database_;
  dao::Recordset recordset_;
  dao::Subscription moves_;
};

}  // namespace forms
